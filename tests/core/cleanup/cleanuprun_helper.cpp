// A cleanup run in a process of its own, for tests of runs that overlap
// across processes. It scans a folder, marks the given files and runs the
// cleanup, meeting a partner process twice on the way: once both have
// scanned, and right before its first move, where it waits a short while
// for the partner to get there too. It prints what happened, one line each:
//   moved <TAB> path | failed <TAB> path <TAB> message | stop <TAB> message
#include "cleanuprun.h"
#include "duplicatescanner.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <set>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>

using namespace twinsift;

namespace {

void arrive(const std::string &sync, const std::string &name) {
    const int fd = ::open((sync + "/" + name).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0)
        ::close(fd);
}

bool awaitPartner(const std::string &sync, const std::string &name,
                  std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (::access((sync + "/" + name).c_str(), F_OK) != 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s root sync self partner marked...\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1], sync = argv[2], self = argv[3], partner = argv[4];
    const std::set<std::string> marked(argv + 5, argv + argc);

    const auto outcome = DuplicateScanner::scan(root, 1, [](const DuplicateScanProgress &) {});
    const auto *result = std::get_if<DuplicateScanResult>(&outcome);
    if (!result) {
        std::fprintf(stderr, "scan failed\n");
        return 1;
    }
    std::vector<DuplicateFile> selected;
    for (const auto &f : result->scannedFiles)
        if (marked.contains(f.url))
            selected.push_back(f);

    arrive(sync, self + ".scanned");
    if (!awaitPartner(sync, partner + ".scanned", std::chrono::seconds(20))) {
        std::fprintf(stderr, "partner never scanned\n");
        return 1;
    }
    bool first = true;
    const auto beforeMove = [&](const std::string &) {
        if (std::exchange(first, false)) {
            arrive(sync, self + ".moving");
            awaitPartner(sync, partner + ".moving", std::chrono::milliseconds(500));
        }
        return false;
    };
    const auto ran = CleanupRun::run(*result, selected, beforeMove);
    if (const auto *stop = std::get_if<CleanupStop>(&ran)) {
        std::printf("stop\t%d\n", static_cast<int>(stop->reason));
        return 0;
    }
    const auto &report = std::get<CleanupReport>(ran);
    for (const auto &path : report.movedPaths)
        std::printf("moved\t%s\n", path.c_str());
    for (const auto &failure : report.failures)
        std::printf("failed\t%s\t%d\n", failure.path.c_str(), static_cast<int>(failure.reason));
    return 0;
}
