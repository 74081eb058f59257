#pragma once

#include "duplicatefile.h"

#include <QAbstractListModel>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <string>
#include <vector>

namespace twinsift {

// The files a cleanup would move, in the order it would move them, as the
// review sheet lists them: name, folder below the scanned folder, size. A
// change of the marks inserts and removes rows; it never resets the list.
class CleanupSelectionModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The selection belongs to a DuplicateReviewModel.")

public:
    enum Role {
        FileNameRole = Qt::UserRole + 1,
        LocationRole,
        SizeTextRole,
        DisplayPathRole,
    };
    Q_ENUM(Role)

    explicit CleanupSelectionModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void setFiles(const std::string &rootPath, const std::vector<DuplicateFile> &files);

private:
    struct Row {
        std::string key;
        QString fileName;
        QString location;
        QString sizeText;
        QString displayPath;
        friend bool operator==(const Row &, const Row &) = default;
    };
    std::vector<Row> m_rows;
};

} // namespace twinsift
