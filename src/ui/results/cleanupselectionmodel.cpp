#include "cleanupselectionmodel.h"

#include "formatbytes.h"
#include "keyedrowupdate.h"
#include "paths.h"
#include "reviewtexts.h"

#include <algorithm>

namespace twinsift {

namespace {

QString display(std::string_view bytes) {
    return QString::fromStdString(paths::displayText(bytes));
}

} // namespace

CleanupSelectionModel::CleanupSelectionModel(QObject *parent) : QAbstractListModel(parent) {}

int CleanupSelectionModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant CleanupSelectionModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.parent().isValid() || index.row() < 0 ||
        index.row() >= rowCount())
        return {};
    // Decoded on demand: a bulk mark can list tens of thousands of files,
    // of which a view shows a screenful.
    const DuplicateFile &file = m_rows[static_cast<std::size_t>(index.row())].file;
    switch (role) {
    case Qt::DisplayRole:
    case FileNameRole:
        return display(paths::lastComponent(file.url));
    case LocationRole:
        return display(ReviewTexts::relativeFolder(m_rootPath, file.url));
    case SizeTextRole:
        return QString::fromStdString(formatBytes(file.size));
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

void CleanupSelectionModel::setFiles(const std::string &rootPath, std::vector<Entry> files) {
    std::vector<Row> rows;
    rows.reserve(files.size());
    for (auto &entry : files) {
        std::string key = entry.file.url;
        rows.push_back({std::move(key), std::move(entry.file), entry.order});
    }
    const bool rootMoved = rootPath != m_rootPath;
    m_rootPath = rootPath;
    using Update = KeyedRowUpdate<Row>;
    Update::apply(m_rows, std::move(rows),
                  Update::Hooks{
                      [this](int first, int last) { beginRemoveRows({}, first, last); },
                      [this] { endRemoveRows(); },
                      [this](int first, int last) { beginInsertRows({}, first, last); },
                      [this] { endInsertRows(); },
                      [this](int first, int last) { emit dataChanged(index(first), index(last)); },
                  });
    // The locations are told relative to the root.
    if (rootMoved && !m_rows.empty())
        emit dataChanged(index(0), index(rowCount() - 1), {LocationRole});
}

std::vector<CleanupSelectionModel::Row>::iterator CleanupSelectionModel::find(int order) {
    return std::lower_bound(m_rows.begin(), m_rows.end(), order,
                            [](const Row &row, int o) { return row.order < o; });
}

void CleanupSelectionModel::addFile(Entry entry) {
    const auto it = find(entry.order);
    if (it != m_rows.end() && it->order == entry.order)
        return;
    const int at = static_cast<int>(it - m_rows.begin());
    beginInsertRows({}, at, at);
    std::string key = entry.file.url;
    m_rows.insert(it, Row{std::move(key), std::move(entry.file), entry.order});
    endInsertRows();
}

void CleanupSelectionModel::removeFile(int order) {
    const auto it = find(order);
    if (it == m_rows.end() || it->order != order)
        return;
    const int at = static_cast<int>(it - m_rows.begin());
    beginRemoveRows({}, at, at);
    m_rows.erase(it);
    endRemoveRows();
}

} // namespace twinsift
