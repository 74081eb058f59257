// twinsift-reviewbench [SETS]
//
// The bulk marks of the "Mark" menu as the results screen runs them: through
// DuplicateReviewModel, with the rows, the review sheet's list and the undo
// history updated, over SETS exact sets (20000 by default). Protection is
// answered from memory and no rule here reads times, so the figures are the
// main thread's own work. Prints one JSON object per step.
#include "duplicatereviewmodel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

using namespace twinsift;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int sets = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (sets <= 0) {
        std::fputs("usage: twinsift-reviewbench [SETS]\n", stderr);
        return 64;
    }
    std::mt19937 random(7);
    const char *folders[] = {"/home/user/Pictures/2019/Summer trip", "/home/user/Pictures/Imports",
                             "/media/user/Old drive/Backup/Pictures",
                             "/home/user/Documents/Scans/Receipts", "/home/user/Downloads"};
    DuplicateScanResult result;
    result.rootURL = "/home/user";
    for (int s = 0; s < sets; ++s) {
        DuplicateGroup group;
        group.hash = std::to_string(s);
        group.size = 1'000'000 + static_cast<std::uint64_t>(s);
        const int copies = 2 + static_cast<int>(random() % 4);
        for (int c = 0; c < copies; ++c)
            group.files.push_back({std::string(folders[random() % 5]) + "/IMG_" +
                                       std::to_string(s) +
                                       (c ? " copy " + std::to_string(c) : std::string()) + ".jpg",
                                   group.size});
        result.scannedFiles.insert(result.scannedFiles.end(), group.files.begin(),
                                   group.files.end());
        result.groups.push_back(std::move(group));
    }

    DuplicateReviewModel model;
    model.setProtectionTest([](const std::string &) { return false; });
    QSignalSpy known(&model, &DuplicateReviewModel::protectionKnown);
    QElapsedTimer clock;
    clock.start();
    model.setResult(ScanResultValue(std::move(result)));
    if (!known.wait(120000))
        return 1;
    std::printf("{\"step\": \"result shown\", \"ms\": %lld}\n",
                static_cast<long long>(clock.elapsed()));

    // The main thread's own CPU time, apart from the wall clock: on a busy
    // machine the two differ widely.
    const auto threadCpuMs = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
    };
    const auto step = [&](const char *name, auto action) {
        const double cpuBefore = threadCpuMs();
        clock.restart();
        action();
        const auto wall = static_cast<long long>(clock.elapsed());
        std::printf("{\"step\": \"%s\", \"ms\": %lld, \"cpuMs\": %.1f, \"selected\": %d}\n", name,
                    wall, threadCpuMs() - cpuBefore, model.selectedCount());
    };
    step("Keep Shortest Path in Each Set",
         [&] { model.marks()->apply(MarkRuleRunner::KeepShortestPath); });
    step("Invert Marks in Each Set", [&] { model.marks()->apply(MarkRuleRunner::InvertMarks); });
    step("Keep First in Each Set", [&] { model.marks()->apply(MarkRuleRunner::KeepFirst); });
    step("click", [&] { model.toggleRow(0); });
    step("undo", [&] { model.marks()->undo(); });
    step("Clear Selection", [&] { model.clearSelection(); });
    return 0;
}
