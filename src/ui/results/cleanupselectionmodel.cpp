#include "cleanupselectionmodel.h"

#include "formatbytes.h"
#include "keyedrowupdate.h"
#include "paths.h"
#include "reviewtexts.h"

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
    const Row &row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case FileNameRole:
        return row.fileName;
    case LocationRole:
        return row.location;
    case SizeTextRole:
        return row.sizeText;
    case DisplayPathRole:
        return row.displayPath;
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

void CleanupSelectionModel::setFiles(const std::string &rootPath,
                                     const std::vector<DuplicateFile> &files) {
    std::vector<Row> rows;
    rows.reserve(files.size());
    for (const auto &file : files)
        rows.push_back({file.url, display(paths::lastComponent(file.url)),
                        display(ReviewTexts::relativeFolder(rootPath, file.url)),
                        QString::fromStdString(formatBytes(file.size)), display(file.url)});
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

} // namespace twinsift
