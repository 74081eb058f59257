#include "recentscanstore.h"

#include "recentscanfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJSEngine>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcRecent, "twinsift.recent")
} // namespace

RecentScanStore::RecentScanStore(QObject *parent) : QObject(parent) {
    load();
}

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
    const QStringList folders =
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    if (folders.isEmpty() || folders.first().isEmpty())
        return std::nullopt;
    return folders.first() + QStringLiteral("/Ambrivo/Twinsift/recent-scans.json");
}

void RecentScanStore::setRecords(const QList<RecentScanRecord> &records) {
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
    if (records.size() > maximumRecords)
        records.resize(maximumRecords);
    setRecords(records);
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
        setPersistenceError(QString::fromUtf8(locationUnavailableMessage));
        return;
    }
    if (!QFileInfo::exists(*location)) {
        setRecords({});
        setPersistenceError(QString());
        return;
    }
    QFile file(*location);
    std::optional<QList<RecentScanRecord>> loaded;
    if (file.open(QIODevice::ReadOnly))
        loaded = recentscanfile::decode(file.readAll());
    if (!loaded) {
        qCWarning(lcRecent) << "history unreadable:" << *location;
        m_unreadableOnDisk = true;
        setRecords({});
        setPersistenceError(QString::fromUtf8(readFailedMessage));
        return;
    }
    std::stable_sort(loaded->begin(), loaded->end(),
                     [](const RecentScanRecord &a, const RecentScanRecord &b) {
                         return a.scannedAt() > b.scannedAt();
                     });
    setRecords(*loaded);
    setPersistenceError(QString());
}

void RecentScanStore::persist() {
    const auto location = storageLocation();
    if (!location) {
        setPersistenceError(QString::fromUtf8(locationUnavailableMessage));
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
        setPersistenceError(QString::fromUtf8(saveFailedMessage));
        return;
    }
    setPersistenceError(QString());
}

bool RecentScanStore::setUnreadableFileAside(const QString &location) {
    if (!m_unreadableOnDisk)
        return true;
    // The user's whole history may still be in there: keep it where a
    // person can recover it, replacing what an earlier run set aside.
    const QByteArray from = QFile::encodeName(location);
    const QByteArray to = from + ".unreadable";
    if (::rename(from.constData(), to.constData()) != 0 && errno != ENOENT) {
        qCWarning(lcRecent) << "unreadable history not set aside:" << std::strerror(errno);
        return false;
    }
    m_unreadableOnDisk = false;
    return true;
}

} // namespace twinsift
