#include "recentscanfile.h"
#include "recentscanstore.h"
#include "tempdir.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace twinsift;
using namespace twinsift::testing;

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

// One element of a history file, in the form the store writes.
QByteArray entry(int second, const QByteArray &folder = "\\/data", QByteArray id = {},
                 QByteArray scannedAt = {}) {
    if (id.isEmpty())
        id = QUuid::createUuid().toByteArray(QUuid::WithoutBraces).toUpper();
    if (scannedAt.isEmpty())
        scannedAt = QDateTime(QDate(2026, 3, 14), QTime(9, 0), Qt::UTC)
                        .addSecs(second)
                        .toString(Qt::ISODate)
                        .toLatin1();
    return R"({"duplicateFiles": 4, "duplicateGroups": 2, "elapsedSeconds": 1.5, "filesScanned": 9,
 "folderPath": ")" +
           folder + R"(", "id": ")" + id +
           R"(", "ignoredSmallFiles": 1, "potentialSavings": 300, "scannedAt": ")" + scannedAt +
           "\"}";
}

QByteArray array(const QList<QByteArray> &entries) {
    return "[" + entries.join(",\n") + "]";
}

QByteArray withoutWhitespace(QByteArray bytes) {
    bytes.removeIf([](char c) { return QChar::isSpace(c); });
    return bytes;
}

QStringList folders(const QList<RecentScanRecord> &records) {
    QStringList out;
    for (const auto &r : records)
        out << QString::fromStdString(r.folderPath());
    return out;
}

const QString readFailed = QStringLiteral(
    "Recent Scans history could not be read. New scans can still be recorded locally.");

} // namespace

class RecentScanStoreTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void newestFirstAndTrimmedOnlyWhenRecording();
    void unreadableFileLoadsNothing_data();
    void unreadableFileLoadsNothing();
    void handWrittenFileRoundTrips();
    void largeFileArrivesLaterBehindWhatChangedMeanwhile();

private:
    std::string file() const { return m_data->path() + "/Ambrivo/Twinsift/recent-scans.json"; }
    void writeHistory(const QByteArray &bytes) const { writeFile(file(), bytes.toStdString()); }
    QByteArray history() const { return QByteArray::fromStdString(readFile(file())); }
    QList<RecentScanRecord> onDisk() const {
        return recentscanfile::decode(history()).value_or(QList<RecentScanRecord>());
    }

    std::unique_ptr<TempDir> m_data;
};

void RecentScanStoreTest::init() {
    m_data = std::make_unique<TempDir>();
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(m_data->path()));
    QCOMPARE(RecentScanStore::storageLocation().value_or(""), QString::fromStdString(file()));
}

void RecentScanStoreTest::newestFirstAndTrimmedOnlyWhenRecording() {
    {
        RecentScanStore store(nullptr);
        // No file: nothing loads, nothing goes wrong and nothing is created.
        QVERIFY(store.records().isEmpty() && store.persistenceError().isEmpty());
        QVERIFY(!QDir(QString::fromStdString(m_data->path() + "/Ambrivo")).exists());
        // The same folder twice is two entries; a trailing slash is dropped.
        store.record(resultFor("/"));
        store.record(resultFor("/"));
        store.record(resultFor("/home/ada/Pictures/"));
        QCOMPARE(folders(store.records()), (QStringList{"/home/ada/Pictures", "/", "/"}));
        QCOMPARE(folders(onDisk()), folders(store.records()));
        QVERIFY(store.records().at(1).id() != store.records().at(2).id());
        const RecentScanRecord &r = store.records().first();
        QCOMPARE((QList<qint64>{r.filesScanned(), r.duplicateGroups(), r.duplicateFiles(),
                                qint64(r.potentialSavings()), r.ignoredSmallFiles()}),
                 (QList<qint64>{10, 1, 2, 100, 3}));
        QCOMPARE(r.elapsedSeconds(), 0.75);
        QVERIFY(qAbs(r.scannedAt().secsTo(QDateTime::currentDateTimeUtc())) < 60);
    }

    // A longer file loads whole, sorted; keys the reader does not know are
    // passed over. The next scan recorded trims it to the newest fifty.
    QByteArray withUnknownKey = entry(99, "\\/new");
    withUnknownKey.replace("{", R"({"minimumFileSize": {"case": "oneKB"}, )");
    QList<QByteArray> entries{entry(70, "\\/tie1"), withUnknownKey, entry(70, "\\/tie2")};
    for (int i = 0; i < 57; ++i)
        entries << entry(i, "\\/f" + QByteArray::number(i));
    writeHistory(array(entries));
    RecentScanStore store(nullptr);
    QVERIFY(store.persistenceError().isEmpty());
    QCOMPARE(store.records().size(), 60);
    QCOMPARE(folders(store.records()).mid(0, 4), (QStringList{"/new", "/tie1", "/tie2", "/f56"}));

    store.record(resultFor("/latest"));
    QCOMPARE(store.records().size(), 50);
    QCOMPARE(folders(store.records()).mid(0, 2), (QStringList{"/latest", "/new"}));
    QCOMPARE(folders(store.records()).last(), QStringLiteral("/f11"));
}

void RecentScanStoreTest::unreadableFileLoadsNothing_data() {
    QTest::addColumn<QByteArray>("content");
    const QByteArray valid = array({entry(1), entry(2)});
    QByteArray missingKey = entry(2);
    missingKey.replace("\"ignoredSmallFiles\": 1, ", "");
    QTest::newRow("missing key") << array({entry(1), missingKey});
    QTest::newRow("fraction") << array({entry(0, "\\/x", {}, "2026-03-14T09:26:53.250Z")});
    QTest::newRow("offset") << array({entry(0, "\\/x", {}, "2026-03-14T10:26:53+01:00")});
    QTest::newRow("no such date") << array({entry(0, "\\/x", {}, "2026-13-14T09:26:53Z")});
    QTest::newRow("short uuid") << array({entry(1, "\\/x", "E621E1F8-C36C-495A-93FC-0C247A3E6E5")});
    QTest::newRow("count as text")
        << QByteArray(valid).replace("\"filesScanned\": 9", "\"filesScanned\": \"9\"");
    QTest::newRow("fraction count") << QByteArray(valid).replace(": 300", ": 300.5");
    QTest::newRow("negative savings") << QByteArray(valid).replace(": 300", ": -300");
    QTest::newRow("savings of 2^64")
        << QByteArray(valid).replace(": 300", ": 18446744073709551616");
    QTest::newRow("top-level object") << "{\"records\": " + valid + "}";
}

void RecentScanStoreTest::unreadableFileLoadsNothing() {
    QFETCH(QByteArray, content);
    writeHistory(content);
    RecentScanStore store(nullptr);
    QVERIFY(store.records().isEmpty());
    QCOMPARE(store.persistenceError(), readFailed);
    QVERIFY(history() == content); // left untouched
    // Files set aside by earlier runs stay as they are; this one goes
    // beside them.
    const std::string aside = file() + ".unreadable";
    writeFile(aside, "an older unreadable history");
    writeFile(aside + "-2", "a second unreadable history");

    store.record(resultFor("/after"));
    QVERIFY(store.persistenceError().isEmpty());
    QCOMPARE(folders(onDisk()), QStringList{"/after"});
    QCOMPARE(readFile(aside), std::string("an older unreadable history"));
    QCOMPARE(readFile(aside + "-2"), std::string("a second unreadable history"));
    QVERIFY(QByteArray::fromStdString(readFile(aside + "-3")) == content);

    // Only the file that could not be read is set aside, and only once.
    store.record(resultFor("/later"));
    QCOMPARE(folders(onDisk()), (QStringList{"/later", "/after"}));
    QVERIFY(QByteArray::fromStdString(readFile(aside + "-3")) == content);
    QVERIFY(!QFileInfo::exists(QString::fromStdString(aside + "-4")));
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
    }
]
)";
    const auto expected = [](quint64 savings) {
        return RecentScanRecord(QUuid("E621E1F8-C36C-495A-93FC-0C247A3E6E5F"),
                                QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53), Qt::UTC),
                                "/home/ada/Pictures", 1200, 2, 6, savings, 35, 12.25);
    };
    // A lower-case id is still a UUID; it is written back in upper case.
    const QByteArray lowerCase = QByteArray(file).replace("E621E1F8-C36C-495A-93FC-0C247A3E6E5F",
                                                          "e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
    // Savings use the whole unsigned 64-bit range, digit for digit.
    const QList<quint64> savings{9007199254740993ULL, 9223372036854775807ULL,
                                 9223372036854775809ULL, 18446744073709551615ULL};
    for (const quint64 value : savings) {
        const QByteArray digits = QByteArray::number(value);
        for (const QByteArray &form : {file, lowerCase}) {
            const QByteArray written = QByteArray(form).replace("9007199254740993", digits);
            writeHistory(written);
            RecentScanStore store(nullptr);
            QVERIFY2(store.persistenceError().isEmpty(), digits.constData());
            QCOMPARE(store.records().size(), 1);
            QCOMPARE(store.records().first().potentialSavings(), value);
            QVERIFY(store.records().first() == expected(value));
            store.persist();
            QCOMPARE(withoutWhitespace(history()),
                     withoutWhitespace(QByteArray(file).replace("9007199254740993", digits)));
        }
    }
}

void RecentScanStoreTest::largeFileArrivesLaterBehindWhatChangedMeanwhile() {
    // Sixty entries, padded past what is read at once with a key the reader
    // passes over.
    const QByteArray padding(RecentScanStore::readAtOnceBytes / 50, 'p');
    QList<QByteArray> entries;
    for (int i = 0; i < 60; ++i)
        entries << entry(i, "\\/f" + QByteArray::number(i))
                       .replace("{", "{\"note\": \"" + padding + "\", ");
    const QByteArray large = array(entries);
    QVERIFY(large.size() > RecentScanStore::readAtOnceBytes);
    const auto newest = [](int count) {
        QStringList out;
        for (int i = 59; i > 59 - count; --i)
            out << QStringLiteral("/f%1").arg(i);
        return out;
    };

    // Nothing happens meanwhile: the entries arrive whole, sorted, in one
    // change, and nothing is saved.
    writeHistory(large);
    {
        RecentScanStore store(nullptr);
        QVERIFY(store.records().isEmpty());
        QSignalSpy changed(&store, &RecentScanStore::recordsChanged);
        QTRY_COMPARE(store.records().size(), 60);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(folders(store.records()), newest(60));
        QVERIFY(store.persistenceError().isEmpty());
        QVERIFY(history() == large);
    }

    // A scan recorded meanwhile stays in front and the list is trimmed as a
    // recording trims it; the file is saved only once it has been read.
    {
        RecentScanStore store(nullptr);
        store.record(resultFor("/latest"));
        QCOMPARE(folders(store.records()), QStringList{"/latest"});
        QVERIFY(history() == large);
        QTRY_COMPARE(store.records().size(), 50);
        QCOMPARE(folders(store.records()), QStringList{"/latest"} + newest(49));
        QCOMPARE(folders(onDisk()), folders(store.records()));
    }

    // A history cleared meanwhile stays empty, on disk too.
    writeHistory(large);
    {
        RecentScanStore store(nullptr);
        store.clear();
        QVERIFY(history() == large);
        QTRY_VERIFY(history() != large);
        QVERIFY(onDisk().isEmpty() && store.records().isEmpty());
    }

    // An unreadable large file is set aside before the scan recorded
    // meanwhile is saved.
    const QByteArray broken = large.chopped(1);
    writeHistory(broken);
    {
        RecentScanStore store(nullptr);
        store.record(resultFor("/latest"));
        QTRY_VERIFY(history() != broken);
        QCOMPARE(folders(onDisk()), QStringList{"/latest"});
        QCOMPARE(folders(store.records()), QStringList{"/latest"});
        QVERIFY(QByteArray::fromStdString(readFile(file() + ".unreadable")) == broken);
    }
}

QTEST_GUILESS_MAIN(RecentScanStoreTest)
#include "recentscanstore_test.moc"
