#include "duplicatescanviewmodel.h"
#include "fileurls.h"
#include "paths.h"
#include "scangate.h"
#include "scantexts.h"
#include "tempdir.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <atomic>
#include <chrono>
#include <future>
#include <new>
#include <thread>

using namespace twinsift;
using twinsift::testing::ScanGate;
using twinsift::testing::TempDir;
using twinsift::testing::writePattern;

namespace {

constexpr int timeoutMs = 20000;

bool hashing(const DuplicateScanProgress &p) {
    return p.phase == DuplicateScanPhase::hashing;
}

// `pairs` sets of two equal files of 2 KB and more, and `small` 100-byte files.
std::string makeTree(const std::string &root, int pairs, int small = 0) {
    for (int i = 0; i < pairs; ++i)
        for (const char *side : {"/a/", "/b/"})
            writePattern(root + side + std::to_string(i), 2048 + std::uint64_t(i),
                         std::uint32_t(i));
    for (int i = 0; i < small; ++i)
        writePattern(root + "/small/" + std::to_string(i), 100, std::uint32_t(i));
    return root;
}

QByteArray bytes(const std::string &path) {
    return QByteArray::fromStdString(path);
}

// Every notification of the five published properties, by name, in order.
std::shared_ptr<QStringList> notifications(DuplicateScanViewModel &vm) {
    auto log = std::make_shared<QStringList>();
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
    void resultOutlivesTheNextScanUntilCleared();
    void progressTextsFollowReportsAndSetting();
    void everySettingAndErrorHasItsOwnWords();
    void progressLineIsItsPartsJoined();
    void newerScanSupersedesOlder();
    void stopIsNeverAnErrorButARemovedFolderIs();
    void destroyedWhileScanning();
    void aThrowingEngineEndsTheScanAsAFailure();
    void stuckScansNeverDelayANewOne();
    void urlKeepsNonUtf8Bytes();
};

void DuplicateScanViewModelTest::resultOutlivesTheNextScanUntilCleared() {
    TempDir dir;
    makeTree(dir.path(), 2);
    ScanGate gate;
    DuplicateScanViewModel vm(gate.engine());
    const auto log = notifications(vm);
    AWAIT(vm.scan(bytes(dir.path())));
    // Start: isScanning first. End: the result before the scan reads as ended.
    QCOMPARE(log->first(), QStringLiteral("isScanning"));
    QCOMPARE(log->mid(log->size() - 3), (QStringList{"result", "isScanning", "scanProgress"}));
    const ScanResultValue previous = vm.result();
    QCOMPARE(previous.groupCount(), 2);

    gate.holdAt(dir.path(), hashing);
    const auto running = vm.scan(bytes(dir.path()));
    QVERIFY(vm.isScanning() && vm.errorMessage().isEmpty() && vm.result() == previous);
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QTRY_VERIFY(vm.scanProgress() && hashing(*vm.scanProgress()));

    vm.clearResult();
    QVERIFY(!vm.result().hasValue() && vm.scanProgress() && vm.isScanning());
    gate.release();
    AWAIT(running);
    QCOMPARE(vm.result().groupCount(), 2);
    QVERIFY(!(vm.result() == previous));
    vm.clearResult();
    QVERIFY(!vm.result().hasValue() && !vm.scanProgress());
}

void DuplicateScanViewModelTest::everySettingAndErrorHasItsOwnWords() {
    // A case added to the engine without words would show an empty choice.
    QSet<QString> labels;
    for (const auto size : DuplicateMinimumFileSize::allCases()) {
        const QString label = ScanTexts::minimumFileSizeLabel(size);
        QVERIFY2(!label.isEmpty(), size.rawValue().data());
        labels.insert(label);
    }
    QCOMPARE(labels.size(), qsizetype(DuplicateMinimumFileSize::allCases().size()));
    const QString missing = ScanTexts::scanError(DuplicateScanError::folderUnavailable);
    const QString failed = ScanTexts::scanError(DuplicateScanError::internalError);
    QVERIFY(!missing.isEmpty() && !failed.isEmpty() && missing != failed);

    // The settings' ids are what the preferences keep: they read back.
    DuplicateScanViewModel vm;
    const QVariantList options = vm.property("minimumFileSizeOptions").toList();
    QCOMPARE(options.size(), qsizetype(DuplicateMinimumFileSize::allCases().size()));
    for (const QVariant &option : options) {
        const QString id = option.toMap().value(QStringLiteral("id")).toString();
        vm.setProperty("minimumFileSize", id);
        QCOMPARE(vm.property("minimumFileSize").toString(), id);
        QCOMPARE(option.toMap().value(QStringLiteral("label")).toString(),
                 ScanTexts::minimumFileSizeLabel(vm.minimumFileSize()));
    }
    vm.setProperty("minimumFileSize", QStringLiteral("tenKB"));
    QCOMPARE(vm.minimumFileSize(), DuplicateMinimumFileSize::tenKB);
}

void DuplicateScanViewModelTest::progressLineIsItsPartsJoined() {
    // Before the first report the line is one part; after it, two, and the
    // second is the same in both phases, so the screen can set it apart.
    QCOMPARE(ScanTexts::progressParts(std::nullopt, DuplicateMinimumFileSize::oneKB).size(), 1);
    DuplicateScanProgress walking{DuplicateScanPhase::enumerating, 7, 0, 0, 3};
    DuplicateScanProgress hashing{DuplicateScanPhase::hashing, 7, 2, 4, 3};
    DuplicateScanProgress nothing{DuplicateScanPhase::hashing, 7, 0, 0, 3};
    QString ignored;
    for (const auto &p : {walking, hashing, nothing}) {
        const QStringList parts = ScanTexts::progressParts(p, DuplicateMinimumFileSize::oneMB);
        QCOMPARE(parts.size(), 2);
        QVERIFY(!parts[0].isEmpty());
        if (ignored.isEmpty())
            ignored = parts[1];
        QCOMPARE(parts[1], ignored);
        QCOMPARE(ScanTexts::progressLine(parts), parts[0] + QStringLiteral(" · ") + parts[1]);
    }
    QCOMPARE(ignored, QStringLiteral("3 (under 1 MB ignored)"));
}

void DuplicateScanViewModelTest::progressTextsFollowReportsAndSetting() {
    TempDir dir;
    makeTree(dir.path(), 20, 35); // 40 candidates, 35 under 1 KB
    ScanGate gate;
    DuplicateScanViewModel vm(gate.engine());
    gate.holdAt(dir.path(), [](const DuplicateScanProgress &p) {
        return p.filesScanned + p.ignoredSmallFiles == 75;
    });
    const auto scanning = vm.scan(bytes(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QTRY_COMPARE(vm.scanProgressText(),
                 QStringLiteral("Scanning files — 40 eligible · 35 (under 1 KB ignored)"));
    QVERIFY(!vm.property("scanProgressFraction").isValid()); // an indefinite bar

    gate.holdAt(dir.path(), [](const DuplicateScanProgress &p) { return p.filesHashed == 12; });
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QTRY_COMPARE(vm.scanProgressText(),
                 QStringLiteral("Verifying duplicates — 12 of 40 "
                                "candidate files · 35 (under 1 KB ignored)"));
    QCOMPARE(vm.property("scanProgressFraction").toDouble(), 0.3);

    // The ignored part follows the setting; the running scan keeps 1 KB.
    vm.setMinimumFileSize(DuplicateMinimumFileSize::tenKB);
    QCOMPARE(vm.scanProgressText(), QStringLiteral("Verifying duplicates — 12 of 40 "
                                                   "candidate files · 35 (under 10 KB ignored)"));
    gate.release();
    AWAIT(scanning);
    QCOMPARE(vm.result().filesScanned(), 40);
    QCOMPARE(vm.result().ignoredSmallFiles(), 35);

    // The next scan takes 10 KB: every file is under it, so nothing is hashed.
    gate.holdAt(dir.path(), hashing);
    const auto rescan = vm.scan(bytes(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QTRY_COMPARE(vm.scanProgressText(),
                 QStringLiteral("No hash candidates · 75 (under 10 KB ignored)"));
    QVERIFY(!vm.scanProgressFraction());
    gate.release();
    AWAIT(rescan);
    QCOMPARE(vm.result().ignoredSmallFiles(), 75);
}

void DuplicateScanViewModelTest::newerScanSupersedesOlder() {
    TempDir first, second;
    makeTree(first.path(), 6);
    makeTree(second.path(), 1);
    ScanGate gate;
    // The older scan goes on reporting and delivers a result long after it
    // was superseded.
    gate.ignoreStopFor(first.path());
    gate.holdAt(first.path(), [](const DuplicateScanProgress &p) { return p.filesHashed == 1; });
    DuplicateScanViewModel vm(gate.engine());
    const auto older = vm.scan(bytes(first.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    AWAIT(vm.scan(bytes(second.path())));
    QVERIFY(!older.isFinished());
    QCOMPARE(vm.result().core().rootURL, second.path());

    const auto log = notifications(vm);
    gate.release();
    AWAIT(older); // everything the older scan posted has been handled by now
    QVERIFY(gate.stopWasRequested());
    QCOMPARE(*log, QStringList());
    QCOMPARE(vm.result().core().rootURL, second.path());
    QVERIFY(!vm.scanProgress() && !vm.isScanning());

    // Nor does one that ends while a newer scan still runs: moving the hold
    // to the newer scan lets the older one run to its end.
    TempDir third;
    makeTree(third.path(), 1);
    gate.holdAt(first.path(), [](const DuplicateScanProgress &p) { return p.filesHashed == 1; });
    const auto superseded = vm.scan(bytes(first.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    gate.holdAt(third.path(), hashing);
    const auto newest = vm.scan(bytes(third.path()));
    AWAIT(superseded);
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    QVERIFY(vm.isScanning());
    QCOMPARE(vm.result().core().rootURL, second.path());
    gate.release();
    AWAIT(newest);
    QCOMPARE(vm.result().core().rootURL, third.path());
}

void DuplicateScanViewModelTest::stopIsNeverAnErrorButARemovedFolderIs() {
    TempDir dir;
    makeTree(dir.path(), 30);
    ScanGate gate;
    DuplicateScanViewModel vm(gate.engine());
    vm.cancelScan(); // nothing runs: nothing happens
    AWAIT(vm.scan(bytes(dir.path())));
    const ScanResultValue previous = vm.result();

    gate.holdAt(dir.path(), [](const DuplicateScanProgress &p) { return p.filesScanned == 25; });
    const auto stopped = vm.scan(bytes(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    vm.cancelScan();
    QTest::qWait(50);
    QVERIFY(vm.isScanning()); // until the engine reaches its next check
    gate.release();
    AWAIT(stopped);
    QVERIFY(!vm.isScanning() && !vm.scanProgress() && vm.errorMessage().isEmpty());
    QVERIFY(vm.result() == previous);

    const auto log = notifications(vm);
    AWAIT(vm.scan(bytes(dir / "gone")));
    QCOMPARE(vm.errorMessage(), QStringLiteral("The selected folder could not be accessed."));
    QVERIFY(vm.result() == previous);
    // The error is there before the scan reads as ended.
    QCOMPARE(log->mid(log->size() - 3),
             (QStringList{"errorMessage", "isScanning", "scanProgress"}));
    const auto again = vm.scan(bytes(dir.path()));
    QVERIFY(vm.errorMessage().isEmpty());
    AWAIT(again);

    // An engine that finishes although it was asked to stop: its result is
    // dropped.
    vm.clearResult();
    gate.ignoreStopFor(dir.path());
    gate.holdAt(dir.path(), [](const DuplicateScanProgress &p) {
        return hashing(p) && p.filesHashed == p.candidateFiles;
    });
    const auto finishedAnyway = vm.scan(bytes(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(gate.isHeld(), timeoutMs);
    vm.cancelScan();
    // Dropping it is routine: the app says so only when its debug output is
    // asked for.
    static QStringList printed;
    printed.clear();
    const auto previousHandler = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext &, const QString &message) { printed << message; });
    gate.release();
    AWAIT(finishedAnyway);
    qInstallMessageHandler(previousHandler);
    QVERIFY2(printed.isEmpty(), qPrintable(printed.join('\n')));
    QVERIFY(!vm.result().hasValue() && vm.errorMessage().isEmpty() && !vm.isScanning());
}

void DuplicateScanViewModelTest::destroyedWhileScanning() {
    TempDir dir;
    makeTree(dir.path(), 3);
    ScanGate gate;
    gate.holdAt(dir.path(), hashing);
    auto vm = std::make_unique<DuplicateScanViewModel>(gate.engine());
    const auto running = vm->scan(bytes(dir.path()));
    // No events are handled meanwhile: the scan reaches hashing without ever
    // waiting for the main thread, and a progress delivery is still queued for
    // the controller when it goes.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!gate.isHeld() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    QVERIFY(gate.isHeld());
    vm.reset();
    gate.release();
    QTRY_VERIFY_WITH_TIMEOUT(running.isFinished(), timeoutMs);
    QVERIFY(gate.stopWasRequested() && running.isCanceled());
}

void DuplicateScanViewModelTest::aThrowingEngineEndsTheScanAsAFailure() {
    TempDir dir;
    makeTree(dir.path(), 2);
    int calls = 0;
    // The first scan succeeds; later ones fail the way a worker can: out of
    // memory part-way, or with something that is no exception class at all.
    DuplicateScanViewModel vm([&calls](const std::string &folder, std::uint64_t minimum,
                                       const DuplicateScanner::ProgressCallback &progress,
                                       std::stop_token stop) -> ScanOutcome {
        switch (calls++) {
        case 0:
            return DuplicateScanner::scan(folder, minimum, progress, stop);
        case 1:
            progress({DuplicateScanPhase::enumerating, 25, 0, 0, 0});
            throw std::bad_alloc();
        default:
            throw 42;
        }
    });
    AWAIT(vm.scan(bytes(dir.path())));
    const ScanResultValue previous = vm.result();
    QVERIFY(previous.hasValue());

    // The cause is logged, not swallowed; an unlogged message fails the test.
    QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^scan failed: .*bad_alloc"));
    QTest::ignoreMessage(QtCriticalMsg, "scan failed with an unknown exception");
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto log = notifications(vm);
        AWAIT(vm.scan(bytes(dir.path())));
        QVERIFY(!vm.isScanning() && !vm.scanProgress());
        // The folder is fine; saying it could not be accessed would send
        // the user looking for a problem that is not there.
        QCOMPARE(vm.errorMessage(),
                 QStringLiteral("The scan stopped because of an internal error."));
        QVERIFY(vm.result() == previous);
        QCOMPARE(log->mid(log->size() - 3),
                 (QStringList{"errorMessage", "isScanning", "scanProgress"}));
    }
}

void DuplicateScanViewModelTest::stuckScansNeverDelayANewOne() {
    // Scans of folders named "stuck…" hang in the engine, deaf to stop
    // requests, as reads from a hung network mount do, until released. The
    // promise releases them on every way out, so no thread is left hanging.
    std::promise<void> unstick;
    const std::shared_future<void> released = unstick.get_future().share();
    const auto inside = std::make_shared<std::atomic<int>>(0);
    DuplicateScanViewModel vm([released, inside](const std::string &folder, std::uint64_t minimum,
                                                 const DuplicateScanner::ProgressCallback &progress,
                                                 std::stop_token stop) -> ScanOutcome {
        if (paths::lastComponent(folder).starts_with("stuck")) {
            ++*inside;
            released.wait();
            return ScanCancelled{};
        }
        return DuplicateScanner::scan(folder, minimum, progress, stop);
    });
    TempDir dir;
    makeTree(dir.path(), 2);
    std::vector<QFuture<void>> stuck;
    for (int i = 0; i < 9; ++i)
        stuck.push_back(vm.scan(bytes(dir / ("stuck" + std::to_string(i)))));
    QTRY_COMPARE_WITH_TIMEOUT(inside->load(), 9, timeoutMs);

    const auto fresh = vm.scan(bytes(dir.path()));
    QTRY_VERIFY_WITH_TIMEOUT(fresh.isFinished(), 5000);
    QCOMPARE(vm.result().groupCount(), 2);
    QVERIFY(!vm.isScanning() && vm.errorMessage().isEmpty());

    unstick.set_value();
    for (const auto &f : stuck)
        QTRY_VERIFY_WITH_TIMEOUT(f.isFinished(), timeoutMs);
    QCOMPARE(vm.result().groupCount(), 2);
}

void DuplicateScanViewModelTest::urlKeepsNonUtf8Bytes() {
    const std::string folder = "/tmp/caf\xe9 100%";
    QCOMPARE(fileurls::toPath(fileurls::fromPath(folder)), folder);
    QCOMPARE(fileurls::toPath(QUrl::fromLocalFile("/tmp/a b")), std::string("/tmp/a b"));
    QCOMPARE(fileurls::toPath(QUrl("/tmp/plain")), std::string("/tmp/plain"));
    QCOMPARE(fileurls::toPath(QUrl("https://example.org/x")), std::string());
}

QTEST_GUILESS_MAIN(DuplicateScanViewModelTest)
#include "duplicatescanviewmodel_test.moc"
