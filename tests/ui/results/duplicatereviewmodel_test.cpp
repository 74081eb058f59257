#include "bytetexts.h"
#include "cleanupprotection.h"
#include "cleanuptexts.h"
#include "duplicatereviewmodel.h"
#include "duplicatescanviewmodel.h"
#include "fileurls.h"
#include "resulttexts.h"
#include "scanrecorder.h"
#include "tempdir.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QLocale>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <fcntl.h>
#include <functional>
#include <future>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

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

ReviewRowsModel::CleanupState cleanupState(DuplicateReviewModel &model, int row) {
    return ReviewRowsModel::CleanupState(
        model.rows()->data(model.rows()->index(row), ReviewRowsModel::CleanupStateRole).toInt());
}

using Paths = std::set<std::string>;

Paths marked(const DuplicateReviewModel &model) {
    return {model.review().selectedForTrash().begin(), model.review().selectedForTrash().end()};
}

void setModificationTime(const std::string &path, std::int64_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        qFatal("cannot set the time of %s", path.c_str());
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
            report.failures.push_back({selected.front().url, CleanupFailureReason::trash,
                                       Trash::Failure{Trash::Problem::refused, ENOSPC}});
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
        const auto record = [&](auto *sender, auto signal, QString name,
                                std::function<int()> value) {
            const auto entry = [&log, name, value, main = thread()] {
                if (QThread::currentThread() != main)
                    log << QStringLiteral("off-thread");
                else
                    log << (value ? name + '=' + QString::number(value()) : name);
            };
            connect(sender, signal, this, entry, Qt::DirectConnection);
        };
        CleanupJob *job = m.cleanup();
        record(job, &CleanupJob::isRunningChanged, "isCleaning",
               [job] { return job->isRunning(); });
        record(&m, &DuplicateReviewModel::showCleanupReviewChanged, "showCleanupReview",
               [&m] { return m.showCleanupReview(); });
        record(&m, &DuplicateReviewModel::selectionChanged, "selection",
               [&m] { return m.selectedCount(); });
        record(&m, &DuplicateReviewModel::cleanupGuardMessageChanged, "guard", nullptr);
        record(job, &CleanupJob::reportChanged, "report", [job] { return job->hasReport(); });
    }

private slots:
    void aFilteredRowIsMarkedAgainstItsWholeSet();
    void protectedRowsAreReviewOnlyAndASweepAlertsOnce();
    void aNewResultKeepsTheReviewState();
    void completionClosesTheReviewEmptiesTheMarksThenShowsTheReport();
    void aThrowingRunClosesTheReviewAndAlertsButKeepsTheMarks();
    void oneRunAtATimeAndNoneForAFullyMarkedSet();
    void aModelDestroyedDuringARunIsLeftAlone();
    // The "Mark" menu's bulk marks, their undo and feedback line.
    void keepOldestWaitsForTimesReadOnAWorkerThenWordsItsFeedbackUntilTheNextChange();
    void aRuleWaitsForTheProtectionAnswersAndLeavesProtectedCopiesAlone();
    void clicksBeforeTheProtectionAnswersCountOnceTheyCome();
    void aScannedResultShowsItsCategoryCountsAtOnce();
    void aFolderIsTakenByTheBytesOfItsUrlAndMustLieInsideTheScannedFolder();
    // The words chosen for the core's values.
    void everyValueHasWordsOfItsOwn();
    void byteCountsReadInTheLocalesNumbers();
    void aTrashFailureSaysWhatAndWhy();
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
    QCOMPARE(cleanupState(model, 0), ReviewRowsModel::Keep);

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
    QCOMPARE(cleanupState(model, 0), ReviewRowsModel::Trash);
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
    QCOMPARE(cleanupState(model, 2), ReviewRowsModel::Checking);
    // A click before the answer waits for it.
    model.toggleRow(2);
    QCOMPARE(model.selectedCount(), 0);
    QSignalSpy known(&model, &DuplicateReviewModel::protectionKnown);
    QVERIFY(known.wait(10000));
    QCOMPARE(cleanupState(model, 0), ReviewRowsModel::Protected);
    QCOMPARE(cleanupState(model, 2), ReviewRowsModel::Trash);
    model.toggleRow(2);
    QCOMPARE(cleanupState(model, 2), ReviewRowsModel::Keep);

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
             QStringLiteral("The file could not be moved to the Trash. No space left on device."));
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

void DuplicateReviewModelTest::
    keepOldestWaitsForTimesReadOnAWorkerThenWordsItsFeedbackUntilTheNextChange() {
    TempDir dir;
    const std::string a(4096, 'a'), b(4096, 'b');
    for (const char *name : {"a1", "sub/a2", "a3"})
        writeFile(dir / name, a);
    for (const char *name : {"b1", "b2"})
        writeFile(dir / name, b);
    setModificationTime(dir / "a1", 3000);
    setModificationTime(dir / "sub/a2", 1000);
    setModificationTime(dir / "a3", 2000);
    setModificationTime(dir / "b2", 500);
    DuplicateReviewModel model;
    MarkRuleRunner &marks = *model.marks();
    QAbstractItemModelTester rowsTester(model.rows());
    QAbstractItemModelTester sheetTester(model.selectedFilesModel());
    show(model, scanOf(dir, {}));
    // Gone after the scan: its time cannot be read, so it counts as oldest.
    ::unlink((dir / "b1").c_str());

    QSignalSpy applied(&marks, &MarkRuleRunner::ruleApplied);
    marks.apply(MarkRuleRunner::KeepOldest);
    QVERIFY(marks.busy());
    QVERIFY2(marked(model).empty(), "nothing is marked before the times arrive");
    QVERIFY(applied.wait(10000));
    QVERIFY(!marks.busy());
    QCOMPARE(marked(model), (Paths{dir / "a1", dir / "a3", dir / "b2"}));
    QCOMPARE(marks.feedback(), QStringLiteral("Marked 3 copies in 2 sets"));
    QCOMPARE(model.selectedCount(), 3);

    // The times are read once per result; the next rule runs at once.
    marks.apply(MarkRuleRunner::KeepNewest);
    QCOMPARE(applied.count(), 2);
    QCOMPARE(marked(model), (Paths{dir / "sub/a2", dir / "a3", dir / "b1"}));

    // A click is the next change: the line goes. Undo takes back the click,
    // then "Clear Selection" as well.
    model.toggleRow(rowOf(model, dir / "a3"));
    QVERIFY(marks.feedback().isEmpty());
    model.clearSelection();
    marks.undo();
    marks.undo();
    QCOMPARE(marked(model), (Paths{dir / "sub/a2", dir / "a3", dir / "b1"}));
    QCOMPARE(model.selectedCount(), 3);
    QCOMPARE(model.selectedFilesModel()->rowCount(), 3);

    // A new result starts a new history and drops the line.
    marks.apply(MarkRuleRunner::InvertMarks);
    QVERIFY(!marks.feedback().isEmpty());
    QVERIFY(marks.canUndo());
    show(model, scanOf(dir, {}));
    QVERIFY(marks.feedback().isEmpty());
    QVERIFY(!marks.canUndo());
    QCOMPARE(model.selectedFilesModel()->rowCount(), model.selectedCount());
}

void DuplicateReviewModelTest::aRuleWaitsForTheProtectionAnswersAndLeavesProtectedCopiesAlone() {
    TempDir dir;
    for (const char *name : {"x1", "x2", "x3"})
        writeFile(dir / name, std::string(2048, 'x'));
    for (const char *name : {"y1", "y2"})
        writeFile(dir / name, std::string(2048, 'y'));
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    const std::string guarded = dir / "x3";
    DuplicateReviewModel model;
    model.setProtectionTest([released, guarded](const std::string &path) {
        released.wait();
        return path == guarded;
    });
    MarkRuleRunner &marks = *model.marks();
    QSignalSpy applied(&marks, &MarkRuleRunner::ruleApplied);
    QSignalSpy alerts(&model, &DuplicateReviewModel::protectedLocationMessageChanged);
    model.setResult(scanOf(dir, {}));

    marks.apply(MarkRuleRunner::KeepFirst);
    QTest::qWait(50);
    QVERIFY(marks.busy());
    QVERIFY(marked(model).empty());
    release.set_value();
    QVERIFY(applied.wait(10000));
    QCOMPARE(marked(model), (Paths{dir / "x2", dir / "y2"}));
    QCOMPARE(marks.feedback(),
             QStringLiteral("Marked 2 copies in 2 sets · 1 protected copies left alone"));
    QVERIFY(model.hasProtectedLocationMessage());
    QCOMPARE(alerts.count(), 1);
}

// KEEP is shown and clickable from the first frame; a click made before the
// answers is carried out when they come, and one on a protected copy raises
// the alert instead of marking it.
void DuplicateReviewModelTest::clicksBeforeTheProtectionAnswersCountOnceTheyCome() {
    TempDir dir;
    for (const char *name : {"a1", "a2", "b1", "b2"})
        writeFile(dir / name, std::string(2048, name[0]));
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    const std::string guarded = dir / "b1";
    DuplicateReviewModel model;
    model.setProtectionTest([released, guarded](const std::string &path) {
        released.wait();
        return path == guarded;
    });
    QSignalSpy known(&model, &DuplicateReviewModel::protectionKnown);
    model.setResult(scanOf(dir, {}));
    const int a1 = rowOf(model, dir / "a1"), b1 = rowOf(model, dir / "b1");
    QCOMPARE(cleanupState(model, a1), ReviewRowsModel::Checking);
    model.toggleRow(a1);
    model.toggleRow(b1);
    QVERIFY(marked(model).empty());

    release.set_value();
    QVERIFY(known.wait(10000));
    QCOMPARE(marked(model), (Paths{dir / "a1"}));
    QCOMPARE(cleanupState(model, rowOf(model, dir / "a1")), ReviewRowsModel::Trash);
    QVERIFY(model.hasProtectedLocationMessage());
}

// A result published by the scan controller carries the review-only
// groupings: the category bar has its counts before any event is handled,
// instead of showing bare titles for the first frames.
void DuplicateReviewModelTest::aScannedResultShowsItsCategoryCountsAtOnce() {
    TempDir dir;
    writeFile(dir / "a/same.txt", std::string(2048, 'a'));
    writeFile(dir / "b/same.txt", std::string(2048, 'b'));
    writeFile(dir / "c/copy.bin", std::string(3000, 'c'));
    writeFile(dir / "d/copy.bin", std::string(3000, 'c'));
    DuplicateScanViewModel scanner;
    const std::string folder = dir.path();
    scanner.scan(QByteArray(folder.data(), static_cast<qsizetype>(folder.size())));
    QTRY_VERIFY_WITH_TIMEOUT(scanner.result().hasValue(), 10000);

    DuplicateReviewModel model;
    model.setResult(scanner.result());
    QStringList atOnce;
    for (int c = 0; c < 4; ++c)
        atOnce << model.categoryButtons()->label(c);

    // The same result without them: the counts come later, and are the same.
    DuplicateReviewModel later;
    later.setResult(ScanResultValue(scanner.result().core()));
    QVERIFY(!later.categoryButtons()->label(2).contains('('));
    QTRY_VERIFY(later.categoryButtons()->label(2).contains('('));
    for (int c = 0; c < 4; ++c)
        QCOMPARE(atOnce[c], later.categoryButtons()->label(c));
    QVERIFY(atOnce[1].endsWith(QStringLiteral(")")) && atOnce[2].endsWith(QStringLiteral(")")));
}

void DuplicateReviewModelTest::aFolderIsTakenByTheBytesOfItsUrlAndMustLieInsideTheScannedFolder() {
    TempDir dir;
    // A folder name that is not UTF-8, and a sibling whose name it prefixes.
    const std::string old = dir / "old\xff", older = dir / "old\xff"
                                                           "c";
    const std::string content(4096, 'o');
    for (const auto &path : {old + "/p1", old + "/deep/p2", older + "/p3", dir / "p4"})
        writeFile(path, content);
    for (const auto &path : {old + "/q1", old + "/q2"})
        writeFile(path, std::string(4096, 'q'));
    DuplicateReviewModel model;
    MarkRuleRunner &marks = *model.marks();
    show(model, scanOf(dir, {}));
    QCOMPARE(fileurls::toPath(marks.scannedFolder()), dir.path());

    QSignalSpy applied(&marks, &MarkRuleRunner::ruleApplied);
    marks.markCopiesInFolder(fileurls::fromPath(old));
    QCOMPARE(applied.count(), 1);
    // The q set lies wholly inside and keeps its first copy.
    QCOMPARE(marked(model), (Paths{old + "/p1", old + "/deep/p2", old + "/q2"}));
    QCOMPARE(marks.feedback(), QStringLiteral("Marked 3 copies in 2 sets"));

    marks.markCopiesInFolder(QUrl::fromLocalFile(QStringLiteral("/usr")));
    QCOMPARE(marks.feedback(), QStringLiteral("Choose a folder inside the scanned folder."));
    QCOMPARE(applied.count(), 1);
    QCOMPARE(marked(model).size(), 3u);
}

void DuplicateReviewModelTest::everyValueHasWordsOfItsOwn() {
    // A case added to the core without words would show an empty button,
    // menu entry, alert or report line; two cases sharing words could not
    // be told apart.
    const auto distinctAndFilled = [](const QStringList &texts, qsizetype expected) {
        QCOMPARE(texts.size(), expected);
        for (const QString &text : texts)
            QVERIFY2(!text.trimmed().isEmpty(), qPrintable(texts.join(QLatin1Char('|'))));
        QCOMPARE(QSet<QString>(texts.begin(), texts.end()).size(), expected);
    };
    const auto categories = MatchCategory::allCases();
    QStringList titles, descriptions, helps, verifications, labels;
    for (const auto c : categories) {
        titles << ResultTexts::categoryTitle(c);
        descriptions << ResultTexts::categoryDescription(c);
        helps << ResultTexts::categoryHelp(c);
        verifications << ResultTexts::verificationLabel(c);
        labels << ResultTexts::categoryLabel(c, 3);
        QVERIFY(!ResultTexts::verificationHelp(c).isEmpty());
    }
    for (const auto &texts : {titles, descriptions, helps, verifications, labels})
        distinctAndFilled(texts, qsizetype(categories.size()));
    QStringList sorts;
    for (const auto s : GroupSort::allCases())
        sorts << ResultTexts::sortLabel(s);
    distinctAndFilled(sorts, qsizetype(GroupSort::allCases().size()));
    QCOMPARE(DuplicateReviewModel::sortOptions(), sorts);
    QStringList cards, cardTips;
    for (int card = SummaryCardsModel::FilesScanned; card <= SummaryCardsModel::PotentialSavings;
         ++card) {
        cards << ResultTexts::cardTitle(SummaryCardsModel::Card(card));
        cardTips << ResultTexts::cardTooltip(SummaryCardsModel::Card(card));
    }
    distinctAndFilled(cards, 4);
    distinctAndFilled(cardTips, 4);

    QStringList alerts;
    for (const auto guard :
         {ResultReview::Guard::keepOneCopy, ResultReview::Guard::wholeSetSelected})
        alerts << CleanupTexts::alert(guard);
    for (int r = 0; r <= int(CleanupStopReason::noUnchangedKeepCopy); ++r) {
        alerts << CleanupTexts::alert(CleanupStopReason(r));
        QCOMPARE(alerts.last(), CleanupTexts::stop(CleanupStopReason(r)));
    }
    distinctAndFilled(alerts, 6);
    QStringList failures;
    const Trash::Failure full{Trash::Problem::refused, ENOSPC};
    for (int r = 0; r <= int(CleanupFailureReason::trash); ++r)
        failures << CleanupTexts::failure({"/x", CleanupFailureReason(r), full});
    distinctAndFilled(failures, int(CleanupFailureReason::trash) + 1);
    QStringList trash;
    for (int p = 0; p <= int(Trash::Problem::folderGone); ++p)
        trash << CleanupTexts::trashFailure({Trash::Problem(p), EACCES});
    distinctAndFilled(trash, int(Trash::Problem::folderGone) + 1);

    // The category bar's forms: a count, no count yet, and the planned one.
    QCOMPARE(ResultTexts::categoryLabel(MatchCategory::exact, 12),
             QStringLiteral("Exact Duplicates (12)"));
    QCOMPARE(ResultTexts::categoryLabel(MatchCategory::sameName, std::nullopt),
             ResultTexts::categoryTitle(MatchCategory::sameName));
    QCOMPARE(ResultTexts::categoryLabel(MatchCategory::similar, 5),
             QStringLiteral("Similar Files · Planned"));
    QCOMPARE(ResultTexts::relativeFolder("/data/scan", "/data/scan/top.jpg"),
             QStringLiteral("Selected folder"));
    QCOMPARE(ResultTexts::relativeFolder("/data/scan", "/data/scan/a/b.jpg"), QStringLiteral("a"));
}

void DuplicateReviewModelTest::byteCountsReadInTheLocalesNumbers() {
    const QLocale c = QLocale::c();
    const std::vector<std::pair<std::uint64_t, const char *>> cases{
        {0, "Zero KB"},
        {1, "1 byte"},
        {999, "999 bytes"},
        {1000, "1 KB"},
        {999'500, "1 MB"},
        {12'449'999, "12.4 MB"},
        {1'050'000'000, "1.05 GB"},
        {3'456'789'000'000, "3.46 TB"},
        {2'500'000'000'000'000, "2,500 TB"},
        {UINT64_MAX, "18,446,744.07 TB"},
    };
    for (const auto &[bytes, text] : cases)
        QCOMPARE(ByteTexts::text(byteAmount(bytes), c), QString::fromUtf8(text));
    QCOMPARE(ByteTexts::text(byteAmountKBToTB(12), c), QStringLiteral("1 KB"));
    // The point and the grouping are the locale's; the digits after the
    // point keep their leading zero.
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(ByteTexts::text(byteAmount(1'050'000'000), german), QStringLiteral("1,05 GB"));
    QCOMPARE(ByteTexts::text(byteAmount(2'500'000'000'000'000), german),
             QStringLiteral("2.500 TB"));
}

void DuplicateReviewModelTest::aTrashFailureSaysWhatAndWhy() {
    // The system's reason follows the sentence, and a report line that
    // carries the Trash's answer ends with it.
    const QString denied = CleanupTexts::trashFailure({Trash::Problem::refused, EACCES});
    QCOMPARE(denied,
             QStringLiteral("The file could not be moved to the Trash. Permission denied."));
    QCOMPARE(CleanupTexts::trashFailure({Trash::Problem::homeTrashUnusable, ENOTDIR}),
             QStringLiteral("The file could not be moved to the Trash. The Trash could not be "
                            "used: Not a directory."));
    QCOMPARE(CleanupTexts::failure({"/x", CleanupFailureReason::stillInTrash,
                                    Trash::Failure{Trash::Problem::nameTaken, 0}}),
             QStringLiteral("Moved, but the copy kept in its set changed during the cleanup. It "
                            "is still in the Trash: Its name is taken again."));
    QCOMPARE(CleanupTexts::failure({"/x", CleanupFailureReason::trash,
                                    Trash::Failure{Trash::Problem::refused, EACCES}}),
             denied);
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
