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

    // A file of the list and its place in the cleanup's order.
    struct Entry {
        DuplicateFile file;
        int order = 0;
    };
    // Moves to exactly these files, given in order.
    void setFiles(const std::string &rootPath, std::vector<Entry> files);
    // Adds or drops single files, each named by its place in the order;
    // cheaper than setFiles when a few marks change among many.
    void addFile(Entry entry);
    void removeFile(int order);

private:
    struct Row {
        std::string key;
        DuplicateFile file;
        int order = 0;
        friend bool operator==(const Row &a, const Row &b) { return a.file == b.file; }
    };
    std::vector<Row>::iterator find(int order);

    std::string m_rootPath;
    std::vector<Row> m_rows;
};

} // namespace twinsift
