#pragma once

#include "cleanupreport.h"
#include "displaygroup.h"
#include "duplicatescanresult.h"
#include "filemarks.h"
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
#include <variant>
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
    // Why the review held a mark or a cleanup back.
    enum class Guard : std::uint8_t {
        keepOneCopy,      // a click would have marked a set's last copy
        wholeSetSelected, // a cleanup would have moved every copy of a set
    };
    // The alert above the table: the review's own guard, or why a cleanup
    // run stopped before moving anything.
    using GuardAlert = std::variant<Guard, CleanupStopReason>;

    // Decides whether a path lies in a protected place; the default asks the
    // disk through CleanupProtection::isProtected.
    using ProtectionTest = std::function<bool(const std::string &path)>;
    // The same question by a file's place, for an owner that keeps its
    // answers that way; once given, the path test is no longer asked.
    using FileProtectionTest = std::function<bool(FileId)>;

    explicit ResultReview(DuplicateScanResult result = {}, ProtectionTest isProtected = {});
    ~ResultReview();
    void setFileProtectionTest(FileProtectionTest test) { m_isFileProtected = std::move(test); }

    const DuplicateScanResult &result() const { return *m_result; }
    // A new result (after a rescan) keeps every selection and mark; marks on
    // paths that are no longer in an exact set simply stop counting.
    void setResult(DuplicateScanResult result);
    // The same without a copy: a result of a million files is shared with
    // whoever else holds it, not held twice.
    void setResult(std::shared_ptr<const DuplicateScanResult> result);

    // The groupings of a result that take long on a large one (the two
    // review-only categories over every scanned file, and the path-ordered
    // list of duplicates). derive() is a pure function of the result, safe on
    // any thread; adopt() hands its answer to the review of that same result,
    // so the review never has to work them out on its own thread.
    struct Groupings {
        std::vector<DisplayGroup> sameNameSize;
        std::vector<DisplayGroup> sameName;
        std::vector<DuplicateFile> duplicateFiles;
        std::vector<FileId> duplicateFileIds;
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
    // clicked again in the grouped view, and leaves the reclaimable-size sort for
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
    // Every file of every exact set, in path order, and the FileId of each.
    // The list is shared so that a view may keep it past a new result.
    const std::vector<DuplicateFile> &duplicateFiles() const;
    const std::shared_ptr<const std::vector<DuplicateFile>> &sharedDuplicateFiles() const;
    const std::vector<FileId> &duplicateFileIds() const;

    // --- Files of exact sets, by FileId --------------------------------------
    std::size_t fileCount() const { return m_files.size(); }
    FileId fileId(std::size_t group, std::size_t copy) const {
        return static_cast<FileId>(m_groupStart[group] + copy);
    }
    const DuplicateFile &file(FileId id) const { return *m_files[id]; }
    // Looks the path up in the set the group shows (cheap), or among all
    // exact sets when the group is not one of them.
    std::optional<FileId> fileIdIn(const DisplayGroup &group, const std::string &path) const;
    std::optional<FileId> fileIdOf(const std::string &path) const;
    // The files whose name matches the search.
    std::vector<DuplicateFile> filterFiles(const std::vector<DuplicateFile> &files) const;

    // The count on a category button, before any search; none for the
    // planned category.
    std::optional<std::int64_t> categoryCount(MatchCategory category) const;

    // --- Marks -------------------------------------------------------------
    // The marked paths, built when asked, for checks and tests; views follow
    // marks() and takeMarkChanges().
    const std::set<std::string> &selectedForTrash() const;
    const FileMarks &marks() const { return m_marks; }
    bool hasMarks() const { return !m_marks.empty() || !m_marksElsewhere.empty(); }
    bool isMarked(FileId id) const { return m_marks.test(id); }
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
    // The files whose mark differs from what it was at the previous call, in
    // FileId order: what a view of the marks has to redraw.
    std::vector<FileId> takeMarkChanges();

    // --- Alerts ------------------------------------------------------------
    const std::optional<GuardAlert> &cleanupGuard() const { return m_cleanupGuard; }
    void setCleanupGuard(GuardAlert alert) { m_cleanupGuard = alert; }
    void dismissCleanupGuard() { m_cleanupGuard.reset(); }
    // A mark was refused, or taken back, because its file lies in a
    // protected place.
    bool hasProtectedLocationAlert() const { return m_protectedLocationAlert; }
    void dismissProtectedLocation() { m_protectedLocationAlert = false; }

    // The check before a cleanup run. Returns the files to move, or nothing:
    // when nothing is selected, or when some set would lose every copy (then
    // the guard message is set and the marks stay as they are).
    std::optional<std::vector<DuplicateFile>> prepareCleanup();

private:
    // Sweeps, then keeps the marks as they stood before the change as one
    // undo step.
    void commitMarks();
    // Drops protected files from the marks after every change of them.
    void sweepProtected();
    bool isProtected(FileId id) const;
    void indexFiles();
    void resetDerived();
    void marksChanged() { m_markedPaths.reset(); }

    std::shared_ptr<const DuplicateScanResult> m_result;
    ProtectionTest m_isProtected;
    std::unique_ptr<PathOrder> m_order;

    MatchCategory m_category = MatchCategory::exact;
    ResultMode m_mode = ResultMode::groups;
    std::string m_searchText;
    GroupSort m_sortMode = GroupSort::reclaimable;
    bool m_showFolderPaths = false;
    FileProtectionTest m_isFileProtected;
    // Where each set's copies start among the FileIds, one entry more than
    // sets, and each file by its FileId.
    std::vector<std::size_t> m_groupStart;
    std::vector<const DuplicateFile *> m_files;
    FileMarks m_marks;
    // Marks on paths that no exact set of this result holds: a rescan keeps
    // them, and they count again if the path comes back.
    std::set<std::string> m_marksElsewhere;
    // The marks after the last committed change, and as last reported.
    MarkHistory::Step m_committed;
    FileMarks m_reported;
    MarkHistory m_history;
    mutable std::optional<std::set<std::string>> m_markedPaths;
    std::optional<GuardAlert> m_cleanupGuard;
    bool m_protectedLocationAlert = false;

    // Derived from the immutable result alone, so computed once per result.
    mutable std::optional<std::vector<DisplayGroup>> m_exactGroups;
    mutable std::optional<std::vector<DisplayGroup>> m_sameNameSizeGroups;
    mutable std::optional<std::vector<DisplayGroup>> m_sameNameGroups;
    mutable std::shared_ptr<const std::vector<DuplicateFile>> m_duplicateFiles;
    mutable std::vector<FileId> m_duplicateFileIds;
    mutable std::optional<std::unordered_map<std::string_view, FileId>> m_idOfPath;
};

} // namespace twinsift
