#pragma once

#include "duplicatefile.h"
#include "keyedrowupdate.h"
#include "matchcategory.h"

#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace twinsift {

// The rows of the results table: every file of every shown group, group after
// group, or the flat list of all exact-duplicate files. QML acts on a row
// through its index only; the path bytes stay here. A row's texts are decoded
// when a view asks for them, so only the rows on screen pay for it.
class ReviewRowsModel : public KeyedListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Rows belong to a DuplicateReviewModel.")

public:
    enum Role {
        FileNameRole = Qt::UserRole + 1,
        DisplayPathRole,
        FolderPathRole,
        FileTooltipRole,
        SizeTextRole,
        VerificationRole,
        VerificationHelpRole,
        // Position of the row's group in the table, -1 in the flat list.
        GroupIndexRole,
        // Picks the group's accent colour; -1 in the flat list.
        AccentIndexRole,
        FirstInGroupRole,
        CleanupEnabledRole,
        IsProtectedRole,
        IsMarkedRole,
        // A CleanupState.
        CleanupStateRole,
        CleanupTextRole,
        CleanupTooltipRole,
    };
    Q_ENUM(Role)

    // What the cleanup cell of a row offers.
    enum CleanupState {
        Keep,
        Trash,
        Protected,  // a Review Only badge on an exact duplicate
        Checking,   // protection not known yet: no toggle
        ReviewOnly, // a table without cleanup
    };
    Q_ENUM(CleanupState)

    // Whether a row's file lies in a protected place, as far as is known.
    enum class Protection : char { unknown, free, protectedPlace };

    struct Row {
        // The file, and the id of the group it shows in: together unique
        // within the table. Both point into the groups or files the table
        // keeps, never copied, for a large result has hundreds of thousands
        // of rows.
        const DuplicateFile *file = nullptr;
        std::string_view groupId;
        // The file's FileId in the review, on rows that take marks; else -1.
        int fileId = -1;
        int groupIndex = -1;
        qint64 accentIndex = -1;
        bool firstInGroup = false;
        bool cleanupEnabled = false;
        Protection protection = Protection::unknown;
        bool isMarked = false;
        // Whose verification words the row shows.
        MatchCategory category = MatchCategory::exact;

        bool isProtected() const { return protection == Protection::protectedPlace; }
        friend bool operator==(const Row &a, const Row &b) {
            return a.groupIndex == b.groupIndex && a.accentIndex == b.accentIndex &&
                   a.firstInGroup == b.firstInGroup && a.cleanupEnabled == b.cleanupEnabled &&
                   a.protection == b.protection && a.isMarked == b.isMarked &&
                   a.category == b.category && *a.file == *b.file;
        }
    };

    explicit ReviewRowsModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Moves to the new rows by removals, insertions and changes of the rows
    // that differ; never by a reset. What the old rows point into must live
    // until it returns; afterwards no row points there.
    void setRows(std::vector<Row> rows);
    // Re-reads every row's mark and protection, announcing only the rows
    // that changed, and only the roles that show them.
    void updateCleanupState(const std::function<bool(const Row &)> &isMarked,
                            const std::function<Protection(const Row &)> &protection);
    // Sets the marks of the given rows, announcing those that changed.
    void setMarks(std::vector<std::pair<int, bool>> marks);
    const Row *rowAt(int row) const;
    int size() const { return static_cast<int>(m_rows.size()); }

private:
    std::vector<Row> m_rows;
};

} // namespace twinsift
