#include "duplicatereviewmodel.h"
#include "fileurls.h"
#include "scanrecorder.h"
#include "tempdir.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <future>
#include <set>
#include <sys/stat.h>

using namespace twinsift;
using namespace twinsift::testing;

namespace {

using Paths = std::set<std::string>;

void setModificationTime(const std::string &path, std::int64_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        qFatal("cannot set the time of %s", path.c_str());
}

ScanResultValue scan(const TempDir &dir) {
    ScanRecorder recorder;
    recorder.run(dir.path(), 1024);
    if (!recorder.succeeded())
        qFatal("scan of %s failed", dir.path().c_str());
    return ScanResultValue(recorder.result());
}

void show(DuplicateReviewModel &model, const ScanResultValue &value) {
    QSignalSpy known(&model, &DuplicateReviewModel::protectionKnown);
    model.setResult(value);
    if (!known.wait(10000))
        qFatal("no protection answer for the result");
}

Paths marked(const DuplicateReviewModel &model) {
    return {model.review().selectedForTrash().begin(), model.review().selectedForTrash().end()};
}

int rowOf(DuplicateReviewModel &model, const std::string &path) {
    for (int i = 0; i < model.rows()->size(); ++i)
        if (model.rows()->rowAt(i)->file.url == path)
            return i;
    return -1;
}

} // namespace

class MarkRuleRunnerTest : public QObject {
    Q_OBJECT

private slots:
    void keepOldestWaitsForTimesReadOnAWorkerThenWordsItsFeedbackUntilTheNextChange();
    void aRuleWaitsForTheProtectionAnswersAndLeavesProtectedCopiesAlone();
    void aFolderIsTakenByTheBytesOfItsUrlAndMustLieInsideTheScannedFolder();
};

void MarkRuleRunnerTest::
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
    show(model, scan(dir));
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
    show(model, scan(dir));
    QVERIFY(marks.feedback().isEmpty());
    QVERIFY(!marks.canUndo());
    QCOMPARE(model.selectedFilesModel()->rowCount(), model.selectedCount());
}

void MarkRuleRunnerTest::aRuleWaitsForTheProtectionAnswersAndLeavesProtectedCopiesAlone() {
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
    model.setResult(scan(dir));

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

void MarkRuleRunnerTest::aFolderIsTakenByTheBytesOfItsUrlAndMustLieInsideTheScannedFolder() {
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
    show(model, scan(dir));
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

int main(int argc, char **argv) {
    const std::string home = makeScratchHome();
    QCoreApplication app(argc, argv);
    MarkRuleRunnerTest test;
    const int status = QTest::qExec(&test, argc, argv);
    removeTree(home);
    return status;
}

#include "markrulerunner_test.moc"
