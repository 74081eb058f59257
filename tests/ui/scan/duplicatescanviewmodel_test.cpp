#include "duplicatescanviewmodel.h"
#include "fileurls.h"
#include "scangate.h"
#include "tempdir.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

using namespace twinsift;
using twinsift::testing::ScanGate;
using twinsift::testing::TempDir;
using twinsift::testing::writePattern;

namespace {

constexpr int timeoutMs = 20000;

bool hashing(const DuplicateScanProgress &p) {
    return p.phase == DuplicateScanPhase::hashing;
}

// A tree with `pairs` sets of two equal files above 1 KB and `small` files
// under it.
void makeTree(const std::string &root, int pairs, int small) {
    for (int i = 0; i < pairs; ++i) {
        const auto size = 2048 + static_cast<std::uint64_t>(i);
        writePattern(root + "/a/" + std::to_string(i), size, static_cast<std::uint32_t>(i));
        writePattern(root + "/b/" + std::to_string(i), size, static_cast<std::uint32_t>(i));
    }
    for (int i = 0; i < small; ++i)
        writePattern(root + "/small/" + std::to_string(i), 100, static_cast<std::uint32_t>(i));
}

// Every notification of the controller, by property name, in order.
QStringList *recordNotifications(DuplicateScanViewModel &vm) {
    auto *log = new QStringList;
    QObject::connect(&vm, &QObject::destroyed, [log] { delete log; });
    const auto add = [&vm, log](auto signal, const char *name) {
        QObject::connect(&vm, signal, &vm, [log, name] { log->append(QString::fromLatin1(name)); });
    };
    add(&DuplicateScanViewModel::isScanningChanged, "isScanning");
    add(&DuplicateScanViewModel::resultChanged, "result");
    add(&DuplicateScanViewModel::errorMessageChanged, "errorMessage");
    add(&DuplicateScanViewModel::minimumFileSizeChanged, "minimumFileSize");
    add(&DuplicateScanViewModel::scanProgressChanged, "scanProgress");
    return log;
}

} // namespace

// Waits, processing events, until the scan that expr started has ended.
#define AWAIT(expr)                                                                                \
    do {                                                                                           \
        const QFuture<void> awaited = (expr);                                                      \
        QTRY_VERIFY_WITH_TIMEOUT(awaited.isFinished(), timeoutMs);                                 \
    } while (false)

class DuplicateScanViewModelTest : public QObject {
    Q_OBJECT

private slots:
    void initialStateAndTexts();
    void stateRightAfterScanStarts();
    void walkAndHashingTexts();
    void noHashCandidates();
    void newerScanSupersedesOlder();
    void stopDuringWalk();
    void resultAfterStopIsDiscarded();
    void removedFolderKeepsPreviousResult();
    void clearResultDuringScan();
    void minimumSizeChangeDuringScan();
    void notificationOrderOnSuccess();
    void urlScanKeepsNonUtf8Bytes();
};

void DuplicateScanViewModelTest::initialStateAndTexts() {
    DuplicateScanViewModel vm;
    QVERIFY(!vm.isScanning());
    QVERIFY(!vm.result().hasValue());
    QVERIFY(vm.errorMessage().isEmpty());
    QVERIFY(vm.minimumFileSize() == DuplicateMinimumFileSize::oneKB);
    QVERIFY(!vm.scanProgress());
    QCOMPARE(vm.scanProgressText(), QStringLiteral("Preparing scan…"));
    QVERIFY(!vm.scanProgressFraction());

    // What QML reads.
    QVERIFY(!vm.property("scanProgress").isValid());
    QVERIFY(!vm.property("scanProgressFraction").isValid());
    QCOMPARE(vm.property("minimumFileSize").toString(), QStringLiteral("oneKB"));
    const auto options = vm.property("minimumFileSizeOptions").toList();
    QCOMPARE(options.size(), 7);
    QCOMPARE(options.at(6).toMap().value("label").toString(), QStringLiteral("1024 MB+"));

    QSignalSpy changed(&vm, &DuplicateScanViewModel::minimumFileSizeChanged);
    QVERIFY(vm.setProperty("minimumFileSize", QStringLiteral("tenKB")));
    QVERIFY(vm.minimumFileSize() == DuplicateMinimumFileSize::tenKB);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("unknown minimum file size"));
    vm.setProperty("minimumFileSize", QStringLiteral("10 KB")); // a label, not a case name
    QVERIFY(vm.minimumFileSize() == DuplicateMinimumFileSize::tenKB);
    QCOMPARE(changed.size(), 1);
}

void DuplicateScanViewModelTest::stateRightAfterScanStarts() {
    TempDir dir;
    makeTree(dir.path(), 2, 0);
    ScanGate gate;
    DuplicateScanViewModel vm(gate.engine());
    AWAIT(vm.scan(QByteArray::fromStdString(dir.path())));
    const ScanResultValue previous = vm.result();
    QVERIFY(previous.hasValue());
    QCOMPARE(previous.groupCount(), 2);

    gate.holdAt(dir.path(), hashing);
    const auto running = vm.scan(QByteArray::fromStdString(dir.path()));
    QVERIFY(vm.isScanning());
    QVERIFY(vm.errorMessage().isEmpty());
    QCOMPARE(vm.scanProgressText(),
             QStringLiteral("Scanning files — 0 eligible · 0 (under 1 KB ignored)"));
    QVERIFY(!vm.scanProgressFraction());
    QVERIFY(vm.result() == previous);

    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QVERIFY(vm.result() == previous);
    gate.release();
    AWAIT(running);
    QVERIFY(vm.result().hasValue());
    QVERIFY(!(vm.result() == previous));
    QVERIFY(!vm.isScanning());
}

void DuplicateScanViewModelTest::walkAndHashingTexts() {
    TempDir dir;
    makeTree(dir.path(), 20, 35); // 40 candidates, 35 ignored
    ScanGate gate;
    DuplicateScanViewModel vm(gate.engine());

    gate.holdAt(dir.path(), [](const DuplicateScanProgress &p) {
        return p.phase == DuplicateScanPhase::enumerating && p.filesScanned == 40 &&
               p.ignoredSmallFiles == 35;
    });
    auto scanning = vm.scan(QByteArray::fromStdString(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QTRY_COMPARE(vm.scanProgressText(),
                 QStringLiteral("Scanning files — 40 eligible · 35 (under 1 KB ignored)"));
    QVERIFY(!vm.scanProgressFraction());
    QCOMPARE(vm.property("scanProgress").toMap().value("phase").toString(),
             QStringLiteral("enumerating"));

    gate.holdAt(dir.path(),
                [](const DuplicateScanProgress &p) { return hashing(p) && p.filesHashed == 12; });
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QTRY_COMPARE(vm.scanProgressText(),
                 QStringLiteral(
                     "Verifying duplicates — 12 of 40 candidate files · 35 (under 1 KB ignored)"));
    QVERIFY(vm.scanProgressFraction());
    QCOMPARE(*vm.scanProgressFraction(), 0.3);
    QCOMPARE(vm.property("scanProgressFraction").toDouble(), 0.3);

    gate.release();
    AWAIT(scanning);
    QCOMPARE(vm.result().groupCount(), 20);
    QCOMPARE(vm.result().ignoredSmallFiles(), 35);
}

void DuplicateScanViewModelTest::noHashCandidates() {
    TempDir dir;
    for (int i = 0; i < 3; ++i)
        writePattern(dir / ("unique" + std::to_string(i)), 4096 + static_cast<std::uint64_t>(i), 1);
    writePattern(dir / "tiny", 10, 1);
    ScanGate gate;
    DuplicateScanViewModel vm(gate.engine());
    gate.holdAt(dir.path(), hashing);
    auto scanning = vm.scan(QByteArray::fromStdString(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QTRY_COMPARE(vm.scanProgressText(),
                 QStringLiteral("No hash candidates · 1 (under 1 KB ignored)"));
    QVERIFY(!vm.scanProgressFraction());
    QVERIFY(!vm.property("scanProgressFraction").isValid());
    gate.release();
    AWAIT(scanning);
    QCOMPARE(vm.result().groupCount(), 0);
    QCOMPARE(vm.result().filesScanned(), 3);
}

void DuplicateScanViewModelTest::newerScanSupersedesOlder() {
    TempDir first, second;
    makeTree(first.path(), 6, 0);
    makeTree(second.path(), 1, 0);
    ScanGate gate;
    // The first scan pays no attention to its stop, so it goes on reporting
    // and finally delivers a result long after it was superseded.
    gate.ignoreStopFor(first.path());
    gate.holdAt(first.path(),
                [](const DuplicateScanProgress &p) { return hashing(p) && p.filesHashed == 1; });
    DuplicateScanViewModel vm(gate.engine());

    const auto older = vm.scan(QByteArray::fromStdString(first.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    const auto newer = vm.scan(QByteArray::fromStdString(second.path()));
    AWAIT(newer);
    QVERIFY(!older.isFinished());
    QCOMPARE(vm.result().core().rootURL, second.path());
    QCOMPARE(vm.result().groupCount(), 1);
    QVERIFY(!vm.isScanning());
    QVERIFY(!vm.scanProgress());

    const QStringList *log = recordNotifications(vm);
    gate.release();
    AWAIT(older);
    QVERIFY(gate.stopWasRequested());
    QTest::qWait(50); // anything the older scan posted has been handled by now
    QCOMPARE(*log, QStringList());
    QCOMPARE(vm.result().core().rootURL, second.path());
    QVERIFY(!vm.scanProgress());
    QVERIFY(!vm.isScanning());
}

void DuplicateScanViewModelTest::stopDuringWalk() {
    TempDir dir;
    makeTree(dir.path(), 30, 0);
    ScanGate gate;
    DuplicateScanViewModel vm(gate.engine());
    AWAIT(vm.scan(QByteArray::fromStdString(dir.path())));
    const ScanResultValue previous = vm.result();

    gate.holdAt(dir.path(), [](const DuplicateScanProgress &p) {
        return p.phase == DuplicateScanPhase::enumerating && p.filesScanned == 25;
    });
    const auto stopped = vm.scan(QByteArray::fromStdString(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QTRY_COMPARE(vm.scanProgress()->filesScanned, 25);
    vm.cancelScan();
    // The engine has not reached its next check yet: still scanning.
    QTest::qWait(50);
    QVERIFY(vm.isScanning());
    QVERIFY(vm.scanProgress());

    gate.release();
    AWAIT(stopped);
    QVERIFY(gate.stopWasRequested());
    QVERIFY(!vm.isScanning());
    QVERIFY(!vm.scanProgress());
    QVERIFY(vm.errorMessage().isEmpty());
    QVERIFY(vm.result() == previous);
    QCOMPARE(vm.scanProgressText(), QStringLiteral("Preparing scan…"));
}

void DuplicateScanViewModelTest::resultAfterStopIsDiscarded() {
    TempDir dir;
    makeTree(dir.path(), 3, 0);
    ScanGate gate;
    gate.ignoreStopFor(dir.path());
    gate.holdAt(dir.path(), [](const DuplicateScanProgress &p) {
        return hashing(p) && p.filesHashed == p.candidateFiles;
    });
    DuplicateScanViewModel vm(gate.engine());
    const auto scanning = vm.scan(QByteArray::fromStdString(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    vm.cancelScan();
    gate.release();
    AWAIT(scanning);
    QVERIFY(!vm.result().hasValue());
    QVERIFY(vm.errorMessage().isEmpty());
    QVERIFY(!vm.isScanning());

    // Without a running scan, a stop request has nothing to act on.
    vm.cancelScan();
    AWAIT(vm.scan(QByteArray::fromStdString(dir.path())));
    QCOMPARE(vm.result().groupCount(), 3);
}

void DuplicateScanViewModelTest::removedFolderKeepsPreviousResult() {
    TempDir dir;
    makeTree(dir.path(), 1, 0);
    DuplicateScanViewModel vm;
    AWAIT(vm.scan(QByteArray::fromStdString(dir.path())));
    const ScanResultValue previous = vm.result();
    QVERIFY(previous.hasValue());

    std::string gone;
    {
        TempDir removed;
        gone = removed.path();
    }
    const QStringList *log = recordNotifications(vm);
    AWAIT(vm.scan(QByteArray::fromStdString(gone)));
    QCOMPARE(vm.errorMessage(), QStringLiteral("The selected folder could not be accessed."));
    QVERIFY(vm.result() == previous);
    QVERIFY(!vm.isScanning());
    QVERIFY(!vm.scanProgress());
    // Observers learn of the error before the scan reads as ended.
    QCOMPARE(log->mid(log->size() - 3),
             (QStringList{"errorMessage", "isScanning", "scanProgress"}));

    // The next scan starts without the old error.
    const auto again = vm.scan(QByteArray::fromStdString(dir.path()));
    QVERIFY(vm.errorMessage().isEmpty());
    AWAIT(again);
    QVERIFY(vm.errorMessage().isEmpty());
}

void DuplicateScanViewModelTest::clearResultDuringScan() {
    TempDir dir;
    makeTree(dir.path(), 2, 0);
    ScanGate gate;
    DuplicateScanViewModel vm(gate.engine());
    vm.clearResult(); // idle and empty: nothing to clear, nothing breaks
    AWAIT(vm.scan(QByteArray::fromStdString(dir.path())));
    QVERIFY(vm.result().hasValue());

    gate.holdAt(dir.path(), hashing);
    const auto scanning = vm.scan(QByteArray::fromStdString(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QTRY_VERIFY(vm.scanProgress() && vm.scanProgress()->phase == DuplicateScanPhase::hashing);
    vm.clearResult();
    QVERIFY(!vm.result().hasValue());
    QVERIFY(vm.errorMessage().isEmpty());
    QVERIFY(vm.scanProgress());
    QVERIFY(vm.isScanning());

    gate.release();
    AWAIT(scanning);
    QCOMPARE(vm.result().groupCount(), 2);

    vm.clearResult();
    QVERIFY(!vm.result().hasValue());
}

void DuplicateScanViewModelTest::minimumSizeChangeDuringScan() {
    TempDir dir;
    makeTree(dir.path(), 2, 3); // 2 KB pairs and 100-byte files
    ScanGate gate;
    DuplicateScanViewModel vm(gate.engine());
    gate.holdAt(dir.path(), hashing);
    const auto scanning = vm.scan(QByteArray::fromStdString(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QTRY_COMPARE(
        vm.scanProgressText(),
        QStringLiteral("Verifying duplicates — 0 of 4 candidate files · 3 (under 1 KB ignored)"));

    QSignalSpy textChanged(&vm, &DuplicateScanViewModel::scanProgressTextChanged);
    vm.setMinimumFileSize(DuplicateMinimumFileSize::tenKB);
    QCOMPARE(textChanged.size(), 1);
    QCOMPARE(
        vm.scanProgressText(),
        QStringLiteral("Verifying duplicates — 0 of 4 candidate files · 3 (under 10 KB ignored)"));

    gate.release();
    AWAIT(scanning);
    // The running scan kept the 1 KB threshold it started with.
    QCOMPARE(vm.result().filesScanned(), 4);
    QCOMPARE(vm.result().ignoredSmallFiles(), 3);
    QCOMPARE(vm.result().groupCount(), 2);

    // The next scan takes the new setting.
    AWAIT(vm.scan(QByteArray::fromStdString(dir.path())));
    QCOMPARE(vm.result().filesScanned(), 0);
    QCOMPARE(vm.result().ignoredSmallFiles(), 7);
}

void DuplicateScanViewModelTest::notificationOrderOnSuccess() {
    TempDir dir;
    makeTree(dir.path(), 1, 0);
    DuplicateScanViewModel vm;
    const QStringList *log = recordNotifications(vm);
    AWAIT(vm.scan(QByteArray::fromStdString(dir.path())));
    QCOMPARE(log->first(), QStringLiteral("isScanning"));
    // The result is there before the scan reads as ended.
    QCOMPARE(log->mid(log->size() - 3), (QStringList{"result", "isScanning", "scanProgress"}));
    QCOMPARE(log->count("result"), 1);
    QCOMPARE(log->count("errorMessage"), 0);
    QCOMPARE(vm.result().duplicateFileCount(), 2);
    QCOMPARE(vm.result().reclaimableBytes(), quint64(2048));
    QCOMPARE(vm.result().rootPath(), QString::fromStdString(dir.path()));
}

void DuplicateScanViewModelTest::urlScanKeepsNonUtf8Bytes() {
    TempDir dir;
    const std::string folder = dir / "caf\xe9 100%";
    makeTree(folder, 1, 0);

    const QUrl url = fileurls::fromPath(folder);
    QVERIFY(url.isLocalFile());
    QCOMPARE(fileurls::toPath(url), folder);
    QCOMPARE(fileurls::toPath(QUrl::fromLocalFile(QStringLiteral("/tmp/a b"))),
             std::string("/tmp/a b"));
    QCOMPARE(fileurls::toPath(QUrl(QStringLiteral("/tmp/plain"))), std::string("/tmp/plain"));
    QCOMPARE(fileurls::toPath(QUrl(QStringLiteral("https://example.org/x"))), std::string());

    DuplicateScanViewModel vm;
    QSignalSpy ended(&vm, &DuplicateScanViewModel::isScanningChanged);
    QVERIFY(QMetaObject::invokeMethod(&vm, "scan", Q_ARG(QUrl, url)));
    QTRY_VERIFY_WITH_TIMEOUT(!vm.isScanning() && ended.size() == 2, timeoutMs);
    QCOMPARE(vm.result().core().rootURL, folder);
    QCOMPARE(vm.result().groupCount(), 1);
    QVERIFY(vm.result().rootPath().contains(QChar(0xFFFD)));
}

QTEST_GUILESS_MAIN(DuplicateScanViewModelTest)
#include "duplicatescanviewmodel_test.moc"
