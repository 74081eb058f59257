#include "reviewtable.h"

#include <optional>
#include <utility>

namespace twinsift {

ReviewTable::ReviewTable(const ResultReview &review, const ReviewProtection &protection,
                         QObject *parent)
    : QObject(parent), m_review(review), m_protection(protection) {}

QString ReviewTable::groupCountText() const {
    return tr("%n groups", nullptr, static_cast<int>(groupCount()));
}

const DisplayGroup *ReviewTable::groupOf(const ReviewRowsModel::Row &row) const {
    if (row.groupIndex < 0 || static_cast<std::size_t>(row.groupIndex) >= m_shownGroups.size())
        return nullptr;
    return &m_shownGroups[static_cast<std::size_t>(row.groupIndex)];
}

void ReviewTable::rebuild(bool cleanup, bool planned) {
    const int countBefore = groupCount();

    // The old rows point into these until the new rows replace them.
    const ShownGroups oldGroups = std::exchange(m_shownGroups, {});
    const auto oldFiles = std::exchange(m_shownFiles, nullptr);

    std::vector<ReviewRowsModel::Row> rows;
    m_rowOfFile.clear();
    if (m_review.mode() == ResultMode::duplicateFiles) {
        m_shownFiles = m_review.searchedFiles();
        rows.reserve(m_shownFiles->size());
        for (const auto &file : *m_shownFiles) {
            ReviewRowsModel::Row row;
            row.file = &file;
            row.category = ResultMode::duplicateFilesCategory();
            rows.push_back(row);
        }
    } else {
        m_shownGroups = m_review.searchedGroups();
        std::size_t total = 0;
        for (const auto &group : m_shownGroups)
            total += group.files.size();
        rows.reserve(total);
        if (cleanup)
            m_rowOfFile.assign(m_review.fileCount(), -1);
        for (std::size_t g = 0; g < m_shownGroups.size(); ++g) {
            const DisplayGroup &group = m_shownGroups[g];
            for (std::size_t f = 0; f < group.files.size(); ++f) {
                ReviewRowsModel::Row row;
                row.file = &group.files[f];
                row.groupId = group.id;
                row.groupIndex = static_cast<int>(g);
                row.accentIndex = group.accentIndex;
                row.firstInGroup = f == 0;
                row.cleanupEnabled = cleanup;
                if (const auto id = cleanup ? m_review.fileIdIn(group, row.file->url)
                                            : std::optional<FileId>()) {
                    row.fileId = static_cast<int>(*id);
                    row.isMarked = m_review.isMarked(*id);
                    row.protection = m_protection.of(*id);
                    if (m_rowOfFile[*id] < 0)
                        m_rowOfFile[*id] = static_cast<int>(rows.size());
                }
                row.category = m_review.category();
                rows.push_back(row);
            }
        }
    }
    m_rows.setRows(std::move(rows));
    // Groups always hold files, so no rows means no matches in either view.
    const bool noMatches = !planned && m_rows.rowCount() == 0;
    if (countBefore != groupCount() || noMatches != m_hasNoMatches) {
        m_hasNoMatches = noMatches;
        emit shownGroupsChanged();
    }
}

void ReviewTable::refreshCleanupState(bool cleanup) {
    m_rows.updateCleanupState(
        [this, cleanup](const ReviewRowsModel::Row &row) {
            return cleanup && row.fileId >= 0 && m_review.isMarked(static_cast<FileId>(row.fileId));
        },
        [this](const ReviewRowsModel::Row &row) {
            return row.fileId >= 0 ? m_protection.of(static_cast<FileId>(row.fileId))
                                   : ReviewRowsModel::Protection::unknown;
        });
}

void ReviewTable::followMarks(const std::vector<FileId> &changed) {
    std::vector<std::pair<int, bool>> rowMarks;
    for (const FileId id : changed)
        if (id < m_rowOfFile.size() && m_rowOfFile[id] >= 0)
            rowMarks.emplace_back(m_rowOfFile[id], m_review.isMarked(id));
    m_rows.setMarks(std::move(rowMarks));
}

} // namespace twinsift
