#include "cleanupprotection.h"
#include "duplicatereviewmodel.h"
#include "scanrecorder.h"
#include "tempdir.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <future>
#include <sys/stat.h>

#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

using namespace twinsift;
using namespace twinsift::testing;

namespace {

std::string &homePath() {
    static std::string path;
    return path;
}

// Writes one file of content per name and scans the folder.
ScanResultValue scanOf(const TempDir &dir, std::initializer_list<const char *> names,
                       const std::string &content = std::string(4096, 'c')) {
    for (const char *name : names)
        writeFile(dir / name, content);
    ScanRecorder scan;
    scan.run(dir.path(), 1024);
    if (!scan.succeeded())
        qFatal("scan of %s failed", dir.path().c_str());
    return ScanResultValue(scan.result());
}

// Hands the model a result and waits for its protection answers, which a
// worker works out.
void show(DuplicateReviewModel &model, const ScanResultValue &value) {
    QSignalSpy known(&model, &DuplicateReviewModel::protectionKnown);
    model.setResult(value);
    if (!known.wait(10000))
        qFatal("no protection answer for the result");
}

int rowOf(DuplicateReviewModel &model, const std::string &path) {
    auto *rows = model.rows();
    for (int i = 0; i < rows->rowCount(); ++i)
        if (rows->data(rows->index(i), ReviewRowsModel::DisplayPathRole).toString() ==
            QString::fromStdString(path))
            return i;
    return -1;
}

QString cleanupState(DuplicateReviewModel &model, int row) {
    return model.rows()
        ->data(model.rows()->index(row), ReviewRowsModel::CleanupStateRole)
        .toString();
}

bool exists(const std::string &path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// A cleanup run that waits until the test lets it finish.
struct HeldRun {
    std::atomic<int> runs = 0;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    // What the run still read of the result and the marks once let go.
    std::promise<std::string> readAfterRelease;

    CleanupJob::Runner runner() {
        return [this, released = released](const DuplicateScanResult &result,
                                           const std::vector<DuplicateFile> &selected,
                                           const std::function<bool(const std::string &)> &) {
            ++runs;
            released.wait();
            readAfterRelease.set_value(result.rootURL + '|' + selected.front().url);
            CleanupReport report;
            report.failures.push_back({selected.front().url, "The Trash is full"});
            return CleanupOutcome(report);
        };
    }
};

} // namespace

class DuplicateReviewModelTest : public QObject {
    Q_OBJECT

private:
    // Records the cleanup hand-back's signals in order, as they are emitted,
    // and any that is emitted off the main thread.
    void watch(DuplicateReviewModel &m, QStringList &log) {
        const auto record = [&](auto signal, QString name, std::function<int()> value) {
            const auto entry = [&log, name, value, main = thread()] {
                if (QThread::currentThread() != main)
                    log << QStringLiteral("off-thread");
                else
                    log << (value ? name + '=' + QString::number(value()) : name);
            };
            connect(&m, signal, this, entry, Qt::DirectConnection);
        };
        const auto job = [&](auto signal, QString name, std::function<int()> value) {
            connect(
                m.cleanup(), signal, this,
                [&log, name, value, main = thread()] {
                    log << (QThread::currentThread() != main
                                ? QStringLiteral("off-thread")
                                : name + '=' + QString::number(value()));
                },
                Qt::DirectConnection);
        };
        job(&CleanupJob::isRunningChanged, "isCleaning", [&m] { return m.cleanup()->isRunning(); });
        record(&DuplicateReviewModel::showCleanupReviewChanged, "showCleanupReview",
               [&m] { return m.showCleanupReview(); });
        record(&DuplicateReviewModel::selectionChanged, "selection",
               [&m] { return m.selectedCount(); });
        record(&DuplicateReviewModel::cleanupGuardMessageChanged, "guard", nullptr);
        job(&CleanupJob::reportChanged, "report", [&m] { return m.cleanup()->hasReport(); });
    }

private slots:
    void aFilteredRowIsMarkedAgainstItsWholeSet();
    void protectedRowsAreReviewOnlyAndASweepAlertsOnce();
    void aNewResultKeepsTheReviewState();
    void completionClosesTheReviewEmptiesTheMarksThenShowsTheReport();
    void aThrowingRunClosesTheReviewAndAlertsButKeepsTheMarks();
    void oneRunAtATimeAndNoneForAFullyMarkedSet();
    void aModelDestroyedDuringARunIsLeftAlone();
    void screensCanBindToItFromQml();
};

void DuplicateReviewModelTest::aFilteredRowIsMarkedAgainstItsWholeSet() {
    TempDir dir;
    DuplicateReviewModel model;
    QAbstractItemModelTester rowsTester(model.rows());
    QAbstractItemModelTester selectionTester(model.selectedFilesModel());
    // The review-only groupings of every scanned file are worked out on a
    // worker; until they arrive their buttons carry no count.
    QSignalSpy known(&model, &DuplicateReviewModel::protectionKnown);
    model.setResult(scanOf(dir, {"keep.txt", "match-1.txt", "sub/match-2.txt"}));
    QVERIFY(!model.review().hasReviewGroupings());
    QCOMPARE(model.categoryButtons()->label(DuplicateReviewModel::SameName),
             QStringLiteral("Same Name"));
    QVERIFY(known.wait(10000));
    QCOMPARE(model.categoryButtons()->label(DuplicateReviewModel::SameName),
             QStringLiteral("Same Name (0)"));
    QCOMPARE(model.rows()->rowCount(), 3);
    QCOMPARE(cleanupState(model, 0), QStringLiteral("keep"));

    model.toggleRow(rowOf(model, dir / "match-1.txt"));
    // One row left on screen: by itself it would be its set's last copy. The
    // keystroke removes the two rows that no longer match and redraws the
    // one that now heads its group; the view keeps everything else.
    QSignalSpy resets(model.rows(), &QAbstractItemModel::modelReset);
    QSignalSpy removals(model.rows(), &QAbstractItemModel::rowsRemoved);
    QSignalSpy redraws(model.rows(), &QAbstractItemModel::dataChanged);
    model.setSearchText(QStringLiteral(" MATCH-2 "));
    QCOMPARE(model.rows()->rowCount(), 1);
    QCOMPARE(removals.count(), 1);
    QCOMPARE(removals[0].mid(1), (QVariantList{0, 1}));
    QCOMPARE(redraws.count(), 1);
    QSignalSpy rowChanges(model.rows(), &QAbstractItemModel::dataChanged);
    model.toggleRow(0);
    QVERIFY(!model.hasCleanupGuardMessage());
    QCOMPARE(model.selectedCount(), 2);
    QCOMPARE(rowChanges.count(), 1);
    QCOMPARE(cleanupState(model, 0), QStringLiteral("trash"));
    QCOMPARE(model.selectedCountText(), QStringLiteral("2 selected for Trash"));
    QCOMPARE(model.reviewSummaryText(), QStringLiteral("2 files · 8 KB"));

    model.setSearchText(QStringLiteral("keep"));
    model.toggleRow(0);
    QCOMPARE(model.cleanupGuardMessage(),
             QStringLiteral("At least one copy in every exact-duplicate set must remain. Choose a "
                            "different file to keep before selecting this one."));
    QCOMPARE(model.selectedCount(), 2);

    // Changing category or view redraws by rows too.
    model.selectCategory(DuplicateReviewModel::SameName);
    model.showDuplicateFiles();
    QCOMPARE(model.rows()->rowCount(), 3);
    QCOMPARE(resets.count(), 0);
}

void DuplicateReviewModelTest::protectedRowsAreReviewOnlyAndASweepAlertsOnce() {
    TempDir dir;
    const std::string content(3000, 'L');
    // Two copies in the user's Library (reached through a link) and one
    // outside it.
    writeFile(homePath() + "/Library/Caches/x1.bin", content);
    writeFile(homePath() + "/Library/Caches/x2.bin", content);
    writeFile(dir / "x3.bin", content);
    QCOMPARE(::symlink((homePath() + "/Library").c_str(), (dir / "lib").c_str()), 0);

    DuplicateScanResult result;
    result.rootURL = dir.path();
    result.groups = {{"h", 3000, {}}};
    for (const char *path : {"lib/Caches/x1.bin", "lib/Caches/x2.bin", "x3.bin"}) {
        result.groups[0].files.push_back({dir / path, 3000});
        result.scannedFiles.push_back(result.groups[0].files.back());
    }

    DuplicateReviewModel model;
    // The answers come from a worker, never from the thread that draws.
    std::atomic<int> mainThreadChecks = 0;
    model.setProtectionTest(
        [&mainThreadChecks, main = QThread::currentThread()](const std::string &path) {
            if (QThread::currentThread() == main)
                ++mainThreadChecks;
            return CleanupProtection::isProtected(path);
        });
    model.setResult(ScanResultValue(result));
    QCOMPARE(cleanupState(model, 2), QStringLiteral("checking"));
    model.toggleRow(2);
    QCOMPARE(model.selectedCount(), 0);
    QSignalSpy known(&model, &DuplicateReviewModel::protectionKnown);
    QVERIFY(known.wait(10000));
    QCOMPARE(cleanupState(model, 0), QStringLiteral("protected"));
    QCOMPARE(cleanupState(model, 2), QStringLiteral("keep"));

    // A click that reaches a protected row anyway is swept straight back out.
    QSignalSpy alerts(&model, &DuplicateReviewModel::protectedLocationMessageChanged);
    QSignalSpy selection(&model, &DuplicateReviewModel::selectionChanged);
    model.toggleRow(0);
    QCOMPARE(alerts.count(), 1);
    QCOMPARE(selection.count(), 0);
    QVERIFY(model.protectedLocationMessage().startsWith(QStringLiteral("Exact duplicate found.")));
    model.dismissProtectedLocation();
    QVERIFY(!model.hasProtectedLocationMessage());
    model.toggleRow(2);
    QCOMPARE(model.selectedCount(), 1);
    QCOMPARE(mainThreadChecks.load(), 0);
}

void DuplicateReviewModelTest::aNewResultKeepsTheReviewState() {
    TempDir dir;
    DuplicateReviewModel model;
    show(model, scanOf(dir, {"one.txt", "sub/one.txt", "sub/two.txt"}));
    model.toggleRow(rowOf(model, dir / "sub/two.txt"));
    model.setShowFolderPaths(true);
    model.setSortMode(DuplicateReviewModel::Filename);
    model.setSearchText(QStringLiteral("one"));

    QSignalSpy categories(&model, &DuplicateReviewModel::categoryChanged);
    show(model, scanOf(dir, {"sub/three.txt"}));
    QCOMPARE(categories.count(), 0);
    QCOMPARE(model.searchText(), QStringLiteral("one"));
    QCOMPARE(model.sortMode(), DuplicateReviewModel::Filename);
    QVERIFY(model.showFolderPaths());
    QCOMPARE(model.selectedCount(), 1);
    QCOMPARE(model.rows()->rowCount(), 2);
    QCOMPARE(model.summaryCards()->value(SummaryCardsModel::DuplicateFiles), QStringLiteral("4"));

    // "Change Folder" drops the marks before it hands over.
    QStringList order;
    connect(&model, &DuplicateReviewModel::selectionChanged, this, [&] { order << "selection"; });
    connect(&model, &DuplicateReviewModel::changeFolderRequested, this,
            [&] { order << "changeFolder"; });
    model.changeFolder();
    QCOMPARE(order, (QStringList{"selection", "changeFolder"}));
    QCOMPARE(model.selectedCount(), 0);
}

void DuplicateReviewModelTest::completionClosesTheReviewEmptiesTheMarksThenShowsTheReport() {
    TempDir dir;
    DuplicateReviewModel model;
    show(model, scanOf(dir, {"keep.dat", "copy one.dat", "copy two.dat"}, std::string(8192, 'c')));
    model.toggleRow(rowOf(model, dir / "copy one.dat"));
    model.toggleRow(rowOf(model, dir / "copy two.dat"));
    model.setShowCleanupReview(true);

    QStringList log;
    watch(model, log);
    QSignalSpy reports(model.cleanup(), &CleanupJob::reportChanged);
    model.performCleanup();
    QVERIFY(model.cleanup()->isRunning());
    QVERIFY(reports.wait(10000));

    QCOMPARE(log, (QStringList{"isCleaning=1", "isCleaning=0", "showCleanupReview=0", "selection=0",
                               "report=1"}));
    QCOMPARE(model.cleanup()->reportTitle(), QStringLiteral("Cleanup Complete"));
    QCOMPARE(model.cleanup()->reportSummary(), QStringLiteral("2 files moved to Trash · 16 KB"));
    QCOMPARE(model.cleanup()->failures()->rowCount(), 0);
    QVERIFY(exists(dir / "keep.dat"));
    QVERIFY(!exists(dir / "copy one.dat"));
    QVERIFY(exists(homePath() + "/.local/share/Trash/files/copy one.dat"));

    // Closing the result sheet, by either button, scans the folder again.
    QSignalSpy rescans(&model, &DuplicateReviewModel::rescanRequested);
    model.closeCleanupReport();
    QVERIFY(!model.cleanup()->hasReport());
    QCOMPARE(rescans.count(), 1);
}

// What the run stopped for comes from the core; here, that a run which throws
// still hands exactly one stop back, in order, on the main thread.
void DuplicateReviewModelTest::aThrowingRunClosesTheReviewAndAlertsButKeepsTheMarks() {
    TempDir dir;
    DuplicateReviewModel model;
    model.cleanup()->setRunner(
        [](const auto &, const auto &, const auto &) -> CleanupOutcome { throw std::bad_alloc(); });
    // The cause is logged, not swallowed.
    QTest::ignoreMessage(QtWarningMsg, "cleanup run failed: std::bad_alloc");
    show(model, scanOf(dir, {"keep.dat", "marked.dat"}));
    model.toggleRow(rowOf(model, dir / "marked.dat"));
    model.setShowCleanupReview(true);

    QStringList log;
    watch(model, log);
    QSignalSpy guards(&model, &DuplicateReviewModel::cleanupGuardMessageChanged);
    model.performCleanup();
    QVERIFY(guards.wait(10000));

    QCOMPARE(log, (QStringList{"isCleaning=1", "isCleaning=0", "showCleanupReview=0", "guard"}));
    QCOMPARE(model.cleanupGuardMessage(), QStringLiteral("Cleanup stopped because a selected file "
                                                         "could not be revalidated. Please Rescan "
                                                         "before cleaning."));
    QCOMPARE(model.selectedCount(), 1);
    QVERIFY(!model.cleanup()->hasReport());
    QVERIFY(exists(dir / "marked.dat"));
}

void DuplicateReviewModelTest::oneRunAtATimeAndNoneForAFullyMarkedSet() {
    TempDir dir;
    HeldRun held;
    DuplicateReviewModel model;
    model.cleanup()->setRunner(held.runner());
    show(model, scanOf(dir, {"a.bin", "b.bin", "c.bin"}));
    model.toggleRow(0);
    model.toggleRow(1);
    // The rescan no longer sees c.bin: both remaining copies are marked.
    ::unlink((dir / "c.bin").c_str());
    show(model, scanOf(dir, {}));
    model.performCleanup();
    QCOMPARE(model.cleanupGuardMessage(),
             QStringLiteral("Cleanup stopped for safety. At least one copy in every "
                            "exact-duplicate set must remain."));
    QVERIFY(!model.cleanup()->isRunning());
    QCOMPARE(model.selectedCount(), 2);

    model.toggleRow(1);
    QSignalSpy reports(model.cleanup(), &CleanupJob::reportChanged);
    model.performCleanup();
    QTRY_COMPARE(held.runs.load(), 1);
    model.performCleanup();
    QTest::qWait(50);
    QCOMPARE(held.runs.load(), 1);
    QVERIFY(model.cleanup()->isRunning());

    held.release.set_value();
    QVERIFY(reports.wait(10000));
    QCOMPARE(held.runs.load(), 1);
    QCOMPARE(model.cleanup()->reportTitle(), QStringLiteral("Cleanup Completed with Warnings"));
    QCOMPARE(model.cleanup()->reportSummary(), QStringLiteral("0 files moved to Trash · Zero KB"));
    QCOMPARE(model.cleanup()->failureText(), QStringLiteral("1 files could not be moved"));
    auto *failures = model.cleanup()->failures();
    QCOMPARE(failures->rowCount(), 1);
    QCOMPARE(failures->data(failures->index(0), CleanupFailuresModel::MessageRole).toString(),
             QStringLiteral("The Trash is full"));
}

void DuplicateReviewModelTest::aModelDestroyedDuringARunIsLeftAlone() {
    TempDir dir;
    HeldRun held;
    auto model = std::make_unique<DuplicateReviewModel>();
    model->cleanup()->setRunner(held.runner());
    show(*model, scanOf(dir, {"a.bin", "b.bin"}));
    model->toggleRow(0);
    model->performCleanup();
    QTRY_COMPARE(held.runs.load(), 1);
    auto read = held.readAfterRelease.get_future();
    model.reset();

    // The run owns what it reads, so it finishes on intact data after the
    // model is gone, and what it posts back reaches nothing.
    held.release.set_value();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QCOMPARE(QString::fromStdString(read.get()),
             QString::fromStdString(dir.path() + '|' + (dir / "a.bin")));
}

void DuplicateReviewModelTest::screensCanBindToItFromQml() {
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQml
        import Twinsift
        DuplicateReviewModel {
            property int rowCount: rows.rowCount()
            property int cardCount: summaryCards.rowCount()
            property bool cleaning: cleanup.isRunning
            Component.onCompleted: selectCategory(DuplicateReviewModel.SameName)
        }
    )",
                      QUrl());
    std::unique_ptr<QObject> object(component.create());
    QVERIFY2(object, qPrintable(component.errorString()));
    QCOMPARE(object->property("category").value<DuplicateReviewModel::Category>(),
             DuplicateReviewModel::SameName);
    QCOMPARE(object->property("cardCount").toInt(), 4);
    QCOMPARE(object->property("cleaning").toBool(), false);
    QCOMPARE(object->property("rowCount").toInt(), 0);
}

int main(int argc, char **argv) {
    homePath() = makeScratchHome();

    QCoreApplication app(argc, argv);
    DuplicateReviewModelTest test;
    const int status = QTest::qExec(&test, argc, argv);
    removeTree(homePath());
    return status;
}

#include "duplicatereviewmodel_test.moc"
