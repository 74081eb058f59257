// The whole job in the application's own window, started as the twinsift
// binary starts it, over a real folder and a real Trash: choose a folder,
// scan, mark two copies, review and move them to the Trash, the rescan
// after, and putting them back, from the Edit menu and from the result sheet.
// Any warning on the way, such as a QML binding error, fails the test.
#include "appsession.h"
#include "cleanuprestorer.h"
#include "cleanupselectionmodel.h"
#include "duplicatereviewmodel.h"
#include "duplicatescanviewmodel.h"
#include "fileurls.h"
#include "recentscanstore.h"
#include "tempdir.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <filesystem>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

using namespace twinsift;

namespace {

QQuickItem *item(QObject *under, const char *name) {
    auto *found = under ? under->findChild<QQuickItem *>(QLatin1String(name)) : nullptr;
    if (!found)
        qCritical("no item %s", name);
    return found;
}

// Clicks the middle of an item once it is shown, enabled and laid out.
bool click(QQuickItem *target) {
    if (!target)
        return false;
    QPointF last(-1, -1);
    bool settled = false;
    for (int i = 0; i < 100 && !settled; ++i) {
        QTest::qWait(20);
        const QPointF at = target->mapToScene(QPointF(target->width(), target->height()) / 2);
        settled = at == last && target->isVisible() && target->isEnabled() && target->width() > 0;
        last = at;
    }
    if (settled)
        QTest::mouseClick(target->window(), Qt::LeftButton, {}, last.toPoint());
    return settled;
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void scanMarkAndMoveCopiesToTheTrash();
};

void EndToEndTest::scanMarkAndMoveCopiesToTheTrash() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    // The offscreen platform has no window stack; under X11 this says nothing.
    QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
    testing::TempDir dir;
    for (const char *copy : {"x.bin", "a/b/x.bin", "c/keep.bin"})
        testing::writePattern(dir / copy, 6000, 11);
    const QString root = QString::fromStdString(dir.path());

    AppSession session;
    QQuickWindow *window = session.mainWindow();
    QVERIFY(window);
    QTRY_VERIFY(session.delegate().hasPresentedMainWindow());
    auto *view =
        window->property("rootView").value<QObject *>()->property("detailItem").value<QObject *>();
    QVERIFY(view);
    const qsizetype historyBefore = RecentScanStore::shared()->records().size();

    // The chooser opens from "Select Folder"; picking a folder does not scan.
    QVERIFY(click(item(view, "selectFolderButton")));
    auto *chooser = view->property("chooser").value<QObject *>();
    QTRY_VERIFY(chooser->property("visible").toBool());
    chooser->setProperty("selectedFolder", fileurls::fromPath(dir.path()));
    QMetaObject::invokeMethod(chooser, "accept");
    QVERIFY(click(item(view, "scanButton")));
    QTRY_VERIFY_WITH_TIMEOUT(view->property("hasResult").toBool(), 10000);
    QCOMPARE(RecentScanStore::shared()->records().size(), historyBefore + 1);

    auto *results = view->property("results").value<QQuickItem *>();
    auto *review = results->property("review").value<DuplicateReviewModel *>();
    ReviewRowsModel *rows = review->rows();
    QTRY_VERIFY(rows->rowCount() == 3 &&
                rows->data(rows->index(0), ReviewRowsModel::CleanupStateRole).toInt() ==
                    ReviewRowsModel::Keep);
    auto *grid = item(results, "resultGrid");
    const auto toggle = [&](const QString &path) {
        int at = 0;
        while (at < 3 && rows->data(rows->index(at), ReviewRowsModel::DisplayPathRole) != path)
            ++at;
        QMetaObject::invokeMethod(grid, "positionViewAtIndex", Q_ARG(int, at), Q_ARG(int, 2));
        QQuickItem *row = nullptr;
        QTRY_VERIFY(QMetaObject::invokeMethod(grid, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, row),
                                              Q_ARG(int, at)) &&
                    row);
        QVERIFY(click(item(row, "cleanupToggle")));
    };
    toggle(root + "/x.bin");
    toggle(root + "/a/b/x.bin");
    QCOMPARE(review->selectedCount(), 2);

    // The review sheet names each folder relative to the one scanned.
    QVERIFY(click(item(results, "reviewCleanupButton")));
    QTRY_VERIFY(review->showCleanupReview());
    CleanupSelectionModel *files = review->selectedFilesModel();
    QStringList locations;
    for (int i = 0; i < files->rowCount(); ++i)
        locations << files->data(files->index(i), CleanupSelectionModel::LocationRole).toString();
    locations.sort();
    QCOMPARE(locations, (QStringList{"Selected folder", "a/b"}));
    QVERIFY(click(item(results, "moveToTrashButton")));
    QTRY_VERIFY_WITH_TIMEOUT(review->cleanup()->hasReport(), 10000);
    QCOMPARE(review->cleanup()->reportSummary(), "2 files moved to Trash · 12 KB");

    // On disk: the marked copies are gone, the kept one stays.
    namespace fs = std::filesystem;
    QVERIFY(!fs::exists(dir / "x.bin") && !fs::exists(dir / "a/b/x.bin"));
    QVERIFY(fs::exists(dir / "c/keep.bin"));

    // Closing the report rescans; the set is gone and that scan is recorded too.
    QVERIFY(click(item(results, "closeReportButton")));
    auto *scan = view->property("scanModel").value<DuplicateScanViewModel *>();
    QTRY_VERIFY_WITH_TIMEOUT(!scan->isScanning() && scan->result().hasValue() &&
                                 scan->result().groupCount() == 0,
                             10000);
    QCOMPARE(RecentScanStore::shared()->records().size(), historyBefore + 2);

    // Every moved file back at its path with its bytes, its info gone; the
    // report's closing scans again and finds the set once more.
    const std::string trash = dir / "../../.local/share/Trash";
    const auto expectRestored = [&] {
        for (const char *copy : {"x.bin", "a/b/x.bin"}) {
            testing::writePattern(dir / "expected", 6000, 11);
            QCOMPARE(testing::readFile(dir / copy), testing::readFile(dir / "expected"));
            QVERIFY(!fs::exists(trash + "/info/x.bin.trashinfo"));
        }
        fs::remove(dir / "expected");
        QVERIFY(fs::is_empty(trash + "/info"));
    };
    const auto closeRestoreReport = [&](QObject *windowRoot) {
        QVERIFY(click(item(windowRoot, "closeRestoreReportButton")));
        QTRY_VERIFY_WITH_TIMEOUT(!scan->isScanning() && scan->result().hasValue() &&
                                     scan->result().groupCount() == 1,
                                 10000);
    };
    auto *restorer = CleanupRestorer::shared();
    QObject *windowRoot = window;

    // From the Edit menu, after the result sheet closed: asked first.
    restorer->askToRestore();
    QTRY_VERIFY(restorer->isConfirming());
    QCOMPARE(restorer->confirmationText(),
             "2 files · 12 KB go back from the Trash to where they were.");
    QVERIFY(click(item(windowRoot, "confirmRestoreButton")));
    QTRY_VERIFY_WITH_TIMEOUT(restorer->hasReport(), 10000);
    QCOMPARE(restorer->reportSummary(), "2 files restored · 12 KB");
    expectRestored();
    closeRestoreReport(windowRoot);

    // From the result sheet's own button, right after a cleanup. The new
    // result came with a results screen of its own.
    results = view->property("results").value<QQuickItem *>();
    review = results->property("review").value<DuplicateReviewModel *>();
    rows = review->rows();
    grid = item(results, "resultGrid");
    QTRY_VERIFY(rows->rowCount() == 3 &&
                rows->data(rows->index(0), ReviewRowsModel::CleanupStateRole).toInt() ==
                    ReviewRowsModel::Keep);
    toggle(root + "/x.bin");
    toggle(root + "/a/b/x.bin");
    QVERIFY(click(item(results, "reviewCleanupButton")));
    QVERIFY(click(item(results, "moveToTrashButton")));
    QTRY_VERIFY_WITH_TIMEOUT(review->cleanup()->hasReport(), 10000);
    QVERIFY(!fs::exists(dir / "x.bin"));
    QVERIFY(click(item(results, "restoreFilesButton")));
    QTRY_VERIFY_WITH_TIMEOUT(restorer->hasReport() && !scan->isScanning(), 10000);
    QCOMPARE(restorer->reportSummary(), "2 files restored · 12 KB");
    expectRestored();
    closeRestoreReport(windowRoot);
}

int main(int argc, char *argv[]) {
    // Before anything asks GLib where the home and its Trash are.
    const std::string home = testing::makeScratchHome();
    QGuiApplication app(argc, argv);
    AppSession::configure(QStringLiteral("com.ambrivo.Twinsift"));
    EndToEndTest test;
    const int failed = QTest::qExec(&test, argc, argv);
    testing::removeTree(home);
    return failed;
}

#include "endtoend_test.moc"
