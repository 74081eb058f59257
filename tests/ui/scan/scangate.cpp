#include "scangate.h"

#include <condition_variable>
#include <mutex>

namespace twinsift::testing {

struct ScanGate::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::string holdFolder, ignoringStop;
    Match match;
    bool held = false, stopSeen = false;
    std::uint64_t wakeups = 0; // bumped whenever the holder is to move on

    void wakeHolder() {
        held = false;
        ++wakeups;
        changed.notify_all();
    }
};

ScanGate::ScanGate() : m_state(std::make_shared<State>()) {}

void ScanGate::holdAt(const std::string &folder, Match match) {
    std::lock_guard lock(m_state->mutex);
    m_state->holdFolder = folder;
    m_state->match = std::move(match);
    m_state->wakeHolder();
}

void ScanGate::ignoreStopFor(const std::string &folder) {
    std::lock_guard lock(m_state->mutex);
    m_state->ignoringStop = folder;
}

void ScanGate::release() {
    holdAt({}, nullptr);
}

DuplicateScanViewModel::ScanFunction ScanGate::engine() const {
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

bool ScanGate::isHeld() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->held;
}

bool ScanGate::stopWasRequested() const {
    std::lock_guard lock(m_state->mutex);
    return m_state->stopSeen;
}

} // namespace twinsift::testing
