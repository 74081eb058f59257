#include "recentscansmodel.h"

#include "desktopfiles.h"
#include "recentscanstore.h"
#include "recentscantexts.h"

#include <QPointer>
#include <QSet>

#include <algorithm>

namespace twinsift {

RecentScansModel::RecentScansModel(QObject *parent)
    : RecentScansModel(RecentScanStore::shared(), FolderAvailability::isExistingFolder,
                       FolderAvailability::defaultDeadline, true, parent) {}

RecentScansModel::RecentScansModel(RecentScanStore *store, FolderAvailability::Probe probe,
                                   std::chrono::milliseconds deadline, QObject *parent)
    : RecentScansModel(store, std::move(probe), deadline, false, parent) {}

RecentScansModel::RecentScansModel(RecentScanStore *store, FolderAvailability::Probe probe,
                                   std::chrono::milliseconds deadline, bool sharesAnswers,
                                   QObject *parent)
    : QAbstractListModel(parent), m_store(store),
      m_availability(new FolderAvailability(this, std::move(probe), deadline)),
      m_sharesAnswers(sharesAnswers) {
    // The last word stands until the disk is asked again, right below: a
    // badge that is blank for a moment and then appears reads as a flicker.
    if (m_sharesAnswers)
        m_available = lastAnswers();
    connect(m_availability, &FolderAvailability::answered, this, &RecentScansModel::applyAnswer);
    connect(m_store, &RecentScanStore::recordsChanged, this, &RecentScansModel::follow);
    follow();
}

QByteArray RecentScansModel::key(const RecentScanRecord &record) {
    const std::string &path = record.folderPath();
    return QByteArray(path.data(), static_cast<qsizetype>(path.size()));
}

int RecentScansModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant RecentScansModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RecentScanRecord &record = m_rows[static_cast<size_t>(index.row())];
    namespace texts = recentscantexts;
    switch (role) {
    case RecordRole:
        return QVariant::fromValue(record);
    case RecordIdRole:
        return record.idText();
    case FolderNameRole:
        return texts::folderName(record.folderPath());
    case FolderPathRole:
        return record.folderPathText();
    case ScannedAtRole:
        return texts::scannedAt(record.scannedAt());
    case FilesRole:
        return texts::count(record.filesScanned());
    case GroupsRole:
        return texts::count(record.duplicateGroups());
    case DuplicatesRole:
        return texts::count(record.duplicateFiles());
    case SavingsRole:
        return texts::savings(record.potentialSavings());
    case IgnoredRole:
        return texts::count(record.ignoredSmallFiles());
    case SecondsRole:
        return texts::seconds(record.elapsedSeconds());
    case AvailabilityKnownRole:
        return m_available.contains(key(record));
    case AvailableRole:
        return m_available.value(key(record), false);
    default:
        return {};
    }
}

QHash<int, QByteArray> RecentScansModel::roleNames() const {
    return {
        {RecordRole, "record"},
        {RecordIdRole, "recordId"},
        {FolderNameRole, "folderName"},
        {FolderPathRole, "folderPath"},
        {ScannedAtRole, "scannedAtText"},
        {FilesRole, "filesText"},
        {GroupsRole, "groupsText"},
        {DuplicatesRole, "duplicatesText"},
        {SavingsRole, "savingsText"},
        {IgnoredRole, "ignoredText"},
        {SecondsRole, "secondsText"},
        {AvailabilityKnownRole, "availabilityKnown"},
        {AvailableRole, "folderAvailable"},
    };
}

void RecentScansModel::follow() {
    const QList<RecentScanRecord> &next = m_store->records();
    const int before = count();

    QSet<QUuid> staying;
    for (const RecentScanRecord &record : next)
        staying.insert(record.id());
    // Remove the entries that left, in runs from the end.
    for (int row = count() - 1; row >= 0;) {
        if (staying.contains(m_rows[static_cast<size_t>(row)].id())) {
            --row;
            continue;
        }
        int first = row;
        while (first > 0 && !staying.contains(m_rows[static_cast<size_t>(first - 1)].id()))
            --first;
        beginRemoveRows({}, first, row);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + row + 1);
        endRemoveRows();
        row = first - 1;
    }
    // The store only ever adds, trims and clears, so what stays keeps its
    // order. Should that ever change, the rows are laid down afresh.
    std::vector<QUuid> keptInNextOrder;
    for (const RecentScanRecord &record : next)
        if (std::any_of(m_rows.begin(), m_rows.end(),
                        [&](const RecentScanRecord &r) { return r.id() == record.id(); }))
            keptInNextOrder.push_back(record.id());
    const bool sameOrder =
        std::equal(keptInNextOrder.begin(), keptInNextOrder.end(), m_rows.begin(), m_rows.end(),
                   [](const QUuid &id, const RecentScanRecord &r) { return id == r.id(); });
    if (!sameOrder && !m_rows.empty()) {
        beginRemoveRows({}, 0, count() - 1);
        m_rows.clear();
        endRemoveRows();
    }
    // Insert the arrivals where the store has them.
    std::vector<std::string> arrived;
    // What stayed is now an ordered subsequence of the store's list, so
    // every gap in front of a kept row is one run of arrivals.
    for (qsizetype row = 0; row < next.size();) {
        if (row < count() && m_rows[static_cast<size_t>(row)].id() == next[row].id()) {
            ++row;
            continue;
        }
        const bool keptAhead = row < count();
        const QUuid nextKept = keptAhead ? m_rows[static_cast<size_t>(row)].id() : QUuid();
        qsizetype last = row;
        while (last + 1 < next.size() && (!keptAhead || next[last + 1].id() != nextKept))
            ++last;
        beginInsertRows({}, int(row), int(last));
        m_rows.insert(m_rows.begin() + row, next.begin() + row, next.begin() + last + 1);
        endInsertRows();
        for (qsizetype r = row; r <= last; ++r)
            arrived.push_back(next[r].folderPath());
        row = last + 1;
    }
    if (count() != before)
        emit countChanged();
    if (!arrived.empty())
        m_availability->check(arrived);
}

void RecentScansModel::checkAvailability() {
    std::vector<std::string> paths;
    paths.reserve(m_rows.size());
    for (const RecentScanRecord &record : m_rows)
        paths.push_back(record.folderPath());
    m_availability->check(paths);
}

void RecentScansModel::checkAvailabilityAt(int row) {
    if (row >= 0 && row < count())
        m_availability->check({m_rows[static_cast<size_t>(row)].folderPath()});
}

RecentScanRecord RecentScansModel::recordAt(int row) const {
    if (row < 0 || row >= count())
        return {};
    return m_rows[static_cast<size_t>(row)];
}

void RecentScansModel::reveal(int row) {
    if (row < 0 || row >= count())
        return;
    const RecentScanRecord &record = m_rows[static_cast<size_t>(row)];
    // Refused only for a folder known to be gone; one not asked about yet
    // is handed to the file manager, which says so itself if it is gone.
    if (!m_available.value(key(record), true))
        return;
    DesktopFiles::reveal(record.folderPath(), [self = QPointer(this)] {
        if (self)
            emit self->desktopUnanswered(tr("No file manager is available to show this folder."));
    });
}

void RecentScansModel::clearHistory() {
    m_store->clear();
}

QHash<QByteArray, bool> &RecentScansModel::lastAnswers() {
    static QHash<QByteArray, bool> answers;
    return answers;
}

void RecentScansModel::applyAnswer(const QByteArray &path, bool available) {
    if (m_sharesAnswers)
        lastAnswers().insert(path, available);
    const auto known = m_available.constFind(path);
    if (known != m_available.constEnd() && *known == available)
        return;
    m_available.insert(path, available);
    for (int row = 0; row < count(); ++row)
        if (key(m_rows[static_cast<size_t>(row)]) == path)
            emit dataChanged(index(row), index(row), {AvailabilityKnownRole, AvailableRole});
}

} // namespace twinsift
