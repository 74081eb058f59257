#include "reviewrowsmodel.h"

#include "bytetexts.h"
#include "cleanuptexts.h"
#include "paths.h"
#include "resultreview.h"
#include "resulttexts.h"

#include <algorithm>

namespace twinsift {

namespace {

QString display(std::string_view bytes) {
    return QString::fromStdString(paths::displayText(bytes));
}

ReviewRowsModel::CleanupState cleanupState(const ReviewRowsModel::Row &row) {
    if (!row.cleanupEnabled)
        return ReviewRowsModel::ReviewOnly;
    switch (row.protection) {
    case ReviewRowsModel::Protection::protectedPlace:
        return ReviewRowsModel::Protected;
    case ReviewRowsModel::Protection::unknown:
        return ReviewRowsModel::Checking;
    case ReviewRowsModel::Protection::free:
        break;
    }
    return row.isMarked ? ReviewRowsModel::Trash : ReviewRowsModel::Keep;
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
        return CleanupTexts::protectedLocation();
    return row.isMarked ? ReviewRowsModel::tr(
                              "Trash this copy. It will be moved to the Trash when cleanup is run.")
                        : ReviewRowsModel::tr("Keep this copy. It will remain in place.");
}

} // namespace

ReviewRowsModel::ReviewRowsModel(QObject *parent) : KeyedListModel(parent) {}

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
        return display(paths::lastComponent(row->file->url));
    case DisplayPathRole:
        return display(row->file->url);
    case FolderPathRole:
        return display(paths::parent(row->file->url));
    case FileTooltipRole:
        return tr("Full path:") + QLatin1Char('\n') + display(row->file->url);
    case SizeTextRole:
        return ByteTexts::bytes(row->file->size);
    case VerificationRole:
        return ResultTexts::verificationLabel(row->category);
    case VerificationHelpRole:
        return ResultTexts::verificationHelp(row->category);
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
        return int(cleanupState(*row));
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
    KeyedRowUpdate<Row>::apply(m_rows, std::move(rows), rowUpdateHooks(), [](const Row &row) {
        return PairKey{row.groupId, row.file->url};
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

// Collects the runs of changed rows and tells them as few dataChanged
// signals: each run its own while there are few, else one over the whole
// span, as a bulk mark touches rows all over the table and a view re-reads
// only the rows it shows anyway.
class ChangedRuns {
public:
    void add(int row) {
        if (!m_runs.empty() && m_runs.back().second + 1 == row)
            m_runs.back().second = row;
        else
            m_runs.emplace_back(row, row);
    }
    template <typename Tell> void tell(Tell tell) const {
        constexpr std::size_t separately = 16;
        if (m_runs.size() > separately)
            tell(m_runs.front().first, m_runs.back().second);
        else
            for (const auto &[first, last] : m_runs)
                tell(first, last);
    }

private:
    std::vector<std::pair<int, int>> m_runs;
};
} // namespace

void ReviewRowsModel::setMarks(std::vector<std::pair<int, bool>> marks) {
    std::sort(marks.begin(), marks.end());
    ChangedRuns runs;
    for (const auto &[i, marked] : marks) {
        if (i < 0 || i >= size())
            continue;
        Row &row = m_rows[static_cast<std::size_t>(i)];
        if (row.isMarked == marked)
            continue;
        row.isMarked = marked;
        runs.add(i);
    }
    runs.tell([this](int first, int last) {
        emit dataChanged(index(first), index(last), cleanupRoles());
    });
}

void ReviewRowsModel::updateCleanupState(const std::function<bool(const Row &)> &isMarked,
                                         const std::function<Protection(const Row &)> &protection) {
    ChangedRuns runs;
    for (int i = 0; i < size(); ++i) {
        Row &row = m_rows[static_cast<std::size_t>(i)];
        const bool marked = isMarked(row);
        const Protection place = row.cleanupEnabled ? protection(row) : row.protection;
        if (marked == row.isMarked && place == row.protection)
            continue;
        row.isMarked = marked;
        row.protection = place;
        runs.add(i);
    }
    runs.tell([this](int first, int last) {
        emit dataChanged(index(first), index(last), cleanupRoles());
    });
}

const ReviewRowsModel::Row *ReviewRowsModel::rowAt(int row) const {
    if (row < 0 || row >= size())
        return nullptr;
    return &m_rows[static_cast<std::size_t>(row)];
}

} // namespace twinsift
