#include "cleanupfailuresmodel.h"

#include "cleanuptexts.h"

#include "paths.h"

namespace twinsift {

CleanupFailuresModel::CleanupFailuresModel(QObject *parent) : QAbstractListModel(parent) {}

int CleanupFailuresModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QVariant CleanupFailuresModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.parent().isValid() || index.row() < 0 ||
        index.row() >= rowCount())
        return {};
    const Row &row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case PathRole:
        return row.path;
    case MessageRole:
        return row.message;
    }
    return {};
}

QHash<int, QByteArray> CleanupFailuresModel::roleNames() const {
    return {{PathRole, "path"}, {MessageRole, "message"}};
}

void CleanupFailuresModel::setFailures(const std::vector<CleanupFailure> &failures) {
    if (!m_rows.empty()) {
        beginRemoveRows({}, 0, rowCount() - 1);
        m_rows.clear();
        endRemoveRows();
    }
    if (failures.empty())
        return;
    beginInsertRows({}, 0, static_cast<int>(failures.size()) - 1);
    for (const auto &failure : failures)
        m_rows.push_back({QString::fromStdString(paths::displayText(failure.path)),
                          CleanupTexts::failure(failure)});
    endInsertRows();
}

QString CleanupFailuresModel::statusIcon() const {
    return m_rows.empty() ? QStringLiteral("checkmark.circle.fill")
                          : QStringLiteral("exclamationmark.triangle.fill");
}

} // namespace twinsift
