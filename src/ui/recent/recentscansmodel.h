#pragma once

#include "folderavailability.h"
#include "recentscanrecord.h"

#include <QAbstractListModel>
#include <QHash>
#include <QtQml/qqmlregistration.h>

#include <vector>

namespace twinsift {

class RecentScanStore;

// The history as the Recent Scans screen lists it: one row per entry of the
// store, newest first, with the card's figures as text and whether the
// folder is there. Availability is learnt off the main thread and follows
// the disk: it is asked again whenever the screen calls checkAvailability
// (shown, window focused, card drawn again) and for every new entry.
class RecentScansModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        RecordRole = Qt::UserRole + 1,
        RecordIdRole,
        FolderNameRole,
        FolderPathRole,
        ScannedAtRole,
        FilesRole,
        GroupsRole,
        DuplicatesRole,
        SavingsRole,
        IgnoredRole,
        SecondsRole,
        // False until the first answer for the folder arrives, so a card
        // never claims a folder is there before the disk said so.
        AvailabilityKnownRole,
        AvailableRole,
    };
    Q_ENUM(Role)

    // Lists RecentScanStore::shared(), starting from the last answers any
    // such list had, so a screen shown again draws its badges at once.
    explicit RecentScansModel(QObject *parent = nullptr);
    RecentScansModel(RecentScanStore *store, FolderAvailability::Probe probe,
                     std::chrono::milliseconds deadline, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;
    int count() const { return static_cast<int>(m_rows.size()); }

    Q_INVOKABLE void checkAvailability();
    Q_INVOKABLE void checkAvailabilityAt(int row);
    // The entry behind a card, for a rescan request.
    Q_INVOKABLE twinsift::RecentScanRecord recordAt(int row) const;
    // Shows the folder in the file manager; does nothing while it is known
    // to be gone.
    Q_INVOKABLE void reveal(int row);
    // Empties the history and saves the empty list.
    Q_INVOKABLE void clearHistory();

signals:
    void countChanged();
    // Nothing on this desktop could show a record's folder.
    void desktopUnanswered(const QString &message);

private:
    RecentScansModel(RecentScanStore *store, FolderAvailability::Probe probe,
                     std::chrono::milliseconds deadline, bool sharesAnswers, QObject *parent);
    // The newest answer for every folder asked about, by the lists of the
    // shared store. Main thread only.
    static QHash<QByteArray, bool> &lastAnswers();

    void follow();
    void applyAnswer(const QByteArray &path, bool available);
    static QByteArray key(const RecentScanRecord &record);

    RecentScanStore *m_store;
    FolderAvailability *m_availability;
    std::vector<RecentScanRecord> m_rows;
    QHash<QByteArray, bool> m_available;
    bool m_sharesAnswers = false;
};

} // namespace twinsift
