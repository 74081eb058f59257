#pragma once

#include "cleanupselectionmodel.h"
#include "resultreview.h"
#include "reviewprotection.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

namespace twinsift {

// What a cleanup would move, summed up for the cleanup bar and listed for
// the review sheet: the marked files of exact sets that lie in no protected
// place, in path order. The marks themselves live in the review only; this
// follows them.
class SelectionSummary : public QObject {
    Q_OBJECT

public:
    SelectionSummary(const ResultReview &review, const ReviewProtection &protection,
                     QObject *parent = nullptr);

    int count() const { return m_count; }
    std::uint64_t bytes() const { return m_bytes; }
    QString bytesText() const;
    // "3 selected for Trash" and "12.4 MB selected", for the cleanup bar.
    QString countText() const;
    QString bytesLabel() const;
    // "3 files · 12.4 MB", under the review sheet's title.
    QString reviewSummaryText() const;
    CleanupSelectionModel *files() { return &m_files; }

    // Counts and lists everything anew, after new protection answers or a
    // new result.
    void recount();
    // Follows the files whose mark changed, which no protection answer has.
    void follow(const std::vector<FileId> &changed);
    // The review's path-ordered list of duplicates was replaced.
    void forgetOrder() { m_orderOfFile.clear(); }

private:
    bool isSelected(FileId id) const {
        return m_review.isMarked(id) && !m_protection.isProtectedPlace(id);
    }
    // Where each exact-duplicate file stands in the cleanup's order.
    void indexOrder();
    // The review sheet's list, all at once.
    void showFiles();

    const ResultReview &m_review;
    const ReviewProtection &m_protection;
    int m_count = 0;
    std::uint64_t m_bytes = 0;
    // Each file's place in the review's duplicateFiles(), by FileId; empty
    // until first needed and whenever that list is replaced.
    std::vector<int> m_orderOfFile;
    CleanupSelectionModel m_files;
};

} // namespace twinsift
