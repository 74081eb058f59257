#include "scangate.h"

#include <set>

namespace twinsift::testing {

struct ScanGate::State {
    std::mutex mutex;
    std::condition_variable changed;
    std::string holdFolder;
    Match match;
    std::set<std::string> ignoringStop;
    bool held = false;
    // Bumped whenever the holder is to move on.
    std::uint64_t wakeups = 0;
    bool stopSeen = false;

    void wakeHolder() {
        held = false;
        ++wakeups;
        changed.notify_all();
    }
};

ScanGate::ScanGate() : m_state(std::make_shared<State>()) {}

ScanGate::~ScanGate() {
    release();
}

void ScanGate::holdAt(const std::string &folder, Match match) {
    std::lock_guard lock(m_state->mutex);
    m_state->holdFolder = folder;
    m_state->match = std::move(match);
    m_state->wakeHolder();
}

void ScanGate::ignoreStopFor(const std::string &folder) {
    std::lock_guard lock(m_state->mutex);
    m_state->ignoringStop.insert(folder);
}

DuplicateScanViewModel::ScanFunction ScanGate::engine() const {
    return [state = m_state](const std::string &folder, std::uint64_t minimum,
                             const DuplicateScanner::ProgressCallback &progress,
                             std::stop_token stop) {
        bool ignoreStop;
        {
            std::lock_guard lock(state->mutex);
            ignoreStop = state->ignoringStop.count(folder) != 0;
        }
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

void ScanGate::release() {
    std::lock_guard lock(m_state->mutex);
    m_state->match = nullptr;
    m_state->wakeHolder();
}

} // namespace twinsift::testing
