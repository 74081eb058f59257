// The whole job in the application's own window, started as the twinsift
// binary starts it, over a real folder and a real Trash: choose a folder,
// scan, mark a copy, review and move it to the Trash, and the rescan after.
// Any warning on the way, such as a QML binding error, fails the test.
#include "appsession.h"
#include "duplicatereviewmodel.h"
#include "duplicatescanviewmodel.h"
#include "fileurls.h"
#include "recentscanstore.h"
#include "tempdir.h"

#include <QDir>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QSettings>
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

QStringList trashedOrigins() {
    const QDir info(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/info"));
    QStringList origins;
    for (const QString &name : info.entryList({QStringLiteral("*.trashinfo")}, QDir::Files)) {
        QSettings entry(info.filePath(name), QSettings::IniFormat);
        origins << QString::fromUtf8(QByteArray::fromPercentEncoding(
            entry.value(QStringLiteral("Trash Info/Path")).toByteArray()));
    }
    return origins;
}

} // namespace

class EndToEndTest : public QObject {
    Q_OBJECT

private slots:
    void scanMarkAndMoveACopyToTheTrash();
};

void EndToEndTest::scanMarkAndMoveACopyToTheTrash() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    // The offscreen platform has no window stack; under X11 this says nothing.
    QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
    testing::TempDir dir;
    testing::writePattern(dir / "Photos/beach.jpg", 9000, 11);
    testing::writePattern(dir / "Backup/beach.jpg", 9000, 11);
    testing::writePattern(dir / "Docs/unique.txt", 9000, 12);
    const QString backup = QString::fromStdString(dir / "Backup/beach.jpg");

    AppSession session;
    QQuickWindow *window = session.mainWindow();
    QVERIFY(window);
    QCOMPARE(window->title(), QStringLiteral("Ambrivo - Twinsift"));
    QTRY_VERIFY(session.delegate().hasPresentedMainWindow());
    auto *root = window->property("rootView").value<QObject *>();
    auto *view = root->property("detailItem").value<QObject *>();
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
    const auto cell = [rows](int row, int role) { return rows->data(rows->index(row), role); };
    QTRY_VERIFY(rows->rowCount() == 2 &&
                cell(0, ReviewRowsModel::CleanupStateRole) == QStringLiteral("keep"));
    const int backupRow = cell(0, ReviewRowsModel::DisplayPathRole) == backup ? 0 : 1;
    QCOMPARE(cell(backupRow, ReviewRowsModel::DisplayPathRole).toString(), backup);

    auto *grid = item(results, "resultGrid");
    QMetaObject::invokeMethod(grid, "positionViewAtIndex", Q_ARG(int, backupRow), Q_ARG(int, 2));
    QQuickItem *row = nullptr;
    QTRY_VERIFY((QMetaObject::invokeMethod(grid, "itemAtIndex", Q_RETURN_ARG(QQuickItem *, row),
                                           Q_ARG(int, backupRow)),
                 row));
    QVERIFY(click(item(row, "cleanupToggle")));
    QCOMPARE(review->selectedCount(), 1);

    QVERIFY(click(item(results, "reviewCleanupButton")));
    QTRY_VERIFY(review->showCleanupReview());
    QVERIFY(click(item(results, "moveToTrashButton")));
    QTRY_VERIFY_WITH_TIMEOUT(review->cleanup()->hasReport(), 10000);

    // On disk: the marked copy is in the Trash, everything else stays.
    namespace fs = std::filesystem;
    QVERIFY(!fs::exists(dir / "Backup/beach.jpg"));
    QVERIFY(fs::exists(dir / "Photos/beach.jpg") && fs::exists(dir / "Docs/unique.txt"));
    QCOMPARE(trashedOrigins(), QStringList{backup});

    // Closing the report rescans; the set is gone and that scan is recorded too.
    QVERIFY(click(item(results, "closeReportButton")));
    auto *scan = view->property("scanModel").value<DuplicateScanViewModel *>();
    QTRY_VERIFY_WITH_TIMEOUT(!scan->isScanning() && scan->result().hasValue() &&
                                 scan->result().groupCount() == 0,
                             10000);
    QCOMPARE(RecentScanStore::shared()->records().size(), historyBefore + 2);
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
