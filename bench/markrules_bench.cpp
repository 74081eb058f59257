// twinsift-markbench [SETS]
//
// Times each bulk mark of the "Mark" menu over SETS exact sets (20000 by
// default) of two to five copies, with the modification times already read
// and the protection answers in memory, as the review holds them once a rule
// runs. Prints one JSON object per rule with the median and the slowest of
// its runs in milliseconds.
#include "markrules.h"
#include "photolibrary.h"
#include "resultreview.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <time.h>
#include <vector>

using namespace twinsift;

namespace {

constexpr int runs = 7;

// The thread's own CPU time: on a shared machine, waiting for a core is
// not the rule's cost, so both figures are printed.
double cpuMilliseconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double millisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char **argv) {
    const int sets = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (sets <= 0) {
        std::fputs("usage: twinsift-markbench [SETS]\n", stderr);
        return 64;
    }
    bench::PhotoLibrary library = bench::photoLibrary(sets);
    const auto copies = static_cast<std::size_t>(library.result.duplicateFileCount());
    const auto &protectedPaths = library.protectedPaths;
    ResultReview review(std::move(library.result),
                        ResultReview::byPath([&protectedPaths](const std::string &path) {
                            return protectedPaths.contains(path);
                        }));
    // The screen has built the groups and the flat list before anyone can
    // open the menu.
    const auto firstStart = std::chrono::steady_clock::now();
    (void)review.exactGroups();
    (void)review.duplicateFiles();
    std::printf("{\"sets\": %d, \"copies\": %zu, \"groupsAndFlatListMs\": %.2f}\n", sets, copies,
                millisecondsSince(firstStart));

    for (auto rule : MarkRule::allCases()) {
        std::vector<double> ms, cpu;
        MarkRuleSummary summary;
        for (int run = 0; run < runs; ++run) {
            // Alternate between no marks and the marks of another rule, so
            // each run really changes thousands of marks.
            if (run % 2)
                review.applyMarkRule(MarkRule::keepFirst);
            else
                review.clearSelection();
            const auto start = std::chrono::steady_clock::now();
            const double cpuStart = cpuMilliseconds();
            summary = *review.applyMarkRule(rule, {&library.times, "/media/user/Old drive"});
            cpu.push_back(cpuMilliseconds() - cpuStart);
            ms.push_back(millisecondsSince(start));
        }
        std::sort(ms.begin(), ms.end());
        std::sort(cpu.begin(), cpu.end());
        const std::string title(rule.rawValue());
        std::printf(
            "{\"rule\": \"%s\", \"medianMs\": %.2f, \"maxMs\": %.2f, \"medianCpuMs\": %.2f, "
            "\"copiesMarked\": "
            "%lld, \"setsMarked\": %lld, \"protectedLeftAlone\": %lld}\n",
            title.c_str(), ms[ms.size() / 2], ms.back(), cpu[cpu.size() / 2],
            static_cast<long long>(summary.copiesMarked),
            static_cast<long long>(summary.setsMarked),
            static_cast<long long>(summary.protectedLeftAlone));
    }
    return 0;
}
