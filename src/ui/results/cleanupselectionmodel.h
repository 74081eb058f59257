#pragma once

#include "duplicatefile.h"
#include "keyedrowupdate.h"

#include <QString>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <string>
#include <vector>

namespace twinsift {

// The files a cleanup would move, in the order it would move them, as the
// review sheet lists them: name, folder below the scanned folder, size. A
// change of the marks inserts and removes rows; it never resets the list.
class CleanupSelectionModel : public KeyedListModel {
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

    // Every file a cleanup could move, in its order; the rows are places in
    // it, so a bulk mark over tens of thousands of files copies no paths.
    using FileList = std::shared_ptr<const std::vector<DuplicateFile>>;
    // Moves to exactly the files at these places of list, in increasing order.
    void setFiles(const std::string &rootPath, FileList list, std::vector<int> places);
    bool lists(const FileList &list) const { return list == m_list; }
    // Adds or drops single files of the current list, each named by its
    // place; cheaper than setFiles when a few marks change among many.
    void addFile(int place);
    void removeFile(int place);

private:
    struct Row {
        const DuplicateFile *file = nullptr;
        int place = 0;
        friend bool operator==(const Row &a, const Row &b) { return *a.file == *b.file; }
    };
    std::vector<Row>::iterator find(int place);

    std::string m_rootPath;
    FileList m_list;
    std::vector<Row> m_rows;
};

} // namespace twinsift
