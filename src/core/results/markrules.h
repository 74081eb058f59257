#pragma once

#include "displaygroup.h"
#include "markrule.h"
#include "modificationtimes.h"

#include <cstdint>
#include <functional>
#include <set>
#include <span>
#include <string>
#include <vector>

namespace twinsift {

// What a bulk mark needs beyond the sets and the marks.
struct MarkRuleInputs {
    // For keepOldest and keepNewest, laid out like the result whose exact
    // sets are passed (a set's accentIndex is its place in the result).
    // Without them every copy ties, so each set keeps its first copy.
    const ModificationTimes *times = nullptr;
    // For markInFolder: path bytes of the chosen folder.
    std::string folder;
};

// The figures of the feedback line after a bulk mark.
struct MarkRuleSummary {
    // Copies the rule left marked for the Trash, and the sets they are in.
    std::int64_t copiesMarked = 0;
    std::int64_t setsMarked = 0;
    // Protected copies the rule would have marked and did not.
    std::int64_t protectedLeftAlone = 0;

    friend bool operator==(const MarkRuleSummary &, const MarkRuleSummary &) = default;
};

// The paths point into the sets passed to apply.
struct MarkRuleOutcome {
    std::vector<const std::string *> toMark;
    std::vector<const std::string *> toUnmark;
    MarkRuleSummary summary;
};

namespace MarkRules {

using ProtectionTest = std::function<bool(const std::string &path)>;

// Decides the marks of every copy of the given sets (whole sets: every copy
// counts, not only those a search shows). A protected copy is never marked,
// and a set without a protected copy always keeps one unmarked: where the rule
// would mark every copy, the copy it chose to keep stays. Sets that are not
// passed are not looked at.
MarkRuleOutcome apply(MarkRule rule, std::span<const DisplayGroup *const> sets,
                      const std::set<std::string> &marks, const ProtectionTest &isProtected,
                      const MarkRuleInputs &inputs);

// Whether path lies below folder, compared by whole path components of the
// standardised bytes: /a/bc is not inside /a/b, and a folder is not inside
// itself.
bool isInsideFolder(const std::string &path, const std::string &folder);

} // namespace MarkRules

} // namespace twinsift
