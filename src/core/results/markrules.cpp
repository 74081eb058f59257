#include "markrules.h"

#include "paths.h"

#include <algorithm>
#include <optional>
#include <tuple>

namespace twinsift::MarkRules {

namespace {

std::size_t componentCount(const std::string &path) {
    std::size_t count = 0;
    bool inComponent = false;
    for (char c : path) {
        if (c == '/') {
            inComponent = false;
        } else if (!inComponent) {
            inComponent = true;
            ++count;
        }
    }
    return count;
}

// The copy each keep rule keeps. Ties always go to the set's own order, so
// the answer is the same on every run.
std::size_t keeperOf(MarkRule rule, const DisplayGroup &set, const MarkRuleInputs &inputs) {
    const auto &files = set.files;
    const auto group = static_cast<std::size_t>(set.accentIndex);
    const auto timeOf = [&](std::size_t i) {
        return inputs.times ? inputs.times->of(group, i) : ModificationTimes::unreadable;
    };
    // Smaller keys win; each key is worked out once per copy.
    using Key = std::tuple<std::int64_t, std::size_t, std::size_t>;
    const auto keyOf = [&](std::size_t i) -> Key {
        switch (rule.value()) {
        case MarkRule::keepOldest:
            return {timeOf(i), 0, 0};
        case MarkRule::keepNewest:
            // Later first, without overflow: unreadable sorts last.
            return {~timeOf(i), 0, 0};
        case MarkRule::keepShortestPath: {
            // Paths of one length: the plainer name is the likelier
            // original ("img1.jpg" over "img1 (2).jpg").
            const std::string &url = files[i].url;
            const auto slash = url.rfind('/');
            const std::size_t nameLength =
                slash == std::string::npos ? url.size() : url.size() - slash - 1;
            return {static_cast<std::int64_t>(componentCount(url)), url.size(), nameLength};
        }
        default:
            return {0, 0, 0};
        }
    };
    if (rule == MarkRule::keepFirst)
        return 0;
    std::size_t keeper = 0;
    Key best = keyOf(0);
    for (std::size_t i = 1; i < files.size(); ++i) {
        const Key key = keyOf(i);
        if (key < best) {
            best = key;
            keeper = i;
        }
    }
    return keeper;
}

// root is already standardised.
bool insideStandardFolder(const std::string &path, const std::string &root) {
    const std::string file = paths::standardized(path);
    if (root == "/")
        return file != "/";
    return file.size() > root.size() && file.compare(0, root.size(), root) == 0 &&
           file[root.size()] == '/';
}

} // namespace

bool isInsideFolder(const std::string &path, const std::string &folder) {
    return insideStandardFolder(path, paths::standardized(folder));
}

MarkRuleOutcome apply(MarkRule rule, std::span<const DisplayGroup *const> sets,
                      const MarkRuleFiles &state, const MarkRuleInputs &inputs) {
    MarkRuleOutcome outcome;
    const std::string folder =
        rule == MarkRule::markInFolder ? paths::standardized(inputs.folder) : std::string();

    std::vector<char> marked, ruleMarks, finalMarks;
    outcome.toMark.reserve(sets.size() * 2);
    for (const DisplayGroup *set : sets) {
        if (!set || !set->exact || set->files.empty())
            continue;
        const auto &files = set->files;
        const std::size_t n = files.size();
        const FileId base = state.firstId(*set);
        marked.assign(n, 0);
        ruleMarks.assign(n, 0);
        for (std::size_t i = 0; i < n; ++i)
            marked[i] = state.marks.test(base + static_cast<FileId>(i));

        // What the rule alone would do, and the copy it keeps if it has to.
        std::optional<std::size_t> keeper;
        switch (rule.value()) {
        case MarkRule::keepOldest:
        case MarkRule::keepNewest:
        case MarkRule::keepFirst:
        case MarkRule::keepShortestPath:
            keeper = keeperOf(rule, *set, inputs);
            for (std::size_t i = 0; i < n; ++i)
                ruleMarks[i] = i != *keeper;
            finalMarks = ruleMarks;
            break;
        case MarkRule::markInFolder:
            for (std::size_t i = 0; i < n; ++i)
                ruleMarks[i] = insideStandardFolder(files[i].url, folder);
            finalMarks.assign(n, 0);
            for (std::size_t i = 0; i < n; ++i)
                finalMarks[i] = ruleMarks[i] || marked[i];
            break;
        case MarkRule::invert:
            for (std::size_t i = 0; i < n; ++i)
                ruleMarks[i] = !marked[i];
            finalMarks = ruleMarks;
            break;
        }
        if (!keeper) {
            const auto first = std::find(ruleMarks.begin(), ruleMarks.end(), 1);
            // A set the rule marks nothing in is not its business.
            if (first == ruleMarks.end())
                continue;
            keeper = static_cast<std::size_t>(first - ruleMarks.begin());
        }

        // A protected copy stays on disk whatever happens. Only copies about
        // to be marked need the question: a set that keeps any other copy is
        // safe already.
        for (std::size_t i = 0; i < n; ++i) {
            if (!finalMarks[i] || !state.isProtected(base + static_cast<FileId>(i)))
                continue;
            if (ruleMarks[i])
                ++outcome.summary.protectedLeftAlone;
            finalMarks[i] = 0;
        }
        if (std::all_of(finalMarks.begin(), finalMarks.end(), [](char m) { return m != 0; }))
            finalMarks[*keeper] = 0;

        std::int64_t copies = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (finalMarks[i] && ruleMarks[i])
                ++copies;
            if (finalMarks[i] && !marked[i])
                outcome.toMark.push_back(base + static_cast<FileId>(i));
            else if (!finalMarks[i] && marked[i])
                outcome.toUnmark.push_back(base + static_cast<FileId>(i));
        }
        outcome.summary.copiesMarked += copies;
        if (copies > 0)
            ++outcome.summary.setsMarked;
    }
    return outcome;
}

} // namespace twinsift::MarkRules
