#pragma once

#include "duplicatescanner.h"

#include <string>
#include <vector>

namespace twinsift::testing {

// Runs a scan and keeps every progress report it sent.
struct ScanRecorder {
    std::vector<DuplicateScanProgress> reports;
    ScanOutcome outcome;

    ScanOutcome &run(const std::string &folder, std::uint64_t minimum = 1024,
                     std::stop_token stop = {}) {
        reports.clear();
        outcome = DuplicateScanner::scan(
            folder, minimum, [this](const DuplicateScanProgress &p) { reports.push_back(p); },
            stop);
        return outcome;
    }

    const DuplicateScanResult &result() const { return std::get<DuplicateScanResult>(outcome); }
    bool succeeded() const { return std::holds_alternative<DuplicateScanResult>(outcome); }
};

} // namespace twinsift::testing
