#pragma once

#include "backgroundtask.h"
#include "recentscanrecord.h"
#include "scanresultvalue.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

class QJSEngine;
class QQmlEngine;

namespace twinsift {

// The history of completed scans, newest first, kept in one JSON file that is
// read once at construction and rewritten whole after every change. A
// storage problem only sets persistenceError; it never reaches a scan.
//
// A history file of the usual size is read before the constructor returns.
// One far larger than fifty entries need is read on a worker thread instead,
// so that the window is not held up, and its entries arrive later: scans
// recorded meanwhile stay in front of them, as if the file had been read at
// once, and a history cleared meanwhile stays empty. Nothing is saved over
// the file before it has been read.
class RecentScanStore : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QList<twinsift::RecentScanRecord> records READ records WRITE setRecords NOTIFY
                   recordsChanged)
    // Empty while nothing has gone wrong.
    Q_PROPERTY(QString persistenceError READ persistenceError NOTIFY persistenceErrorChanged)
    Q_PROPERTY(int maximumRecords READ maximumRecordCount CONSTANT)

public:
    static constexpr int maximumRecords = 50;

    // In English; persistenceError() holds them in the user's language.
    static constexpr const char *locationUnavailableMessage =
        QT_TR_NOOP("Recent Scans storage location is unavailable.");
    static constexpr const char *readFailedMessage = QT_TR_NOOP(
        "Recent Scans history could not be read. New scans can still be recorded locally.");
    static constexpr const char *saveFailedMessage =
        QT_TR_NOOP("Recent Scans could not be saved. Current scan results are unaffected.");

    // History files larger than this are read on a worker thread.
    static constexpr qint64 readAtOnceBytes = 1024 * 1024;

    // Loads the history file, or starts loading a large one. The application
    // uses shared(); separate instances exist for tests of loading. There is
    // deliberately no default constructor: with one, QML would make a second
    // store of its own instead of asking create().
    explicit RecentScanStore(QObject *parent);
    ~RecentScanStore() override;

    // The one store of the process, made on first use.
    static RecentScanStore *shared();
    static RecentScanStore *create(QQmlEngine *, QJSEngine *);

    const QList<RecentScanRecord> &records() const { return m_records; }
    void setRecords(const QList<RecentScanRecord> &records);
    QString persistenceError() const { return m_persistenceError; }

    // Adds an entry for a finished scan at the front, keeps the newest
    // maximumRecords and saves.
    void record(const DuplicateScanResult &result);
    Q_INVOKABLE void record(const twinsift::ScanResultValue &result);
    Q_INVOKABLE void persist();
    // Empties the history and saves the empty list.
    Q_INVOKABLE void clear();

    // Where the history file lives, or nothing when the platform names no
    // data folder.
    static std::optional<QString> storageLocation();

signals:
    void recordsChanged();
    void persistenceErrorChanged();

private:
    using Loaded = std::optional<QList<RecentScanRecord>>;

    static int maximumRecordCount() { return maximumRecords; }
    void load();
    // The entries of the file at location, newest first, or nothing when it
    // cannot be read.
    static Loaded read(const QString &location);
    void apply(const Loaded &loaded);
    // Takes in what a worker read, with what changed meanwhile.
    void land(const Loaded &loaded);
    void change(const QList<RecentScanRecord> &records);
    bool setUnreadableFileAside(const QString &location);
    void setPersistenceError(const QString &message);

    QList<RecentScanRecord> m_records;
    QString m_persistenceError;
    // The file on disk could not be read; it goes aside before the first
    // save would replace it.
    bool m_unreadableOnDisk = false;
    // A worker is reading the file. Meanwhile saves wait for it, and the
    // list holds only what was recorded since, unless it was replaced.
    bool m_loading = false;
    bool m_replacedWhileLoading = false;
    bool m_saveAfterLoading = false;
    bool m_recordedWhileLoading = false;
    // A read from a folder on a dead mount would hang; nothing waits for it.
    BackgroundTask<RecentScanStore> m_read{this, WorkerKind::ownThread};
};

} // namespace twinsift
