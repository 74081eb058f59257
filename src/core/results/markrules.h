#pragma once

#include "displaygroup.h"
#include "filemarks.h"
#include "markrule.h"
#include "modificationtimes.h"

#include <cstdint>
#include <functional>
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

// How a rule finds the copies of the sets it is given among the marks.
struct MarkRuleFiles {
    const FileMarks &marks;
    // The FileId of a set's first copy; the others follow in the set's order.
    std::function<FileId(const DisplayGroup &set)> firstId;
    std::function<bool(FileId)> isProtected;
};

struct MarkRuleOutcome {
    std::vector<FileId> toMark;
    std::vector<FileId> toUnmark;
    MarkRuleSummary summary;
};

namespace MarkRules {

// Decides the marks of every copy of the given sets (whole sets: every copy
// counts, not only those a search shows). A protected copy is never marked,
// and a set without a protected copy always keeps one unmarked: where the rule
// would mark every copy, the copy it chose to keep stays. Sets that are not
// passed are not looked at.
MarkRuleOutcome apply(MarkRule rule, std::span<const DisplayGroup *const> sets,
                      const MarkRuleFiles &files, const MarkRuleInputs &inputs);

// Whether path lies below folder, compared by whole path components of the
// standardised bytes: /a/bc is not inside /a/b, and a folder is not inside
// itself.
bool isInsideFolder(const std::string &path, const std::string &folder);

} // namespace MarkRules

} // namespace twinsift
