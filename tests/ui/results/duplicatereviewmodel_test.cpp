#include "duplicatereviewmodel.h"
#include "scanrecorder.h"
#include "tempdir.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <cstdlib>
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

ScanResultValue scanOf(const std::string &folder) {
    ScanRecorder scan;
    scan.run(folder, 1024);
    if (!scan.succeeded())
        qFatal("scan of %s failed", folder.c_str());
    return ScanResultValue(scan.result());
}

int rowOf(const DuplicateReviewModel &model, const QString &displayPath) {
    auto *rows = const_cast<DuplicateReviewModel &>(model).rows();
    for (int i = 0; i < rows->rowCount(); ++i)
        if (rows->data(rows->index(i), ReviewRowsModel::DisplayPathRole).toString() == displayPath)
            return i;
    return -1;
}

QVariant role(DuplicateReviewModel &model, int row, ReviewRowsModel::Role r) {
    return model.rows()->data(model.rows()->index(row), r);
}

bool exists(const std::string &path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

class DuplicateReviewModelTest : public QObject {
    Q_OBJECT

private:
    // Records the cleanup hand-back's signals in order.
    void watch(DuplicateReviewModel &model, QStringList &log) {
        connect(&model, &DuplicateReviewModel::isCleaningChanged, this,
                [&] { log << QStringLiteral("isCleaning=%1").arg(model.isCleaning()); });
        connect(&model, &DuplicateReviewModel::showCleanupReviewChanged, this, [&] {
            log << QStringLiteral("showCleanupReview=%1").arg(model.showCleanupReview());
        });
        connect(&model, &DuplicateReviewModel::selectionChanged, this,
                [&] { log << QStringLiteral("selection=%1").arg(model.selectedCount()); });
        connect(&model, &DuplicateReviewModel::cleanupGuardMessageChanged, this,
                [&] { log << QStringLiteral("guard"); });
        connect(&model, &DuplicateReviewModel::cleanupReportChanged, this,
                [&] { log << QStringLiteral("report=%1").arg(model.hasCleanupReport()); });
    }

private slots:
    void rowsFollowTheCategoryAndTheMarks();
    void protectedRowsAreReviewOnlyAndASweepAlertsOnce();
    void aNewResultKeepsTheReviewState();
    void aFullyMarkedSetNeverStartsARun();
    void completionClosesTheReviewEmptiesTheMarksThenShowsTheReport();
    void aStopClosesTheReviewAndAlertsButKeepsTheMarks();
    void aSecondCleanupDuringARunStartsNothing();
    void closingTheReportAndTheHeaderButtonsAskForAScan();
    void screensCanBindToItFromQml();
};

void DuplicateReviewModelTest::rowsFollowTheCategoryAndTheMarks() {
    TempDir dir;
    const std::string content(4096, 'p');
    writeFile(dir / "a/Photo.jpg", content);
    writeFile(dir / "b/photo.jpg", content);
    writeFile(dir / "c/other.jpg", content);
    writeFile(dir / "d/PHOTO.JPG", std::string(5000, 'q'));

    DuplicateReviewModel model;
    QAbstractItemModelTester rowsTester(model.rows());
    QAbstractItemModelTester selectionTester(model.selectedFilesModel());
    model.setResult(scanOf(dir.path()));

    QCOMPARE(model.categoryButtons()[0].toMap()[QStringLiteral("label")].toString(),
             QStringLiteral("Exact Duplicates (1)"));
    QCOMPARE(model.categoryButtons()[2].toMap()[QStringLiteral("label")].toString(),
             QStringLiteral("Same Name (1)"));
    QCOMPARE(model.groupCountText(), QStringLiteral("1 groups"));
    QCOMPARE(model.rows()->rowCount(), 3);
    QVERIFY(model.cleanupEnabled());
    QCOMPARE(model.cleanupHeader(), QStringLiteral("Cleanup"));
    QCOMPARE(role(model, 0, ReviewRowsModel::CleanupStateRole).toString(), QStringLiteral("keep"));
    QCOMPARE(role(model, 0, ReviewRowsModel::SizeTextRole).toString(), QStringLiteral("4 KB"));
    QVERIFY(role(model, 0, ReviewRowsModel::FirstInGroupRole).toBool());
    QVERIFY(!role(model, 1, ReviewRowsModel::FirstInGroupRole).toBool());

    QSignalSpy rowChanges(model.rows(), &QAbstractItemModel::dataChanged);
    QSignalSpy selection(&model, &DuplicateReviewModel::selectionChanged);
    const int photo = rowOf(model, QString::fromStdString(dir / "a/Photo.jpg"));
    QVERIFY(photo >= 0);
    model.toggleRow(photo);
    QCOMPARE(selection.count(), 1);
    QCOMPARE(rowChanges.count(), 1);
    QCOMPARE(role(model, photo, ReviewRowsModel::CleanupTextRole).toString(),
             QStringLiteral("TRASH"));
    QCOMPARE(model.selectedCountText(), QStringLiteral("1 selected for Trash"));
    QCOMPARE(model.selectedBytesLabel(), QStringLiteral("4 KB selected"));
    QCOMPARE(model.reviewSummaryText(), QStringLiteral("1 files · 4 KB"));
    QCOMPARE(model.selectedFilesModel()->rowCount(), 1);
    QCOMPARE(model.selectedFilesModel()
                 ->data(model.selectedFilesModel()->index(0), CleanupSelectionModel::LocationRole)
                 .toString(),
             QStringLiteral("a"));

    // The search narrows the rows but the marks stay.
    model.setSearchText(QStringLiteral(" PHOTO "));
    QCOMPARE(model.rows()->rowCount(), 2);
    QCOMPARE(model.selectedCount(), 1);

    // Review-only categories: four "photo.jpg" files by name, no cleanup.
    model.selectCategory(DuplicateReviewModel::SameName);
    QCOMPARE(model.searchText(), QString());
    QCOMPARE(model.sortMode(), DuplicateReviewModel::FileCount);
    QVERIFY(!model.cleanupEnabled());
    QCOMPARE(model.cleanupHeader(), QStringLiteral("Status"));
    QCOMPARE(model.rows()->rowCount(), 3);
    QCOMPARE(role(model, 0, ReviewRowsModel::CleanupStateRole).toString(),
             QStringLiteral("reviewOnly"));
    QCOMPARE(role(model, 0, ReviewRowsModel::VerificationRole).toString(),
             QStringLiteral("Name Match"));
    model.toggleRow(0);
    QCOMPARE(selection.count(), 1);

    model.selectCategory(DuplicateReviewModel::Similar);
    QVERIFY(model.showsPlannedPanel());
    QVERIFY(!model.hasNoMatches());
    QCOMPARE(model.rows()->rowCount(), 0);

    model.showDuplicateFiles();
    QCOMPARE(model.sectionTitle(), QStringLiteral("All Exact Duplicate Files"));
    QCOMPARE(model.rows()->rowCount(), 3);
    QVERIFY(model.summaryCards()[2].toMap()[QStringLiteral("selected")].toBool());
    QCOMPARE(role(model, 0, ReviewRowsModel::CleanupStateRole).toString(),
             QStringLiteral("reviewOnly"));
    model.toggleRow(0);
    QCOMPARE(selection.count(), 1);

    model.showDuplicateGroups();
    model.setSearchText(QStringLiteral("no such name"));
    QVERIFY(model.hasNoMatches());
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
    DuplicateGroup group{"h",
                         3000,
                         {{dir / "lib/Caches/x1.bin", 3000},
                          {dir / "lib/Caches/x2.bin", 3000},
                          {dir / "x3.bin", 3000}}};
    result.groups = {group};
    result.scannedFiles = group.files;

    DuplicateReviewModel model;
    model.setResult(ScanResultValue(result));
    QCOMPARE(model.rows()->rowCount(), 3);
    QCOMPARE(role(model, 0, ReviewRowsModel::CleanupStateRole).toString(),
             QStringLiteral("protected"));
    QCOMPARE(role(model, 0, ReviewRowsModel::CleanupTextRole).toString(),
             QStringLiteral("Review Only"));
    QCOMPARE(role(model, 2, ReviewRowsModel::CleanupStateRole).toString(), QStringLiteral("keep"));

    // A click that reaches a protected row anyway is swept straight back out.
    QSignalSpy alerts(&model, &DuplicateReviewModel::protectedLocationMessageChanged);
    QSignalSpy selection(&model, &DuplicateReviewModel::selectionChanged);
    model.toggleRow(0);
    QCOMPARE(alerts.count(), 1);
    QCOMPARE(selection.count(), 0);
    QCOMPARE(model.selectedCount(), 0);
    QVERIFY(model.protectedLocationMessage().startsWith(QStringLiteral("Exact duplicate found.")));
    model.dismissProtectedLocation();
    QVERIFY(!model.hasProtectedLocationMessage());
    QCOMPARE(alerts.count(), 2);
}

void DuplicateReviewModelTest::aNewResultKeepsTheReviewState() {
    TempDir dir;
    writeFile(dir / "one.txt", std::string(2048, 'n'));
    writeFile(dir / "sub/one.txt", std::string(2048, 'n'));
    writeFile(dir / "sub/two.txt", std::string(2048, 'n'));

    DuplicateReviewModel model;
    model.setResult(scanOf(dir.path()));
    model.toggleRow(rowOf(model, QString::fromStdString(dir / "sub/two.txt")));
    model.setShowFolderPaths(true);
    model.setSortMode(DuplicateReviewModel::Filename);
    model.setSearchText(QStringLiteral("one"));

    QSignalSpy results(&model, &DuplicateReviewModel::resultChanged);
    QSignalSpy categories(&model, &DuplicateReviewModel::categoryChanged);
    writeFile(dir / "sub/three.txt", std::string(2048, 'n'));
    model.setResult(scanOf(dir.path()));
    QCOMPARE(results.count(), 1);
    QCOMPARE(categories.count(), 0);
    QCOMPARE(model.searchText(), QStringLiteral("one"));
    QCOMPARE(model.sortMode(), DuplicateReviewModel::Filename);
    QVERIFY(model.showFolderPaths());
    QCOMPARE(model.selectedCount(), 1);
    QCOMPARE(model.rows()->rowCount(), 2);
    QCOMPARE(model.summaryCards()[2].toMap()[QStringLiteral("value")].toString(),
             QStringLiteral("4"));
}

void DuplicateReviewModelTest::aFullyMarkedSetNeverStartsARun() {
    TempDir dir;
    writeFile(dir / "a.bin", std::string(2048, 'f'));
    writeFile(dir / "b.bin", std::string(2048, 'f'));
    writeFile(dir / "c.bin", std::string(2048, 'f'));

    std::atomic<int> runs = 0;
    DuplicateReviewModel model;
    model.setCleanupRunner([&](const auto &, const auto &, const auto &) {
        ++runs;
        return CleanupOutcome(CleanupReport{});
    });
    model.setResult(scanOf(dir.path()));
    model.toggleRow(0);
    model.toggleRow(1);
    // The rescan no longer sees c.bin: both remaining copies are marked.
    ::unlink((dir / "c.bin").c_str());
    model.setResult(scanOf(dir.path()));
    QCOMPARE(model.selectedCount(), 2);

    QSignalSpy cleaning(&model, &DuplicateReviewModel::isCleaningChanged);
    model.performCleanup();
    QCOMPARE(model.cleanupGuardMessage(),
             QStringLiteral("Cleanup stopped for safety. At least one copy in every "
                            "exact-duplicate set must remain."));
    QCOMPARE(cleaning.count(), 0);
    QCOMPARE(model.selectedCount(), 2);
    QTest::qWait(50);
    QCOMPARE(runs.load(), 0);
}

void DuplicateReviewModelTest::completionClosesTheReviewEmptiesTheMarksThenShowsTheReport() {
    TempDir dir;
    const std::string content(8192, 'c');
    writeFile(dir / "keep.dat", content);
    writeFile(dir / "copy one.dat", content);
    writeFile(dir / "copy two.dat", content);

    DuplicateReviewModel model;
    model.setResult(scanOf(dir.path()));
    model.toggleRow(rowOf(model, QString::fromStdString(dir / "copy one.dat")));
    model.toggleRow(rowOf(model, QString::fromStdString(dir / "copy two.dat")));
    QCOMPARE(model.selectedCount(), 2);
    model.setShowCleanupReview(true);

    QStringList log;
    watch(model, log);
    QSignalSpy reports(&model, &DuplicateReviewModel::cleanupReportChanged);
    model.performCleanup();
    QVERIFY(model.isCleaning());
    QVERIFY(model.showCleanupReview());
    QVERIFY(reports.wait(10000));

    QCOMPARE(log, (QStringList{"isCleaning=1", "isCleaning=0", "showCleanupReview=0", "selection=0",
                               "report=1"}));
    QCOMPARE(model.cleanupReportTitle(), QStringLiteral("Cleanup Complete"));
    QCOMPARE(model.cleanupReportIcon(), QStringLiteral("checkmark.circle.fill"));
    QCOMPARE(model.cleanupReportSummary(), QStringLiteral("2 files moved to Trash · 16 KB"));
    QVERIFY(model.cleanupReportFailures().isEmpty());
    QVERIFY(exists(dir / "keep.dat"));
    QVERIFY(!exists(dir / "copy one.dat"));
    QVERIFY(exists(homePath() + "/.local/share/Trash/files/copy one.dat"));
}

void DuplicateReviewModelTest::aStopClosesTheReviewAndAlertsButKeepsTheMarks() {
    TempDir dir;
    writeFile(dir / "keep.dat", std::string(4096, 's'));
    writeFile(dir / "marked.dat", std::string(4096, 's'));

    DuplicateReviewModel model;
    model.setResult(scanOf(dir.path()));
    model.toggleRow(rowOf(model, QString::fromStdString(dir / "marked.dat")));
    model.setShowCleanupReview(true);
    // Edited after the scan, same size.
    writeFile(dir / "marked.dat", std::string(4095, 's') + "!");

    QStringList log;
    watch(model, log);
    QSignalSpy guards(&model, &DuplicateReviewModel::cleanupGuardMessageChanged);
    model.performCleanup();
    QVERIFY(guards.wait(10000));

    QCOMPARE(log, (QStringList{"isCleaning=1", "isCleaning=0", "showCleanupReview=0", "guard"}));
    QCOMPARE(model.cleanupGuardMessage(),
             QStringLiteral("Cleanup stopped because a selected file changed after the scan. "
                            "Please Rescan before cleaning."));
    QCOMPARE(model.selectedCount(), 1);
    QVERIFY(!model.hasCleanupReport());
    QVERIFY(exists(dir / "marked.dat"));
}

void DuplicateReviewModelTest::aSecondCleanupDuringARunStartsNothing() {
    TempDir dir;
    writeFile(dir / "a.bin", std::string(2048, 'r'));
    writeFile(dir / "b.bin", std::string(2048, 'r'));

    std::atomic<int> runs = 0;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    DuplicateReviewModel model;
    model.setCleanupRunner([&, released](const DuplicateScanResult &,
                                         const std::vector<DuplicateFile> &selected,
                                         const std::function<bool(const std::string &)> &) {
        ++runs;
        released.wait();
        CleanupReport report;
        report.failures.push_back({selected.front().url, "The Trash is full"});
        return CleanupOutcome(report);
    });
    model.setResult(scanOf(dir.path()));
    model.toggleRow(0);

    QSignalSpy reports(&model, &DuplicateReviewModel::cleanupReportChanged);
    model.performCleanup();
    QTRY_COMPARE(runs.load(), 1);
    model.performCleanup();
    QTest::qWait(50);
    QCOMPARE(runs.load(), 1);
    QVERIFY(model.isCleaning());

    release.set_value();
    QVERIFY(reports.wait(10000));
    QCOMPARE(runs.load(), 1);
    QCOMPARE(model.cleanupReportTitle(), QStringLiteral("Cleanup Completed with Warnings"));
    QCOMPARE(model.cleanupReportSummary(), QStringLiteral("0 files moved to Trash · Zero KB"));
    QCOMPARE(model.cleanupReportFailureText(), QStringLiteral("1 files could not be moved"));
    QCOMPARE(model.cleanupReportFailures()[0].toMap()[QStringLiteral("message")].toString(),
             QStringLiteral("The Trash is full"));
    // The marks went with the finished run, so nothing is left to clean.
    model.performCleanup();
    QVERIFY(!model.isCleaning());
}

void DuplicateReviewModelTest::closingTheReportAndTheHeaderButtonsAskForAScan() {
    TempDir dir;
    writeFile(dir / "a.bin", std::string(2048, 'k'));
    writeFile(dir / "b.bin", std::string(2048, 'k'));
    DuplicateReviewModel model;
    model.setCleanupRunner(
        [](const auto &, const auto &, const auto &) { return CleanupOutcome(CleanupReport{}); });
    model.setResult(scanOf(dir.path()));

    QSignalSpy rescans(&model, &DuplicateReviewModel::rescanRequested);
    QSignalSpy folders(&model, &DuplicateReviewModel::changeFolderRequested);
    QStringList order;
    connect(&model, &DuplicateReviewModel::selectionChanged, this, [&] { order << "selection"; });
    connect(&model, &DuplicateReviewModel::rescanRequested, this, [&] { order << "rescan"; });

    model.toggleRow(0);
    model.rescan();
    QCOMPARE(order, (QStringList{"selection", "selection", "rescan"}));
    QCOMPARE(model.selectedCount(), 0);

    model.toggleRow(0);
    model.changeFolder();
    QCOMPARE(folders.count(), 1);
    QCOMPARE(model.selectedCount(), 0);

    model.toggleRow(0);
    QSignalSpy reports(&model, &DuplicateReviewModel::cleanupReportChanged);
    model.performCleanup();
    QVERIFY(reports.wait(10000));
    QVERIFY(model.hasCleanupReport());
    model.closeCleanupReport();
    QVERIFY(!model.hasCleanupReport());
    QCOMPARE(rescans.count(), 2);
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
            property string firstLabel: categoryButtons[0].label
            Component.onCompleted: selectCategory(DuplicateReviewModel.SameName)
        }
    )",
                      QUrl());
    std::unique_ptr<QObject> object(component.create());
    QVERIFY2(object, qPrintable(component.errorString()));
    auto *model = qobject_cast<DuplicateReviewModel *>(object.get());
    QVERIFY(model);
    QCOMPARE(model->category(), DuplicateReviewModel::SameName);
    QCOMPARE(object->property("firstLabel").toString(), QStringLiteral("Exact Duplicates (0)"));
    QCOMPARE(object->property("rowCount").toInt(), 0);
}

int main(int argc, char **argv) {
    // GLib reads HOME and XDG_DATA_HOME once per process: point both at a
    // throw-away home before anything can ask, and keep fixtures on the same
    // filesystem so that GIO uses that home's Trash.
    char pattern[] = "/tmp/twinsift-ui-home-XXXXXX";
    if (!::mkdtemp(pattern))
        return 2;
    homePath() = pattern;
    makeDirs(homePath() + "/.local/share");
    makeDirs(homePath() + "/tmp");
    ::setenv("HOME", homePath().c_str(), 1);
    ::setenv("XDG_DATA_HOME", (homePath() + "/.local/share").c_str(), 1);
    ::setenv("TMPDIR", (homePath() + "/tmp").c_str(), 1);

    QCoreApplication app(argc, argv);
    DuplicateReviewModelTest test;
    const int status = QTest::qExec(&test, argc, argv);
    removeTree(homePath());
    return status;
}

#include "duplicatereviewmodel_test.moc"
