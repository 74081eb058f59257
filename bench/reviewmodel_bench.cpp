// twinsift-reviewbench [SETS]
//
// The bulk marks of the "Mark" menu as the results screen runs them: through
// DuplicateReviewModel, with the rows, the review sheet's list and the undo
// history updated, over SETS exact sets (20000 by default). Protection is
// answered from memory, and "Keep Oldest" is timed once its times are known
// (a first run reads them), so the figures are the main thread's own work.
// Prints one JSON object per step.
#include "duplicatereviewmodel.h"
#include "photolibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

using namespace twinsift;

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const int sets = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (sets <= 0) {
        std::fputs("usage: twinsift-reviewbench [SETS]\n", stderr);
        return 64;
    }
    bench::PhotoLibrary library = bench::photoLibrary(sets);
    const auto protectedPaths = std::move(library.protectedPaths);

    DuplicateReviewModel model;
    model.setProtectionTest(
        [&protectedPaths](const std::string &path) { return protectedPaths.contains(path); });
    QSignalSpy known(&model, &DuplicateReviewModel::protectionKnown);
    QElapsedTimer clock;
    clock.start();
    model.setResult(ScanResultValue(std::move(library.result)));
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
    // The first rule that needs times waits for a worker to read them.
    QSignalSpy applied(model.marks(), &MarkRuleRunner::ruleApplied);
    model.marks()->apply(MarkRuleRunner::KeepOldest);
    if (!applied.wait(120000))
        return 1;
    model.clearSelection();
    step("Keep Oldest in Each Set", [&] { model.marks()->apply(MarkRuleRunner::KeepOldest); });
    step("Keep Shortest Path in Each Set",
         [&] { model.marks()->apply(MarkRuleRunner::KeepShortestPath); });
    step("Invert Marks in Each Set", [&] { model.marks()->apply(MarkRuleRunner::InvertMarks); });
    step("Keep First in Each Set", [&] { model.marks()->apply(MarkRuleRunner::KeepFirst); });
    step("click", [&] { model.toggleRow(0); });
    step("undo", [&] { model.marks()->undo(); });
    step("Clear Selection", [&] { model.clearSelection(); });
    return 0;
}
