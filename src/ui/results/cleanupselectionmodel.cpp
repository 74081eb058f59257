#include "cleanupselectionmodel.h"

#include "bytetexts.h"
#include "paths.h"
#include "resulttexts.h"

#include <algorithm>
#include <utility>

namespace twinsift {

namespace {

QString display(std::string_view bytes) {
    return QString::fromStdString(paths::displayText(bytes));
}

} // namespace

CleanupSelectionModel::CleanupSelectionModel(QObject *parent) : KeyedListModel(parent) {}

int CleanupSelectionModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant CleanupSelectionModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.parent().isValid() || index.row() < 0 ||
        index.row() >= rowCount())
        return {};
    // Decoded on demand: a bulk mark can list tens of thousands of files,
    // of which a view shows a screenful.
    const DuplicateFile &file = *m_rows[static_cast<std::size_t>(index.row())].file;
    switch (role) {
    case Qt::DisplayRole:
    case FileNameRole:
        return display(paths::lastComponent(file.url));
    case LocationRole:
        return ResultTexts::relativeFolder(m_rootPath, file.url);
    case SizeTextRole:
        return ByteTexts::bytes(file.size);
    case DisplayPathRole:
        return display(file.url);
    }
    return {};
}

QHash<int, QByteArray> CleanupSelectionModel::roleNames() const {
    return {
        {FileNameRole, "fileName"},
        {LocationRole, "location"},
        {SizeTextRole, "sizeText"},
        {DisplayPathRole, "displayPath"},
    };
}

void CleanupSelectionModel::setFiles(const std::string &rootPath, FileList list,
                                     std::vector<int> places) {
    std::vector<Row> rows;
    rows.reserve(places.size());
    for (const int place : places)
        if (list && place >= 0 && static_cast<std::size_t>(place) < list->size())
            rows.push_back({&(*list)[static_cast<std::size_t>(place)], place});
    const bool rootMoved = rootPath != m_rootPath;
    m_rootPath = rootPath;
    using Update = KeyedRowUpdate<Row>;
    // The old rows point into the old list until the update is done.
    const FileList old = std::exchange(m_list, std::move(list));
    if (old == m_list || rows.empty() || m_rows.empty())
        Update::applySorted(m_rows, std::move(rows), rowUpdateHooks(),
                            [](const Row &row) { return row.place; });
    else
        Update::apply(m_rows, std::move(rows), rowUpdateHooks(),
                      [](const Row &row) -> std::string_view { return row.file->url; });
    // The locations are told relative to the root.
    if (rootMoved && !m_rows.empty())
        emit dataChanged(index(0), index(rowCount() - 1), {LocationRole});
}

std::vector<CleanupSelectionModel::Row>::iterator CleanupSelectionModel::find(int place) {
    return std::lower_bound(m_rows.begin(), m_rows.end(), place,
                            [](const Row &row, int p) { return row.place < p; });
}

void CleanupSelectionModel::addFile(int place) {
    const auto it = find(place);
    if (!m_list || place < 0 || static_cast<std::size_t>(place) >= m_list->size() ||
        (it != m_rows.end() && it->place == place))
        return;
    const int at = static_cast<int>(it - m_rows.begin());
    beginInsertRows({}, at, at);
    m_rows.insert(it, Row{&(*m_list)[static_cast<std::size_t>(place)], place});
    endInsertRows();
}

void CleanupSelectionModel::removeFile(int place) {
    const auto it = find(place);
    if (it == m_rows.end() || it->place != place)
        return;
    const int at = static_cast<int>(it - m_rows.begin());
    beginRemoveRows({}, at, at);
    m_rows.erase(it);
    endRemoveRows();
}

} // namespace twinsift
