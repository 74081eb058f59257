#pragma once

#include "duplicatescanviewmodel.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace twinsift::testing {

// Runs the real engine but can hold a scan inside the progress report that a
// test picks, so the test sees the controller while that scan is running.
// A held scan waits for release() alone, even when asked to stop, so a test
// decides when the engine gets to its next cancellation check.
class ScanGate {
public:
    using Match = std::function<bool(const DuplicateScanProgress &)>;

    ScanGate();
    ~ScanGate();

    // Holds scans of folder at the first report that match accepts. A scan
    // held already moves on to the next such report.
    void holdAt(const std::string &folder, Match match);
    // Lets scans of folder run to their end with no stop token, as an engine
    // that is slow to notice a stop would.
    void ignoreStopFor(const std::string &folder);

    DuplicateScanViewModel::ScanFunction engine() const;

    bool isHeld() const;
    // Whether the held scan had been asked to stop when it was let go.
    bool stopWasRequested() const;
    // Lets every scan run on without further holds.
    void release();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

} // namespace twinsift::testing
