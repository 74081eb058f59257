#include "recentscanstore.h"

#include "paths.h"
#include "safemove.h"

#include "recentscanfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJSEngine>
#include <QLoggingCategory>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcRecent, "twinsift.recent", QtInfoMsg)
} // namespace

RecentScanStore::RecentScanStore(QObject *parent) : QObject(parent) {
    load();
}

// A worker still reading drops what it read.
RecentScanStore::~RecentScanStore() = default;

RecentScanStore *RecentScanStore::shared() {
    // Lives until the process ends, as screens come and go around it.
    static RecentScanStore *const instance = new RecentScanStore(nullptr);
    return instance;
}

RecentScanStore *RecentScanStore::create(QQmlEngine *, QJSEngine *) {
    RecentScanStore *store = shared();
    // The engine must not delete the process-wide store when it goes away.
    QJSEngine::setObjectOwnership(store, QJSEngine::CppOwnership);
    return store;
}

std::optional<QString> RecentScanStore::storageLocation() {
    return QFile::decodeName(
        QByteArray::fromStdString(paths::appending(paths::appDataHome(), "recent-scans.json")));
}

void RecentScanStore::setRecords(const QList<RecentScanRecord> &records) {
    // What is still being read is replaced before it arrives.
    if (m_loading)
        m_replacedWhileLoading = true;
    change(records);
}

void RecentScanStore::change(const QList<RecentScanRecord> &records) {
    if (records == m_records)
        return;
    m_records = records;
    emit recordsChanged();
}

void RecentScanStore::setPersistenceError(const QString &message) {
    if (message == m_persistenceError)
        return;
    m_persistenceError = message;
    emit persistenceErrorChanged();
}

void RecentScanStore::record(const DuplicateScanResult &result) {
    QList<RecentScanRecord> records = m_records;
    records.prepend(RecentScanRecord::fromResult(result));
    // The entries still being read are trimmed once they arrive.
    if (m_loading)
        m_recordedWhileLoading = true;
    if (records.size() > maximumRecords)
        records.resize(maximumRecords);
    change(records);
    persist();
}

void RecentScanStore::record(const ScanResultValue &result) {
    if (result.hasValue())
        record(result.core());
}

void RecentScanStore::clear() {
    setRecords({});
    persist();
}

void RecentScanStore::load() {
    const auto location = storageLocation();
    if (!location) {
        setPersistenceError(tr(locationUnavailableMessage));
        return;
    }
    const QFileInfo info(*location);
    if (!info.exists()) {
        change({});
        setPersistenceError(QString());
        return;
    }
    if (info.size() > readAtOnceBytes) {
        m_loading = true;
        if (m_read.start([path = *location](const auto &reply) {
                const Loaded loaded = read(path);
                reply([loaded](RecentScanStore *self) { self->land(loaded); });
            }))
            return;
        // No thread to spare: read it here, slow as it is.
        m_loading = false;
    }
    apply(read(*location));
}

RecentScanStore::Loaded RecentScanStore::read(const QString &location) {
    QFile file(location);
    Loaded loaded;
    if (file.open(QIODevice::ReadOnly))
        loaded = recentscanfile::decode(file.readAll());
    if (loaded)
        std::stable_sort(loaded->begin(), loaded->end(),
                         [](const RecentScanRecord &a, const RecentScanRecord &b) {
                             return a.scannedAt() > b.scannedAt();
                         });
    return loaded;
}

void RecentScanStore::apply(const Loaded &loaded) {
    if (!loaded) {
        qCWarning(lcRecent) << "history unreadable:" << storageLocation().value_or(QString());
        m_unreadableOnDisk = true;
        change({});
        setPersistenceError(tr(readFailedMessage));
        return;
    }
    change(*loaded);
    setPersistenceError(QString());
}

void RecentScanStore::land(const Loaded &loaded) {
    m_loading = false;
    const bool save = std::exchange(m_saveAfterLoading, false);
    if (!loaded) {
        qCWarning(lcRecent) << "history unreadable:" << storageLocation().value_or(QString());
        m_unreadableOnDisk = true;
        setPersistenceError(tr(readFailedMessage));
    } else if (!m_replacedWhileLoading) {
        // Scans recorded meanwhile are the newest; the file's entries follow
        // as they would have after a load at once.
        QList<RecentScanRecord> records = m_records;
        records.append(*loaded);
        if (std::exchange(m_recordedWhileLoading, false) && records.size() > maximumRecords)
            records.resize(maximumRecords);
        change(records);
        setPersistenceError(QString());
    }
    m_replacedWhileLoading = m_recordedWhileLoading = false;
    if (save)
        persist();
}

void RecentScanStore::persist() {
    if (m_loading) {
        // The file still holds entries not read yet.
        m_saveAfterLoading = true;
        return;
    }
    const auto location = storageLocation();
    if (!location) {
        setPersistenceError(tr(locationUnavailableMessage));
        return;
    }
    const QString folder = QFileInfo(*location).path();
    bool saved = QDir().mkpath(folder) && setUnreadableFileAside(*location);
    if (saved) {
        QSaveFile file(*location);
        saved = file.open(QIODevice::WriteOnly);
        if (saved) {
            const QByteArray bytes = recentscanfile::encode(m_records);
            saved = file.write(bytes) == bytes.size() && file.commit();
        }
    }
    if (!saved) {
        qCWarning(lcRecent) << "history not saved:" << *location;
        setPersistenceError(tr(saveFailedMessage));
        return;
    }
    setPersistenceError(QString());
}

bool RecentScanStore::setUnreadableFileAside(const QString &location) {
    if (!m_unreadableOnDisk)
        return true;
    // The user's whole history may still be in there: keep it where a
    // person can recover it, beside what earlier runs set aside, never over
    // it.
    const QByteArray from = QFile::encodeName(location);
    if (const int error = safemove::setAside(from.toStdString(), ".unreadable")) {
        qCWarning(lcRecent) << "unreadable history not set aside:" << std::strerror(error);
        return false;
    }
    m_unreadableOnDisk = false;
    return true;
}

} // namespace twinsift
