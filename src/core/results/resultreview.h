#pragma once

#include "displaygroup.h"
#include "duplicatescanresult.h"
#include "groupsort.h"
#include "markhistory.h"
#include "markrules.h"
#include "matchcategory.h"
#include "pathorder.h"
#include "resultmode.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace twinsift {

// The review state of one results screen and every rule over it: which
// category and view are shown, the search and sort, the files marked for the
// Trash with the guards that keep at least one copy of every set and keep
// protected files out, and the check that opens a cleanup run.
//
// Lives on one thread; the scan result it holds is never changed, only
// replaced.
class ResultReview {
public:
    static constexpr std::string_view keepOneCopyMessage =
        "At least one copy in every exact-duplicate set must remain. Choose a different file to "
        "keep before selecting this one.";
    static constexpr std::string_view protectedLocationText =
        "Exact duplicate found. Ambrivo does not move files from macOS- or application-managed "
        "locations. Use Open File or Reveal in Finder to review manually.";
    static constexpr std::string_view wholeSetSelectedMessage =
        "Cleanup stopped for safety. At least one copy in every exact-duplicate set must remain.";

    // Decides whether a path lies in a protected place; the default asks the
    // disk through CleanupProtection::isProtected.
    using ProtectionTest = std::function<bool(const std::string &path)>;

    explicit ResultReview(DuplicateScanResult result = {}, ProtectionTest isProtected = {});
    ~ResultReview();

    const DuplicateScanResult &result() const { return m_result; }
    // A new result (after a rescan) keeps every selection and mark; marks on
    // paths that are no longer in an exact set simply stop counting.
    void setResult(DuplicateScanResult result);

    // The groupings of a result that take long on a large one (the two
    // review-only categories over every scanned file, and the path-ordered
    // list of duplicates). derive() is a pure function of the result, safe on
    // any thread; adopt() hands its answer to the review of that same result,
    // so the review never has to work them out on its own thread.
    struct Groupings {
        std::vector<DisplayGroup> sameNameSize;
        std::vector<DisplayGroup> sameName;
        std::vector<DuplicateFile> duplicateFiles;
    };
    static Groupings derive(const DuplicateScanResult &result);
    void adopt(Groupings groupings);
    // Whether the review-only groupings are known without working them out.
    bool hasReviewGroupings() const { return m_sameNameSizeGroups && m_sameNameGroups; }

    // --- What is shown -----------------------------------------------------
    MatchCategory category() const { return m_category; }
    ResultMode mode() const { return m_mode; }
    const std::string &searchText() const { return m_searchText; }
    void setSearchText(std::string text) { m_searchText = std::move(text); }
    GroupSort sortMode() const { return m_sortMode; }
    void setSortMode(GroupSort sort) { m_sortMode = sort; }
    bool showFolderPaths() const { return m_showFolderPaths; }
    void setShowFolderPaths(bool show) { m_showFolderPaths = show; }

    // The category button: clears the search unless the same category is
    // clicked again in the grouped view, and leaves "Reclaimable Size" for
    // categories that have no reclaimable size.
    void selectCategory(MatchCategory category);
    // The summary cards. None of them touches the search.
    void showDuplicateGroups();
    void showDuplicateFiles();
    void showPotentialSavings();

    // The groups of each category, unfiltered and unsorted.
    const std::vector<DisplayGroup> &exactGroups() const;
    const std::vector<DisplayGroup> &sameNameSizeGroups() const;
    const std::vector<DisplayGroup> &sameNameGroups() const;
    // Those of the selected category; none for the planned one.
    const std::vector<DisplayGroup> &activeGroups() const;
    // What the grouped table shows: activeGroups searched and sorted.
    std::vector<DisplayGroup> searchedGroups() const;
    // Every file of every exact set, in path order.
    const std::vector<DuplicateFile> &duplicateFiles() const;
    // The files whose name matches the search.
    std::vector<DuplicateFile> filterFiles(const std::vector<DuplicateFile> &files) const;

    // The count on a category button, before any search; none for the
    // planned category.
    std::optional<std::int64_t> categoryCount(MatchCategory category) const;
    std::string categoryLabel(MatchCategory category) const;

    // --- Marks -------------------------------------------------------------
    const std::set<std::string> &selectedForTrash() const { return m_selectedForTrash; }
    bool isMarked(const DuplicateFile &file) const;
    // The group of the selected category with the same id as shown, so that a
    // row reduced by the search still counts every file of its set; the shown
    // group itself when there is none.
    const DisplayGroup &fullGroup(const DisplayGroup &shown) const;
    // Flips one mark. Pass the full group: a mark may never take the last
    // unmarked copy, and review-only groups take no marks.
    void toggleTrash(const DuplicateFile &file, const DisplayGroup &group);
    void clearSelection();

    // A bulk mark over every exact set the grouped view shows (all of them,
    // or those the search leaves), each set counted whole; sets the search
    // hides keep their marks. It obeys what a click obeys: no protected copy
    // is marked, no set ends fully marked, and one alert at most. Returns the
    // figures of the feedback line, or nothing outside the grouped view of
    // exact duplicates, which is the only place that offers bulk marks.
    std::optional<MarkRuleSummary> applyMarkRule(MarkRule rule, const MarkRuleInputs &inputs = {});
    // Clicks, bulk marks and clearing the selection can be undone, newest
    // first, up to MarkHistory::depth steps.
    bool canUndoMarks() const { return m_history.canUndo(); }
    void undoMarks();
    // After a cleanup or a new result, the old marks describe files that may
    // be gone.
    void forgetMarkHistory() { m_history.clear(); }
    // The marked, unprotected files of exact sets, in path order: what a
    // cleanup would move, in the order it would move them.
    std::vector<DuplicateFile> selectedFiles() const;
    std::uint64_t selectedBytes() const;
    // The paths whose mark differs from what it was at the previous call:
    // what a view of the marks has to redraw, without comparing every mark.
    std::vector<std::string> takeMarkChanges();

    // --- Alerts ------------------------------------------------------------
    const std::optional<std::string> &cleanupGuardMessage() const { return m_cleanupGuardMessage; }
    void setCleanupGuardMessage(std::string message) { m_cleanupGuardMessage = std::move(message); }
    void dismissCleanupGuard() { m_cleanupGuardMessage.reset(); }
    const std::optional<std::string> &protectedLocationMessage() const {
        return m_protectedLocationMessage;
    }
    void dismissProtectedLocation() { m_protectedLocationMessage.reset(); }

    // The check before a cleanup run. Returns the files to move, or nothing:
    // when nothing is selected, or when some set would lose every copy (then
    // the guard message is set and the marks stay as they are).
    std::optional<std::vector<DuplicateFile>> prepareCleanup();

private:
    // Every change of the marks goes through these two, so it can be undone.
    // A stable path is one of the result's own, which the undo step may keep
    // a view of.
    void mark(const std::string &path, bool stable = false);
    void unmark(const std::string &path);
    // The result's own copy of path, when it is a file of an exact set.
    std::optional<std::string_view> stablePath(const std::string &path) const;
    // Sweeps, then keeps what the change did as one undo step.
    void commitMarks();
    // Drops protected paths from the marks after every change of them.
    void sweepProtected();
    void resetDerived();
    // Remembers a path's mark before its first change since the last
    // takeMarkChanges().
    void noteMarkChange(const std::string &path, bool wasMarked);

    DuplicateScanResult m_result;
    ProtectionTest m_isProtected;
    std::unique_ptr<PathOrder> m_order;

    MatchCategory m_category = MatchCategory::exact;
    ResultMode m_mode = ResultMode::groups;
    std::string m_searchText;
    GroupSort m_sortMode = GroupSort::reclaimable;
    bool m_showFolderPaths = false;
    std::set<std::string> m_selectedForTrash;
    MarkHistory m_history;
    MarkHistory::Step m_pendingStep;
    std::unordered_map<std::string, bool> m_markChanges;
    std::optional<std::string> m_cleanupGuardMessage;
    std::optional<std::string> m_protectedLocationMessage;

    // Derived from the immutable result alone, so computed once per result.
    mutable std::optional<std::vector<DisplayGroup>> m_exactGroups;
    mutable std::optional<std::vector<DisplayGroup>> m_sameNameSizeGroups;
    mutable std::optional<std::vector<DisplayGroup>> m_sameNameGroups;
    mutable std::optional<std::vector<DuplicateFile>> m_duplicateFiles;
    // The paths of m_duplicateFiles, for the sweep after every change.
    mutable std::optional<std::unordered_set<std::string_view>> m_exactPaths;
};

} // namespace twinsift
