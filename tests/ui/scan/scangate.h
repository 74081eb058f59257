#pragma once

#include "duplicatescanviewmodel.h"

#include <memory>

namespace twinsift::testing {

// Runs the real engine but holds a scan of one folder inside the first
// report that a test's match accepts, until the test moves the hold on or
// releases it. The hold ignores stop requests, so the test decides when the
// engine reaches its next cancellation check.
class ScanGate {
public:
    using Match = std::function<bool(const DuplicateScanProgress &)>;

    ScanGate();
    ~ScanGate() { release(); }

    void holdAt(const std::string &folder, Match match);
    // Scans of folder run to their end with no stop token, like an engine
    // that is slow to notice a stop.
    void ignoreStopFor(const std::string &folder);
    void release();

    DuplicateScanViewModel::ScanFunction engine() const;
    bool isHeld() const;
    // Whether the held scan had been asked to stop when it moved on.
    bool stopWasRequested() const;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace twinsift::testing
