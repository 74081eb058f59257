#include "historyfixture.h"

#include "fileurls.h"
#include "recentscanstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJSEngine>
#include <QUuid>

namespace twinsift::testing {

namespace {
QString historyFolder() {
    return QFileInfo(RecentScanStore::storageLocation().value_or(QString())).path();
}
QString ambrivoFolder() {
    return QFileInfo(historyFolder()).path();
}
} // namespace

HistoryFixture *HistoryFixture::create(QQmlEngine *, QJSEngine *engine) {
    static HistoryFixture *const fixture = new HistoryFixture;
    engine->setObjectOwnership(fixture, QJSEngine::CppOwnership);
    return fixture;
}

void HistoryFixture::add(const QUrl &folder, const QJSValue &figures) {
    auto figure = [&](const char *name) {
        const QJSValue value = figures.property(QString::fromLatin1(name));
        return value.isNumber() ? value.toNumber() : 0.0;
    };
    const RecentScanRecord record(
        QUuid::createUuid(), QDateTime::currentDateTimeUtc(), fileurls::toPath(folder),
        qint64(figure("files")), qint64(figure("groups")), qint64(figure("duplicates")),
        quint64(figure("savings")), qint64(figure("ignored")), figure("seconds"));
    RecentScanStore *store = RecentScanStore::shared();
    QList<RecentScanRecord> records = store->records();
    records.prepend(record);
    store->setRecords(records);
    store->persist();
}

void HistoryFixture::reset() {
    RecentScanStore::shared()->clear();
}

QString HistoryFixture::fileText() const {
    QFile file(RecentScanStore::storageLocation().value_or(QString()));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void HistoryFixture::breakStorage() {
    QDir(ambrivoFolder()).removeRecursively();
    QFile blocker(ambrivoFolder());
    if (blocker.open(QIODevice::WriteOnly))
        blocker.write("blocks the history folder");
}

void HistoryFixture::mendStorage() {
    QFile::remove(ambrivoFolder());
}

bool HistoryFixture::makeFolder(const QUrl &folder) {
    return QDir().mkpath(QString::fromStdString(fileurls::toPath(folder)));
}

} // namespace twinsift::testing
