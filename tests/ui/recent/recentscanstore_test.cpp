#include "duplicatescanviewmodel.h"
#include "recentscanfile.h"
#include "recentscanstore.h"
#include "tempdir.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <unistd.h>

using namespace twinsift;
using twinsift::testing::makeDirs;
using twinsift::testing::readFile;
using twinsift::testing::TempDir;
using twinsift::testing::writeFile;
using twinsift::testing::writePattern;

namespace {

DuplicateScanResult resultFor(const std::string &root) {
    DuplicateScanResult r;
    r.rootURL = root;
    r.filesScanned = 10;
    r.ignoredSmallFiles = 3;
    r.elapsedSeconds = 0.75;
    r.groups.push_back({std::string(64, 'a'), 100, {{root + "/x", 100}, {root + "/y", 100}}});
    return r;
}

// One element of a history file, written the way the store writes it.
QByteArray
entry(const QString &scannedAt, const QByteArray &folder = "\\/data",
      const QByteArray &id = QUuid::createUuid().toByteArray(QUuid::WithoutBraces).toUpper()) {
    return R"({"duplicateFiles": 4, "duplicateGroups": 2, "elapsedSeconds": 1.5, "filesScanned": 9,
 "folderPath": ")" +
           folder + R"(", "id": ")" + id + R"(", "ignoredSmallFiles": 1, "potentialSavings": 300,
 "scannedAt": ")" +
           scannedAt.toLatin1() + "\"}";
}

QByteArray array(const QList<QByteArray> &entries) {
    return "[" + entries.join(",\n") + "]";
}

QString at(int second) {
    return QDateTime(QDate(2026, 3, 14), QTime(9, 0), Qt::UTC)
        .addSecs(second)
        .toString(Qt::ISODate);
}

QByteArray withoutWhitespace(QByteArray bytes) {
    bytes.removeIf([](char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; });
    return bytes;
}

} // namespace

class RecentScanStoreTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void missingFileLoadsEmptyAndCreatesNothing();
    void recordingKeepsTheNewestFifty();
    void folderPathIsStandardised();
    void loadSortsNewestFirstKeepingTies();
    void oversizedFileLoadsWholeAndTrimsOnRecord();
    void unreadableFileLoadsNothing_data();
    void unreadableFileLoadsNothing();
    void lowerCaseIdIsAUuid();
    void clearingWritesAnEmptyArray();
    void saveFailureKeepsRecordsAndRecovers();
    void folderExistsAsksTheDisk();
    void handWrittenFileRoundTrips();
    void unwritableHistoryLeavesTheScanAlone();
    void oneStorePerProcess();

private:
    QString historyFile() const {
        return QString::fromStdString(m_data->path()) + "/Ambrivo/Twinsift/recent-scans.json";
    }
    void writeHistory(const QByteArray &bytes) const {
        writeFile(historyFile().toStdString(), bytes.toStdString());
    }
    QByteArray history() const {
        return QByteArray::fromStdString(readFile(historyFile().toStdString()));
    }
    QList<RecentScanRecord> historyRecords() const {
        auto decoded = recentscanfile::decode(history());
        return decoded ? *decoded : QList<RecentScanRecord>();
    }

    std::unique_ptr<TempDir> m_data;
};

void RecentScanStoreTest::init() {
    m_data = std::make_unique<TempDir>();
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(m_data->path()));
    QCOMPARE(RecentScanStore::storageLocation(), std::optional<QString>(historyFile()));
}

void RecentScanStoreTest::cleanup() {
    m_data.reset();
}

void RecentScanStoreTest::missingFileLoadsEmptyAndCreatesNothing() {
    RecentScanStore store;
    QVERIFY(store.records().isEmpty());
    QVERIFY(store.persistenceError().isEmpty());
    QCOMPARE(store.property("maximumRecords").toInt(), 50);
    QVERIFY(!QFile::exists(historyFile()));
    QVERIFY(!QDir(QString::fromStdString(m_data->path()) + "/Ambrivo").exists());
}

void RecentScanStoreTest::recordingKeepsTheNewestFifty() {
    RecentScanStore store;
    QSignalSpy changed(&store, &RecentScanStore::recordsChanged);
    for (int i = 0; i <= 50; ++i)
        store.record(resultFor(i == 50 ? "/f1" : "/f" + std::to_string(i)));
    QCOMPARE(changed.size(), 51);
    QCOMPARE(store.records().size(), 50);
    QCOMPARE(store.records().first().folderPath(), std::string("/f1"));
    QCOMPARE(store.records().last().folderPath(), std::string("/f1")); // the second oldest
    QVERIFY(store.persistenceError().isEmpty());

    // The same folder twice is two entries with their own ids.
    QVERIFY(store.records().first().id() != store.records().last().id());
    QSet<QUuid> ids;
    for (const auto &r : store.records())
        ids.insert(r.id());
    QCOMPARE(ids.size(), 50);

    const auto onDisk = historyRecords();
    QCOMPARE(onDisk.size(), 50);
    QCOMPARE(onDisk.first().id(), store.records().first().id());
    QCOMPARE(onDisk.last().folderPath(), std::string("/f1"));
}

void RecentScanStoreTest::folderPathIsStandardised() {
    RecentScanStore store;
    store.record(resultFor("/"));
    store.record(resultFor("/home/user/Pictures/"));
    store.record(resultFor("/home/user/Music/../Pictures/./2024"));
    QCOMPARE(store.records().at(2).folderPath(), std::string("/"));
    QCOMPARE(store.records().at(1).folderPath(), std::string("/home/user/Pictures"));
    QCOMPARE(store.records().at(0).folderPath(), std::string("/home/user/Pictures/2024"));
    QVERIFY(history().contains(R"("folderPath": "\/home\/user\/Pictures\/2024")"));
    QVERIFY(history().contains(R"("folderPath": "\/")"));

    // The six figures come from the result.
    const RecentScanRecord &r = store.records().first();
    QCOMPARE(r.filesScanned(), 10);
    QCOMPARE(r.duplicateGroups(), 1);
    QCOMPARE(r.duplicateFiles(), 2);
    QCOMPARE(r.potentialSavings(), quint64(100));
    QCOMPARE(r.ignoredSmallFiles(), 3);
    QCOMPARE(r.elapsedSeconds(), 0.75);
    QVERIFY(qAbs(r.scannedAt().secsTo(QDateTime::currentDateTimeUtc())) < 60);
}

void RecentScanStoreTest::loadSortsNewestFirstKeepingTies() {
    const QByteArray tieA = "AAAAAAAA-0000-4000-8000-000000000001";
    const QByteArray tieB = "BBBBBBBB-0000-4000-8000-000000000002";
    const QByteArray older = "CCCCCCCC-0000-4000-8000-000000000003";
    const QByteArray newest = "DDDDDDDD-0000-4000-8000-000000000004";
    writeHistory(array({entry(at(10), "\\/older", older), entry(at(50), "\\/b", tieB),
                        entry(at(99), "\\/new", newest), entry(at(50), "\\/a", tieA)}));
    RecentScanStore store;
    QVERIFY(store.persistenceError().isEmpty());
    QStringList order;
    for (const auto &r : store.records())
        order << r.idText();
    QCOMPARE(order, (QStringList{newest, tieB, tieA, older}));
    QCOMPARE(store.records().first().folderPath(), std::string("/new"));
}

void RecentScanStoreTest::oversizedFileLoadsWholeAndTrimsOnRecord() {
    QList<QByteArray> entries;
    for (int i = 0; i < 60; ++i)
        entries << entry(at(i), "\\/f" + QByteArray::number(i));
    writeHistory(array(entries));
    RecentScanStore store;
    QCOMPARE(store.records().size(), 60);
    QCOMPARE(store.records().first().folderPath(), std::string("/f59"));

    store.record(resultFor("/latest"));
    QCOMPARE(store.records().size(), 50);
    QCOMPARE(store.records().first().folderPath(), std::string("/latest"));
    QCOMPARE(store.records().at(1).folderPath(), std::string("/f59"));
    QCOMPARE(store.records().last().folderPath(), std::string("/f11"));
    QCOMPARE(historyRecords().size(), 50);
}

void RecentScanStoreTest::unreadableFileLoadsNothing_data() {
    QTest::addColumn<QByteArray>("content");
    const QByteArray good = entry(at(1));
    const QByteArray valid = array({good, entry(at(2))});

    QByteArray missingKey = entry(at(2));
    missingKey.replace("\"ignoredSmallFiles\": 1, ", "");
    QTest::newRow("missing key in one element") << array({good, missingKey});
    QTest::newRow("fractional seconds") << array({good, entry("2026-03-14T09:26:53.250Z")});
    QTest::newRow("offset instead of Z") << array({good, entry("2026-03-14T10:26:53+01:00")});
    QTest::newRow("no zone") << array({entry("2026-03-14T09:26:53")});
    QTest::newRow("impossible date") << array({entry("2026-13-14T09:26:53Z")});
    QTest::newRow("short uuid") << array(
        {entry(at(1), "\\/x", "E621E1F8-C36C-495A-93FC-0C247A3E6E5")});
    QTest::newRow("not a uuid") << array({entry(at(1), "\\/x", "not-a-uuid")});
    QTest::newRow("braced uuid") << array(
        {entry(at(1), "\\/x", "{E621E1F8-C36C-495A-93FC-0C247A3E6E5F}")});
    QByteArray textCount = good;
    textCount.replace("\"filesScanned\": 9", "\"filesScanned\": \"9\"");
    QTest::newRow("count as text") << array({textCount});
    QByteArray fractionCount = good;
    fractionCount.replace("\"duplicateGroups\": 2", "\"duplicateGroups\": 2.5");
    QTest::newRow("fractional count") << array({fractionCount});
    QByteArray negativeSavings = good;
    negativeSavings.replace("\"potentialSavings\": 300", "\"potentialSavings\": -1");
    QTest::newRow("negative savings") << array({negativeSavings});
    QByteArray pathNumber = good;
    pathNumber.replace("\"\\/data\"", "7");
    QTest::newRow("path as number") << array({pathNumber});
    QTest::newRow("object at top level") << "{\"records\": " + valid + "}";
    QTest::newRow("element not an object") << QByteArray("[1]");
    QTest::newRow("truncated") << valid.left(valid.size() / 2);
    QTest::newRow("empty file") << QByteArray();

    QByteArray garbage(10 * 1024 * 1024, '\0');
    quint32 x = 12345;
    for (char &c : garbage) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    QTest::newRow("10 MB of garbage") << garbage;
    QTest::newRow("nested 10000 deep") << QByteArray(10000, '[') + QByteArray(10000, ']');
}

void RecentScanStoreTest::unreadableFileLoadsNothing() {
    QFETCH(QByteArray, content);
    writeHistory(content);
    RecentScanStore store;
    QVERIFY(store.records().isEmpty());
    QCOMPARE(store.persistenceError(),
             QStringLiteral("Recent Scans history could not be read. New scans can still be "
                            "recorded locally."));
    QVERIFY(history() == content); // left untouched

    store.record(resultFor("/after"));
    QVERIFY(store.persistenceError().isEmpty());
    const auto onDisk = historyRecords();
    QCOMPARE(onDisk.size(), 1);
    QCOMPARE(onDisk.first().folderPath(), std::string("/after"));
}

void RecentScanStoreTest::lowerCaseIdIsAUuid() {
    writeHistory(array({entry(at(1), "\\/x", "e621e1f8-c36c-495a-93fc-0c247a3e6e5f")}));
    RecentScanStore store;
    QVERIFY(store.persistenceError().isEmpty());
    QCOMPARE(store.records().size(), 1);
    QCOMPARE(store.records().first().idText(),
             QStringLiteral("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"));
    store.persist();
    QVERIFY(history().contains("\"E621E1F8-C36C-495A-93FC-0C247A3E6E5F\""));
}

void RecentScanStoreTest::clearingWritesAnEmptyArray() {
    RecentScanStore store;
    store.record(resultFor("/a"));
    store.record(resultFor("/b"));
    QCOMPARE(historyRecords().size(), 2);
    store.clear();
    QVERIFY(store.records().isEmpty());
    QCOMPARE(withoutWhitespace(history()), QByteArray("[]"));

    // The way the screen clears: assign an empty list, then save.
    store.record(resultFor("/c"));
    QVERIFY(store.setProperty("records", QVariant::fromValue(QList<RecentScanRecord>())));
    store.persist();
    QCOMPARE(withoutWhitespace(history()), QByteArray("[]"));
    QVERIFY(store.persistenceError().isEmpty());
}

void RecentScanStoreTest::saveFailureKeepsRecordsAndRecovers() {
    const QString saveFailed =
        QStringLiteral("Recent Scans could not be saved. Current scan results are unaffected.");
    RecentScanStore store;

    // A file where the folder should be: the folder cannot be created.
    const std::string blocker = m_data->path() + "/Ambrivo";
    writeFile(blocker, "not a folder");
    QSignalSpy errorChanged(&store, &RecentScanStore::persistenceErrorChanged);
    store.record(resultFor("/one"));
    QCOMPARE(store.persistenceError(), saveFailed);
    QCOMPARE(store.records().size(), 1);
    QCOMPARE(errorChanged.size(), 1);

    // A folder where the file should be: the file cannot be written.
    ::unlink(blocker.c_str());
    makeDirs(historyFile().toStdString());
    store.record(resultFor("/two"));
    QCOMPARE(store.persistenceError(), saveFailed);
    QCOMPARE(store.records().size(), 2);

    QVERIFY(QDir(historyFile()).removeRecursively());
    store.record(resultFor("/three"));
    QVERIFY(store.persistenceError().isEmpty());
    QCOMPARE(errorChanged.size(), 2);
    const auto onDisk = historyRecords();
    QCOMPARE(onDisk.size(), 3);
    QCOMPARE(onDisk.last().folderPath(), std::string("/one"));
}

void RecentScanStoreTest::folderExistsAsksTheDisk() {
    TempDir dir;
    makeDirs(dir / "folder");
    writeFile(dir / "file", "x");
    QVERIFY(::symlink((dir / "folder").c_str(), (dir / "link").c_str()) == 0);

    const auto recordOf = [](const std::string &path) {
        return RecentScanRecord::fromResult(resultFor(path));
    };
    const RecentScanRecord folder = recordOf(dir / "folder");
    QVERIFY(folder.folderExists());
    QVERIFY(recordOf(dir / "link").folderExists());
    QVERIFY(!recordOf(dir / "file").folderExists());
    QVERIFY(!recordOf(dir / "missing").folderExists());

    QVERIFY(QDir(QString::fromStdString(dir / "folder")).removeRecursively());
    QVERIFY(!folder.folderExists());
    writeFile(dir / "folder", "now a file");
    QVERIFY(!folder.folderExists());
}

void RecentScanStoreTest::handWrittenFileRoundTrips() {
    const QByteArray file = R"([
    {
        "duplicateFiles": 6,
        "duplicateGroups": 2,
        "elapsedSeconds": 12.25,
        "filesScanned": 1200,
        "folderPath": "\/home\/ada\/Pictures",
        "id": "E621E1F8-C36C-495A-93FC-0C247A3E6E5F",
        "ignoredSmallFiles": 35,
        "potentialSavings": 9007199254740993,
        "scannedAt": "2026-03-14T09:26:53Z"
    },
    {
        "duplicateFiles": 0,
        "duplicateGroups": 0,
        "elapsedSeconds": 0.5,
        "filesScanned": 3,
        "folderPath": "\/",
        "id": "0B7D3E1A-5F2C-4E8B-9A61-7C3D2F1E0A94",
        "ignoredSmallFiles": 0,
        "potentialSavings": 0,
        "scannedAt": "2026-03-13T23:59:59Z"
    }
]
)";
    writeHistory(file);
    RecentScanStore store;
    QVERIFY(store.persistenceError().isEmpty());
    QCOMPARE(store.records().size(), 2);
    const RecentScanRecord &r = store.records().first();
    QCOMPARE(r.idText(), QStringLiteral("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"));
    QCOMPARE(r.scannedAt(), QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53), Qt::UTC));
    QCOMPARE(r.folderPath(), std::string("/home/ada/Pictures"));
    QCOMPARE(r.filesScanned(), 1200);
    QCOMPARE(r.duplicateGroups(), 2);
    QCOMPARE(r.duplicateFiles(), 6);
    QCOMPARE(r.potentialSavings(), quint64(9007199254740993)); // beyond a double's exact range
    QCOMPARE(r.ignoredSmallFiles(), 35);
    QCOMPARE(r.elapsedSeconds(), 12.25);
    QVERIFY(r == RecentScanRecord(r.id(), r.scannedAt(), "/home/ada/Pictures", 1200, 2, 6,
                                  9007199254740993ULL, 35, 12.25));

    QFile::remove(historyFile());
    store.persist();
    QCOMPARE(withoutWhitespace(history()), withoutWhitespace(file));
}

void RecentScanStoreTest::unwritableHistoryLeavesTheScanAlone() {
    TempDir tree;
    writePattern(tree / "a", 4096, 7);
    writePattern(tree / "b", 4096, 7);
    writeFile(m_data->path() + "/Ambrivo", "blocks the history folder");

    RecentScanStore store;
    DuplicateScanViewModel vm;
    QObject::connect(&vm, &DuplicateScanViewModel::resultChanged, &store, [&] {
        if (vm.result().hasValue())
            QMetaObject::invokeMethod(&store, "record",
                                      Q_ARG(twinsift::ScanResultValue, vm.result()));
    });
    const auto scanning = vm.scan(QByteArray::fromStdString(tree.path()));
    QTRY_VERIFY_WITH_TIMEOUT(scanning.isFinished(), 20000);

    QVERIFY(vm.errorMessage().isEmpty());
    QCOMPARE(vm.result().groupCount(), 1);
    QCOMPARE(
        store.persistenceError(),
        QStringLiteral("Recent Scans could not be saved. Current scan results are unaffected."));
    QCOMPARE(store.records().size(), 1);
    const RecentScanRecord &r = store.records().first();
    QCOMPARE(r.folderPath(), tree.path());
    QCOMPARE(r.filesScanned(), 2);
    QCOMPARE(r.duplicateGroups(), 1);
    QCOMPARE(r.duplicateFiles(), 2);
    QCOMPARE(r.potentialSavings(), quint64(4096));
    QCOMPARE(r.elapsedSeconds(), vm.result().elapsedSeconds());
}

void RecentScanStoreTest::oneStorePerProcess() {
    writeHistory(array({entry(at(5))}));
    RecentScanStore *shared = RecentScanStore::shared();
    QCOMPARE(shared->records().size(), 1); // loaded on first use
    QCOMPARE(RecentScanStore::shared(), shared);
    QCOMPARE(RecentScanStore::create(nullptr, nullptr), shared);
}

QTEST_GUILESS_MAIN(RecentScanStoreTest)
#include "recentscanstore_test.moc"
