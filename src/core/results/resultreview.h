#pragma once

#include "cleanupreport.h"
#include "displaygroup.h"
#include "duplicatescanresult.h"
#include "filemarks.h"
#include "markrules.h"
#include "resultindex.h"
#include "reviewmarks.h"
#include "reviewviewstate.h"
#include "showngroups.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

namespace twinsift {

// The review state of one results screen and the rules that join its
// pieces: the result under review (ResultIndex), what is shown of it
// (ReviewViewState), the files marked for the Trash with their undo
// (ReviewMarks), and here the guards that keep at least one copy of every
// set and keep protected files out, and the check that opens a cleanup run.
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

    // The one question the review asks about protection: whether a file of
    // the result, by its FileId and its path, lies in a protected place. An
    // owner that keeps answers by FileId reads those; byPath() asks by path.
    using ProtectionTest = std::function<bool(FileId id, const std::string &path)>;
    static ProtectionTest byPath(std::function<bool(const std::string &path)> test);

    // Without a test, the disk is asked through CleanupProtection.
    explicit ResultReview(DuplicateScanResult result = {}, ProtectionTest isProtected = {});
    ~ResultReview();
    void setProtectionTest(ProtectionTest test) { m_isProtected = std::move(test); }

    const DuplicateScanResult &result() const { return m_index.result(); }
    // A new result (after a rescan) keeps every selection and mark; marks on
    // paths that are no longer in an exact set simply stop counting.
    void setResult(DuplicateScanResult result);
    // The same without a copy: a result of a million files is shared with
    // whoever else holds it, not held twice.
    void setResult(std::shared_ptr<const DuplicateScanResult> result);

    using Groupings = ResultIndex::Groupings;
    static Groupings derive(const DuplicateScanResult &result) {
        return ResultIndex::derive(result);
    }
    void adopt(Groupings groupings) { m_index.adopt(std::move(groupings)); }
    bool hasReviewGroupings() const { return m_index.hasReviewGroupings(); }

    // --- What is shown -----------------------------------------------------
    const ReviewViewState &view() const { return m_view; }
    ReviewViewState &view() { return m_view; }
    MatchCategory category() const { return m_view.category(); }
    ResultMode mode() const { return m_view.mode(); }
    const std::string &searchText() const { return m_view.searchText(); }
    void setSearchText(std::string text) { m_view.setSearchText(std::move(text)); }
    GroupSort sortMode() const { return m_view.sortMode(); }
    void setSortMode(GroupSort sort) { m_view.setSortMode(sort); }
    bool showFolderPaths() const { return m_view.showFolderPaths(); }
    void setShowFolderPaths(bool show) { m_view.setShowFolderPaths(show); }
    void selectCategory(MatchCategory category) { m_view.selectCategory(category); }
    void showDuplicateGroups() { m_view.showDuplicateGroups(); }
    void showDuplicateFiles() { m_view.showDuplicateFiles(); }
    void showPotentialSavings() { m_view.showPotentialSavings(); }

    // The groups of each category, unfiltered and unsorted.
    const std::vector<DisplayGroup> &exactGroups() const {
        return m_index.groups(MatchCategory::exact);
    }
    const std::vector<DisplayGroup> &sameNameSizeGroups() const {
        return m_index.groups(MatchCategory::sameNameSize);
    }
    const std::vector<DisplayGroup> &sameNameGroups() const {
        return m_index.groups(MatchCategory::sameName);
    }
    // Those of the selected category; none for the planned one.
    const std::vector<DisplayGroup> &activeGroups() const {
        return m_index.groups(m_view.category());
    }
    // What the grouped table shows: activeGroups searched and sorted.
    ShownGroups searchedGroups() const;
    // What the flat table shows: duplicateFiles searched; the list itself
    // when there is no search.
    std::shared_ptr<const std::vector<DuplicateFile>> searchedFiles() const;
    // Every file of every exact set, in path order, and the FileId of each.
    // The list is shared so that a view may keep it past a new result.
    const std::vector<DuplicateFile> &duplicateFiles() const {
        return *m_index.sharedDuplicateFiles();
    }
    const std::shared_ptr<const std::vector<DuplicateFile>> &sharedDuplicateFiles() const {
        return m_index.sharedDuplicateFiles();
    }
    const std::vector<FileId> &duplicateFileIds() const { return m_index.duplicateFileIds(); }

    // --- Files of exact sets, by FileId --------------------------------------
    const ResultIndex &index() const { return m_index; }
    std::size_t fileCount() const { return m_index.fileCount(); }
    FileId fileId(std::size_t group, std::size_t copy) const { return m_index.fileId(group, copy); }
    const DuplicateFile &file(FileId id) const { return m_index.file(id); }
    std::optional<FileId> fileIdIn(const DisplayGroup &group, const std::string &path) const {
        return m_index.fileIdIn(group, path);
    }
    std::optional<FileId> fileIdOf(const std::string &path) const { return m_index.fileIdOf(path); }

    // The count on a category button, before any search; none for the
    // planned category.
    std::optional<std::int64_t> categoryCount(MatchCategory category) const {
        return m_index.categoryCount(category);
    }

    // --- Marks -------------------------------------------------------------
    // The marked paths, built when asked, for checks and tests; views follow
    // marks() and takeMarkChanges().
    const std::set<std::string> &selectedForTrash() const { return m_marks.paths(); }
    const FileMarks &marks() const { return m_marks.bits(); }
    bool hasMarks() const { return m_marks.any(); }
    bool isMarked(FileId id) const { return m_marks.isMarked(id); }
    bool isMarked(const DuplicateFile &file) const { return m_marks.isMarked(file); }
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
    bool canUndoMarks() const { return m_marks.canUndo(); }
    void undoMarks();
    // After a cleanup or a new result, the old marks describe files that may
    // be gone.
    void forgetMarkHistory() { m_marks.forgetHistory(); }
    // The marked, unprotected files of exact sets, in path order: what a
    // cleanup would move, in the order it would move them.
    std::vector<DuplicateFile> selectedFiles() const;
    std::uint64_t selectedBytes() const;
    // The files whose mark differs from what it was at the previous call, in
    // FileId order: what a view of the marks has to redraw.
    std::vector<FileId> takeMarkChanges() { return m_marks.takeChanges(); }

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
    bool isProtected(FileId id) const { return m_isProtected(id, file(id).url); }
    // Ends an edit of the marks; a protected file taken back raises the alert.
    void commitMarks();

    ResultIndex m_index;
    ReviewViewState m_view;
    ProtectionTest m_isProtected;
    ReviewMarks m_marks;
    std::optional<GuardAlert> m_cleanupGuard;
    bool m_protectedLocationAlert = false;
};

} // namespace twinsift
