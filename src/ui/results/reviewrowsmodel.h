#pragma once

#include "duplicatefile.h"

#include <QAbstractListModel>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <vector>

namespace twinsift {

// The rows of the results table: every file of every shown group, group after
// group, or the flat list of all exact-duplicate files. QML acts on a row
// through its index only; the path bytes stay here.
class ReviewRowsModel : public QAbstractListModel {
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
        // "keep", "trash", "protected" (a Review Only badge on an exact
        // duplicate) or "reviewOnly" (a table without cleanup).
        CleanupStateRole,
        CleanupTextRole,
        CleanupTooltipRole,
    };
    Q_ENUM(Role)

    struct Row {
        DuplicateFile file;
        int groupIndex = -1;
        qint64 accentIndex = -1;
        bool firstInGroup = false;
        bool cleanupEnabled = false;
        bool isProtected = false;
        bool isMarked = false;
        QString verification;
        // Display text, decoded once when the row is made.
        QString fileName;
        QString displayPath;
        QString folderPath;
        QString sizeText;
    };

    explicit ReviewRowsModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void setRows(std::vector<Row> rows);
    // Re-reads every row's mark, announcing only the rows that changed.
    void updateMarks(const std::function<bool(const DuplicateFile &)> &isMarked);
    const Row *rowAt(int row) const;
    int size() const { return static_cast<int>(m_rows.size()); }

private:
    std::vector<Row> m_rows;
};

} // namespace twinsift
