#pragma once

#include "duplicatescanviewmodel.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace twinsift::testing {

// Runs the real engine but holds a scan of one folder inside the first
// report that a test's match accepts, until the test moves the hold on or
// releases it. The hold ignores stop requests, so the test decides when the
// engine reaches its next cancellation check.
class ScanGate {
public:
    using Match = std::function<bool(const DuplicateScanProgress &)>;

    ~ScanGate() { release(); }

    void holdAt(const std::string &folder, Match match) {
        std::lock_guard lock(m_state->mutex);
        m_state->holdFolder = folder;
        m_state->match = std::move(match);
        m_state->held = false;
        ++m_state->wakeups;
        m_state->changed.notify_all();
    }
    void release() { holdAt({}, nullptr); }
    // Scans of folder run to their end with no stop token, like an engine
    // that is slow to notice a stop.
    void ignoreStopFor(const std::string &folder) {
        std::lock_guard lock(m_state->mutex);
        m_state->ignoringStop = folder;
    }
    bool isHeld() const {
        std::lock_guard lock(m_state->mutex);
        return m_state->held;
    }
    // Whether the held scan had been asked to stop when it moved on.
    bool stopWasRequested() const {
        std::lock_guard lock(m_state->mutex);
        return m_state->stopSeen;
    }

    DuplicateScanViewModel::ScanFunction engine() const {
        return [state = m_state](const std::string &folder, std::uint64_t minimum,
                                 const DuplicateScanner::ProgressCallback &progress,
                                 std::stop_token stop) {
            const auto gated = [&](const DuplicateScanProgress &report) {
                progress(report);
                std::unique_lock lock(state->mutex);
                if (folder != state->holdFolder || !state->match || !state->match(report))
                    return;
                state->held = true;
                const auto wakeup = state->wakeups;
                state->changed.wait(lock, [&] { return state->wakeups != wakeup; });
                state->stopSeen = stop.stop_requested();
            };
            std::unique_lock lock(state->mutex);
            const bool ignoreStop = folder == state->ignoringStop;
            lock.unlock();
            return DuplicateScanner::scan(folder, minimum, gated,
                                          ignoreStop ? std::stop_token() : stop);
        };
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        std::string holdFolder, ignoringStop;
        Match match;
        bool held = false, stopSeen = false;
        std::uint64_t wakeups = 0; // bumped whenever the holder is to move on
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
};

} // namespace twinsift::testing
