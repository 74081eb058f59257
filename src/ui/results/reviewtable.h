#pragma once

#include "resultreview.h"
#include "reviewprotection.h"
#include "reviewrowsmodel.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace twinsift {

// The rows of the results table, grouped or flat, as the review's view,
// marks and protection answers make them; and where each file's row is, so
// that a change of a few marks redraws a few rows.
class ReviewTable : public QObject {
    Q_OBJECT

public:
    ReviewTable(const ResultReview &review, const ReviewProtection &protection,
                QObject *parent = nullptr);

    ReviewRowsModel *rows() { return &m_rows; }
    int groupCount() const { return static_cast<int>(m_shownGroups.size()); }
    QString groupCountText() const;
    // The table, grouped or flat, has nothing to show for the search.
    bool hasNoMatches() const { return m_hasNoMatches; }
    // The shown group a row belongs to, or null on a flat row.
    const DisplayGroup *groupOf(const ReviewRowsModel::Row &row) const;

    // Builds every row anew. cleanup: the table offers KEEP/TRASH; planned:
    // the table is the planned panel's, which shows no rows on purpose.
    void rebuild(bool cleanup, bool planned);
    // Re-reads every row's mark and protection.
    void refreshCleanupState(bool cleanup);
    // Redraws the rows of the files whose mark changed.
    void followMarks(const std::vector<FileId> &changed);
    // The table's index of files is for the result it was built from.
    void forgetFiles() { m_rowOfFile.clear(); }

signals:
    void shownGroupsChanged();

private:
    const ResultReview &m_review;
    const ReviewProtection &m_protection;
    // What the rows point into, declared first so that it outlives them.
    ShownGroups m_shownGroups;
    std::shared_ptr<const std::vector<DuplicateFile>> m_shownFiles;
    ReviewRowsModel m_rows;
    bool m_hasNoMatches = false;
    // The table row of each file, by FileId, when the table takes marks; -1
    // for a file not shown.
    std::vector<int> m_rowOfFile;
};

} // namespace twinsift
