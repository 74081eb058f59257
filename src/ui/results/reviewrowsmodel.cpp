#include "reviewrowsmodel.h"

#include "resultreview.h"
#include "reviewtexts.h"

namespace twinsift {

namespace {

QString cleanupState(const ReviewRowsModel::Row &row) {
    if (!row.cleanupEnabled)
        return QStringLiteral("reviewOnly");
    if (row.isProtected)
        return QStringLiteral("protected");
    return row.isMarked ? QStringLiteral("trash") : QStringLiteral("keep");
}

QString cleanupText(const ReviewRowsModel::Row &row) {
    if (!row.cleanupEnabled || row.isProtected)
        return QStringLiteral("Review Only");
    return row.isMarked ? QStringLiteral("TRASH") : QStringLiteral("KEEP");
}

QString cleanupTooltip(const ReviewRowsModel::Row &row) {
    if (!row.cleanupEnabled)
        return QStringLiteral("Cleanup is enabled only for SHA-256 verified exact duplicates.");
    if (row.isProtected)
        return QString::fromUtf8(ResultReview::protectedLocationText);
    return row.isMarked ? QStringLiteral(
                              "Trash this copy. It will be moved to the Trash when cleanup is run.")
                        : QStringLiteral("Keep this copy. It will remain in place.");
}

} // namespace

ReviewRowsModel::ReviewRowsModel(QObject *parent) : QAbstractListModel(parent) {}

int ReviewRowsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : size();
}

QVariant ReviewRowsModel::data(const QModelIndex &index, int role) const {
    const Row *row = index.isValid() && !index.parent().isValid() ? rowAt(index.row()) : nullptr;
    if (!row)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case FileNameRole:
        return row->fileName;
    case DisplayPathRole:
        return row->displayPath;
    case FolderPathRole:
        return row->folderPath;
    case FileTooltipRole:
        return QStringLiteral("Full path:\n") + row->displayPath;
    case SizeTextRole:
        return row->sizeText;
    case VerificationRole:
        return row->verification;
    case VerificationHelpRole:
        return QString::fromStdString(
            ReviewTexts::verificationHelp(row->verification.toStdString()));
    case GroupIndexRole:
        return row->groupIndex;
    case AccentIndexRole:
        return row->accentIndex;
    case FirstInGroupRole:
        return row->firstInGroup;
    case CleanupEnabledRole:
        return row->cleanupEnabled;
    case IsProtectedRole:
        return row->isProtected;
    case IsMarkedRole:
        return row->isMarked;
    case CleanupStateRole:
        return cleanupState(*row);
    case CleanupTextRole:
        return cleanupText(*row);
    case CleanupTooltipRole:
        return cleanupTooltip(*row);
    }
    return {};
}

QHash<int, QByteArray> ReviewRowsModel::roleNames() const {
    return {
        {FileNameRole, "fileName"},
        {DisplayPathRole, "displayPath"},
        {FolderPathRole, "folderPath"},
        {FileTooltipRole, "fileTooltip"},
        {SizeTextRole, "sizeText"},
        {VerificationRole, "verification"},
        {VerificationHelpRole, "verificationHelp"},
        {GroupIndexRole, "groupIndex"},
        {AccentIndexRole, "accentIndex"},
        {FirstInGroupRole, "firstInGroup"},
        {CleanupEnabledRole, "cleanupEnabled"},
        {IsProtectedRole, "isProtected"},
        {IsMarkedRole, "isMarked"},
        {CleanupStateRole, "cleanupState"},
        {CleanupTextRole, "cleanupText"},
        {CleanupTooltipRole, "cleanupTooltip"},
    };
}

void ReviewRowsModel::setRows(std::vector<Row> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ReviewRowsModel::updateMarks(const std::function<bool(const DuplicateFile &)> &isMarked) {
    const QList<int> roles{IsMarkedRole, CleanupStateRole, CleanupTextRole, CleanupTooltipRole};
    for (int i = 0; i < size(); ++i) {
        Row &row = m_rows[static_cast<std::size_t>(i)];
        const bool marked = isMarked(row.file);
        if (marked == row.isMarked)
            continue;
        row.isMarked = marked;
        emit dataChanged(index(i), index(i), roles);
    }
}

const ReviewRowsModel::Row *ReviewRowsModel::rowAt(int row) const {
    if (row < 0 || row >= size())
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)];
}

} // namespace twinsift
