#include "edgeverdicts.h"

#include <algorithm>
#include <tuple>

namespace twinsift {

EdgeVerdicts judgeEdges(const std::vector<const HashWorkers::Done *> &checks, bool remembered,
                        const std::vector<bool> &leads, const std::vector<bool> &known) {
    EdgeVerdicts verdicts;
    std::vector<const HashWorkers::Done *> read;
    read.reserve(checks.size());
    for (const auto *check : checks) {
        if (check->ok())
            read.push_back(check);
        else
            verdicts.failed.push_back(check->id);
    }
    std::sort(read.begin(), read.end(), [](const HashWorkers::Done *a, const HashWorkers::Done *b) {
        return std::tie(a->digest, a->id) < std::tie(b->digest, b->id);
    });
    for (std::size_t i = 0; i < read.size(); ++i) {
        const HashWorkers::Done &check = *read[i];
        if (known[check.id])
            continue;
        const bool alone = (i == 0 || read[i - 1]->digest != check.digest) &&
                           (i + 1 == read.size() || read[i + 1]->digest != check.digest);
        if (alone && !remembered && !leads[check.id])
            ++verdicts.ruledOut;
        else
            verdicts.readWhole.push_back(&check);
    }
    return verdicts;
}

} // namespace twinsift
