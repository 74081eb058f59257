#pragma once

#include "filemarks.h"
#include "markhistory.h"
#include "resultindex.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace twinsift {

// The KEEP/TRASH marks of a review, by FileId of its result, with their undo
// history: an edit changes them with set() or clear() and ends with
// commit(), which takes protected files back out and keeps the marks as
// they stood before as one undo step. Marks on paths the result no longer
// holds are kept aside across a rescan and count again if the path comes
// back.
class ReviewMarks {
public:
    ReviewMarks(const ResultIndex &index, std::function<bool(FileId)> isProtected);

    const FileMarks &bits() const { return m_marks; }
    bool any() const { return !m_marks.empty() || !m_elsewhere.empty(); }
    bool isMarked(FileId id) const { return m_marks.test(id); }
    bool isMarked(const DuplicateFile &file) const;
    // The marked paths, built when asked, for checks and tests.
    const std::set<std::string> &paths() const;

    // Every marked path, taken before the index's result is replaced, and
    // handed back afterwards: marks follow paths from one result to the
    // next. The history goes, as its steps name files of the result gone.
    std::vector<std::string> takeForNewResult() const;
    void rebase(std::vector<std::string> marked);

    void set(FileId id, bool marked) { m_marks.set(id, marked); }
    void clear();
    // Ends an edit. Returns whether protected files had to be unmarked.
    bool commit();
    bool canUndo() const { return m_history.canUndo(); }
    // Returns whether protected files had to be unmarked.
    bool undo();
    void forgetHistory() { m_history.clear(); }
    // The files whose mark differs from what it was at the previous call, in
    // FileId order: what a view of the marks has to redraw.
    std::vector<FileId> takeChanges();

private:
    bool sweepProtected();
    void changed() { m_paths.reset(); }

    const ResultIndex &m_index;
    std::function<bool(FileId)> m_isProtected;
    FileMarks m_marks;
    std::set<std::string> m_elsewhere;
    // The marks after the last committed change, and as last reported.
    MarkHistory::Step m_committed;
    FileMarks m_reported;
    MarkHistory m_history;
    mutable std::optional<std::set<std::string>> m_paths;
};

} // namespace twinsift
