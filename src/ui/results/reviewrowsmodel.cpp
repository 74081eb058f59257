#include "reviewrowsmodel.h"

#include "formatbytes.h"
#include "keyedrowupdate.h"
#include "paths.h"
#include "resultreview.h"
#include "reviewtexts.h"

#include <algorithm>

namespace twinsift {

namespace {

QString display(std::string_view bytes) {
    return QString::fromStdString(paths::displayText(bytes));
}

QString cleanupState(const ReviewRowsModel::Row &row) {
    if (!row.cleanupEnabled)
        return QStringLiteral("reviewOnly");
    switch (row.protection) {
    case ReviewRowsModel::Protection::protectedPlace:
        return QStringLiteral("protected");
    case ReviewRowsModel::Protection::unknown:
        return QStringLiteral("checking");
    case ReviewRowsModel::Protection::free:
        break;
    }
    return row.isMarked ? QStringLiteral("trash") : QStringLiteral("keep");
}

QString cleanupText(const ReviewRowsModel::Row &row) {
    if (!row.cleanupEnabled || row.isProtected())
        return ReviewRowsModel::tr("Review Only");
    return row.isMarked ? ReviewRowsModel::tr("TRASH") : ReviewRowsModel::tr("KEEP");
}

QString cleanupTooltip(const ReviewRowsModel::Row &row) {
    if (!row.cleanupEnabled)
        return ReviewRowsModel::tr(
            "Cleanup is enabled only for SHA-256 verified exact duplicates.");
    if (row.isProtected())
        return QString::fromUtf8(ResultReview::protectedLocationText);
    return row.isMarked ? ReviewRowsModel::tr(
                              "Trash this copy. It will be moved to the Trash when cleanup is run.")
                        : ReviewRowsModel::tr("Keep this copy. It will remain in place.");
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
        return display(paths::lastComponent(row->file.url));
    case DisplayPathRole:
        return display(row->file.url);
    case FolderPathRole:
        return display(paths::parent(row->file.url));
    case FileTooltipRole:
        return tr("Full path:") + QLatin1Char('\n') + display(row->file.url);
    case SizeTextRole:
        return QString::fromStdString(formatBytes(row->file.size));
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
        return row->isProtected();
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
    using Update = KeyedRowUpdate<Row>;
    Update::apply(m_rows, std::move(rows),
                  Update::Hooks{
                      [this](int first, int last) { beginRemoveRows({}, first, last); },
                      [this] { endRemoveRows(); },
                      [this](int first, int last) { beginInsertRows({}, first, last); },
                      [this] { endInsertRows(); },
                      [this](int first, int last) { emit dataChanged(index(first), index(last)); },
                  });
}

namespace {
const QList<int> &cleanupRoles() {
    static const QList<int> roles{ReviewRowsModel::IsMarkedRole, ReviewRowsModel::IsProtectedRole,
                                  ReviewRowsModel::CleanupStateRole,
                                  ReviewRowsModel::CleanupTextRole,
                                  ReviewRowsModel::CleanupTooltipRole};
    return roles;
}
} // namespace

void ReviewRowsModel::setMarks(std::vector<std::pair<int, bool>> marks) {
    std::sort(marks.begin(), marks.end());
    int runStart = -1;
    int runEnd = -1;
    const auto flush = [&] {
        if (runStart >= 0)
            emit dataChanged(index(runStart), index(runEnd), cleanupRoles());
        runStart = -1;
    };
    for (const auto &[i, marked] : marks) {
        if (i < 0 || i >= size())
            continue;
        Row &row = m_rows[static_cast<std::size_t>(i)];
        if (row.isMarked == marked)
            continue;
        row.isMarked = marked;
        if (runStart >= 0 && i == runEnd + 1) {
            runEnd = i;
            continue;
        }
        flush();
        runStart = runEnd = i;
    }
    flush();
}

void ReviewRowsModel::updateCleanupState(
    const std::function<bool(const DuplicateFile &)> &isMarked,
    const std::function<Protection(const DuplicateFile &)> &protection) {
    const QList<int> &roles = cleanupRoles();
    int runStart = -1;
    const auto flush = [&](int end) {
        if (runStart >= 0)
            emit dataChanged(index(runStart), index(end - 1), roles);
        runStart = -1;
    };
    for (int i = 0; i < size(); ++i) {
        Row &row = m_rows[static_cast<std::size_t>(i)];
        const bool marked = isMarked(row.file);
        const Protection place = row.cleanupEnabled ? protection(row.file) : row.protection;
        if (marked == row.isMarked && place == row.protection) {
            flush(i);
            continue;
        }
        row.isMarked = marked;
        row.protection = place;
        if (runStart < 0)
            runStart = i;
    }
    flush(size());
}

const ReviewRowsModel::Row *ReviewRowsModel::rowAt(int row) const {
    if (row < 0 || row >= size())
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)];
}

} // namespace twinsift
