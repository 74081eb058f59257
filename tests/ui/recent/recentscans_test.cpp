#include "folderavailability.h"
#include "probethreads.h"
#include "recentscansmodel.h"
#include "recentscanstore.h"
#include "recentscantexts.h"
#include "tempdir.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <condition_variable>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <time.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

// The answers heard so far, by folder; the latest one wins.
std::map<QByteArray, bool> answers(const QSignalSpy &spy) {
    std::map<QByteArray, bool> out;
    for (const QList<QVariant> &call : spy)
        out[call[0].toByteArray()] = call[1].toBool();
    return out;
}

} // namespace

class RecentScansTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void hangingFolderCountsAsUnavailableAndIsNotAskedTwice();
    void probesStayFewHoweverOftenTheScreenAsks();
    void aProbeWithoutAThreadMeansUnavailable();
    void aPathHoldingANulByteIsUnavailableUnprobed();
    void cardFiguresKeepTheirFormInAnyLocale();
    void listFollowsTheStoreRowByRow();
};

void RecentScansTest::initTestCase() {
    qputenv("TZ", "UTC");
    tzset();
    makeScratchHome();
}

void RecentScansTest::hangingFolderCountsAsUnavailableAndIsNotAskedTwice() {
    // A probe that hangs on one folder as stat does on a dead network mount.
    std::promise<void> mountBack;
    std::shared_future<void> back = mountBack.get_future().share();
    auto deadProbes = std::make_shared<std::atomic<int>>(0);
    FolderAvailability availability(
        nullptr,
        [back, deadProbes](const std::string &path) {
            if (path == "/net/dead") {
                ++*deadProbes;
                back.wait();
            }
            return true;
        },
        std::chrono::milliseconds(200));
    QSignalSpy spy(&availability, &FolderAvailability::answered);

    QElapsedTimer clock;
    clock.start();
    availability.check({"/net/dead", "/home/fine"});
    QTRY_COMPARE(spy.size(), 2);
    // Not before the probe's time is up; how long after depends on the
    // machine's load, and a probe that blocked the answer fails the wait above.
    const qint64 waited = clock.elapsed();
    QVERIFY2(waited >= 150, QByteArray::number(waited));
    QCOMPARE(answers(spy).at("/net/dead"), false);
    QCOMPARE(answers(spy).at("/home/fine"), true);

    // Asked again while the first probe still hangs: unavailable again, and no
    // second thread is left hanging beside the first.
    spy.clear();
    availability.check({"/net/dead"});
    QTRY_COMPARE(spy.size(), 1);
    QCOMPARE(answers(spy).at("/net/dead"), false);
    QCOMPARE(deadProbes->load(), 1);

    // When the mount answers at last, the folder shows as there, and as it
    // was asked about again meanwhile, it is asked once more.
    spy.clear();
    mountBack.set_value();
    QTRY_COMPARE(spy.size(), 2);
    QCOMPARE(answers(spy).at("/net/dead"), true);
    QCOMPARE(deadProbes->load(), 2);
}

void RecentScansTest::probesStayFewHoweverOftenTheScreenAsks() {
    // Every folder hangs, as on a dead network mount, until it is let go.
    struct Mount {
        std::mutex mutex;
        std::condition_variable back;
        bool isBack = false;
        std::atomic<int> probing = 0, most = 0, probes = 0;
    };
    auto mount = std::make_shared<Mount>();
    const auto probe = [mount](const std::string &) {
        ++mount->probes;
        const int now = ++mount->probing;
        for (int most = mount->most; now > most && !mount->most.compare_exchange_weak(most, now);) {
        }
        std::unique_lock lock(mount->mutex);
        mount->back.wait(lock, [&] { return mount->isBack; });
        --mount->probing;
        return true;
    };
    std::vector<std::string> folders;
    for (int i = 0; i < 50; ++i)
        folders.push_back("/net/share/folder" + std::to_string(i));

    // Twenty visits of the screen, each with a checker of its own.
    std::vector<std::unique_ptr<FolderAvailability>> visits;
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (int visit = 0; visit < 20; ++visit) {
        visits.push_back(
            std::make_unique<FolderAvailability>(nullptr, probe, std::chrono::milliseconds(100)));
        spies.push_back(
            std::make_unique<QSignalSpy>(visits.back().get(), &FolderAvailability::answered));
        visits.back()->check(folders);
    }
    // Every folder of every visit is answered at its deadline, unavailable,
    // while only the first few folders are being asked about at all.
    for (const auto &spy : spies) {
        QTRY_COMPARE(spy->size(), 50);
        for (const auto &[folder, available] : answers(*spy))
            QVERIFY2(!available, folder.constData());
    }
    QCOMPARE(mount->probes.load(), 4);
    QCOMPARE(mount->most.load(), 4);

    // Once the mount is back, the folders waiting their turn are asked on
    // the same few threads, each once for all the visits that asked.
    {
        std::lock_guard lock(mount->mutex);
        mount->isBack = true;
    }
    mount->back.notify_all();
    for (const auto &spy : spies) {
        QTRY_COMPARE(spy->size(), 100);
        for (const auto &[folder, available] : answers(*spy))
            QVERIFY2(available, folder.constData());
    }
    QCOMPARE(mount->probes.load(), 50);
    QCOMPARE(mount->most.load(), 4);
}

void RecentScansTest::aProbeWithoutAThreadMeansUnavailable() {
    auto probes = std::make_shared<std::atomic<int>>(0);
    auto noThreads = std::make_shared<ProbeThreads>(4, [](std::function<void()>) { return false; });
    // The deadline is far: only the failure to start can answer in time.
    FolderAvailability availability(
        nullptr,
        [probes](const std::string &) {
            ++*probes;
            return true;
        },
        std::chrono::hours(1), noThreads);
    QSignalSpy spy(&availability, &FolderAvailability::answered);
    availability.check({"/home/a", "/home/b"});
    QTRY_COMPARE(spy.size(), 2);
    QCOMPARE(answers(spy), (std::map<QByteArray, bool>{{"/home/a", false}, {"/home/b", false}}));
    // Nothing is left in flight: the next check asks afresh.
    spy.clear();
    availability.check({"/home/a"});
    QTRY_COMPARE(spy.size(), 1);
    QCOMPARE(probes->load(), 0);
}

void RecentScansTest::aPathHoldingANulByteIsUnavailableUnprobed() {
    auto probed = std::make_shared<std::atomic<int>>(0);
    FolderAvailability availability(nullptr, [probed](const std::string &) {
        ++*probed;
        return true;
    });
    QSignalSpy spy(&availability, &FolderAvailability::answered);
    const std::string withNul("/home/u\0/etc", 13);
    availability.check({withNul, "/home/u"});
    QTRY_COMPARE(spy.size(), 2);
    const auto heard = answers(spy);
    QCOMPARE(heard.at(QByteArray(withNul.data(), qsizetype(withNul.size()))), false);
    QCOMPARE(heard.at("/home/u"), true);
    QCOMPARE(probed->load(), 1);
}

void RecentScansTest::cardFiguresKeepTheirFormInAnyLocale() {
    namespace texts = recentscantexts;
    QCOMPARE(texts::folderName("/"), QStringLiteral("/"));
    QCOMPARE(texts::folderName("/home/ana/Photos"), QStringLiteral("Photos"));

    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(texts::seconds(0.755), QStringLiteral("0.76"));
    const QDateTime when(QDate(2026, 3, 14), QTime(9, 26, 53), Qt::UTC);
    QCOMPARE(texts::scannedAt(when), QStringLiteral("14. März 2026 09:26"));
    QLocale::setDefault(before);
    QCOMPARE(texts::scannedAt(when, QLocale(QLocale::English, QLocale::UnitedStates)).left(12),
             QStringLiteral("Mar 14, 2026"));
    // The C locale's short time carries seconds; the card shows none.
    QCOMPARE(texts::scannedAt(when, QLocale::c()), QStringLiteral("14 Mar 2026 09:26"));
}

void RecentScansTest::listFollowsTheStoreRowByRow() {
    TempDir dir;
    makeDirs(dir / "there");
    writeFile(dir / "file", "not a folder");
    RecentScanStore store(nullptr);
    RecentScansModel model(&store, FolderAvailability::isExistingFolder,
                           FolderAvailability::defaultDeadline);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    auto scanOf = [](const std::string &folder) {
        DuplicateScanResult result;
        result.rootURL = folder;
        result.elapsedSeconds = 1.25;
        return result;
    };
    auto role = [&](int row, RecentScansModel::Role r) { return model.index(row).data(r); };

    // A new scan lands on top, and the disk is asked about its folder.
    store.record(scanOf(dir / "there"));
    QCOMPARE(model.count(), 1);
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(role(0, RecentScansModel::AvailabilityKnownRole).toBool(), false);
    QTRY_COMPARE(role(0, RecentScansModel::AvailableRole).toBool(), true);
    QVERIFY(role(0, RecentScansModel::AvailabilityKnownRole).toBool());
    QVERIFY(!changed.isEmpty());
    store.record(scanOf(dir / "file"));
    QCOMPARE(inserted.last().at(1).toInt(), 0);
    QCOMPARE(role(0, RecentScansModel::FolderNameRole).toString(), QStringLiteral("file"));
    QCOMPARE(role(0, RecentScansModel::SecondsRole).toString(), QStringLiteral("1.25"));
    QTRY_VERIFY(role(0, RecentScansModel::AvailabilityKnownRole).toBool());
    QCOMPARE(role(0, RecentScansModel::AvailableRole).toBool(), false);
    QCOMPARE(model.recordAt(1).folderPath(), dir / "there");

    // Filling past the limit drops the oldest row at the end.
    for (int i = 0; i < RecentScanStore::maximumRecords - 1; ++i)
        store.record(scanOf(dir / ("more" + std::to_string(i))));
    QCOMPARE(model.count(), RecentScanStore::maximumRecords);
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.last().at(1).toInt(), RecentScanStore::maximumRecords - 1);
    QCOMPARE(model.recordAt(model.count() - 1).folderPath(), dir / "file");

    store.clear();
    QCOMPARE(model.count(), 0);
    QCOMPARE(resets.size(), 0);
}

QTEST_GUILESS_MAIN(RecentScansTest)
#include "recentscans_test.moc"
