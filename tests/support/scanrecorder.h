#pragma once

#include "duplicatescanner.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace twinsift::testing {

// Runs a scan and keeps every progress report it sent.
struct ScanRecorder {
    std::vector<DuplicateScanProgress> reports;
    ScanOutcome outcome;
    // Hears each report once it is kept, on the scanning thread.
    std::function<void(const DuplicateScanProgress &)> onReport;

    // With the process's memory of digests.
    ScanOutcome &run(const std::string &folder, std::uint64_t minimum = 1024,
                     std::stop_token stop = {}) {
        outcome = DuplicateScanner::scan(folder, minimum, keeper(), stop);
        return outcome;
    }

    // With a memory of the test's own, or none when it is null.
    ScanOutcome &runRemembering(const std::string &folder, DigestMemory *memory,
                                const HashingOptions &options = {}, std::uint64_t minimum = 1024,
                                std::stop_token stop = {}) {
        outcome =
            DuplicateScanner::scanRemembering(folder, minimum, keeper(), stop, memory, options);
        return outcome;
    }

    const DuplicateScanResult &result() const { return std::get<DuplicateScanResult>(outcome); }
    bool succeeded() const { return std::holds_alternative<DuplicateScanResult>(outcome); }

private:
    DuplicateScanner::ProgressCallback keeper() {
        reports.clear();
        return [this](const DuplicateScanProgress &p) {
            reports.push_back(p);
            if (onReport)
                onReport(p);
        };
    }
};

// The paths of files below root, as the test wrote them.
template <typename Files>
std::vector<std::string> namesBelow(const Files &files, const std::string &root) {
    std::vector<std::string> out;
    for (const auto &f : files)
        out.push_back(f.url.substr(root.size() + 1));
    return out;
}

// The scanned files at paths, in the scan's order, as a selection hands
// marked files over.
inline std::vector<DuplicateFile> filesAt(const DuplicateScanResult &r,
                                          const std::set<std::string> &paths) {
    std::vector<DuplicateFile> out;
    for (const auto &f : r.scannedFiles)
        if (paths.contains(f.url))
            out.push_back(f);
    return out;
}

inline std::vector<std::vector<std::string>> groupNamesBelow(const DuplicateScanResult &r,
                                                             const std::string &root) {
    std::vector<std::vector<std::string>> out;
    for (const auto &g : r.groups)
        out.push_back(namesBelow(g.files, root));
    return out;
}

} // namespace twinsift::testing
