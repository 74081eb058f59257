#pragma once

#include "cleanupreport.h"

#include <QAbstractListModel>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <vector>

namespace twinsift {

// The files a cleanup run did not move, in the order they failed: the path
// as display text and the reason.
class CleanupFailuresModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Failures belong to a CleanupJob.")

public:
    enum Role {
        PathRole = Qt::UserRole + 1,
        MessageRole,
    };
    Q_ENUM(Role)

    explicit CleanupFailuresModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void setFailures(const std::vector<CleanupFailure> &failures);
    // The symbol a report over these failures shows: a check when there are
    // none, a warning otherwise.
    QString statusIcon() const;

private:
    struct Row {
        QString path;
        QString message;
    };
    std::vector<Row> m_rows;
};

} // namespace twinsift
