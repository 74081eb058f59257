// The scan screen's folder chooser against a FileChooser portal of the
// test's own on a private session bus, speaking the documented protocol:
// OpenFile answers with a request object path built from the caller's bus
// name and its handle_token, and the choice arrives later as that request's
// Response signal.
#include "../privatesessionbus.h"
#include "appsession.h"
#include "desktopfolderchooser.h"
#include "fileurls.h"
#include "folderbrowser.h"
#include "scanscreencontroller.h"
#include "tempdir.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

using namespace twinsift;

namespace {

const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// The portal's side: records each OpenFile and answers it after a moment,
// as a user would, with the planned response.
class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")

public:
    explicit FakePortal(QDBusConnection connection) : m_connection(connection) {}

    uint answerCode = 0;
    QStringList answerUris;
    QList<QVariantMap> asked;
    QStringList titles;

public slots:
    QDBusObjectPath OpenFile(const QString &, const QString &title, const QVariantMap &options) {
        asked.append(options);
        titles.append(title);
        const QString sender =
            message().service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString request = portalPath + QStringLiteral("/request/") + sender +
                                QLatin1Char('/') + options.value("handle_token").toString();
        QTimer::singleShot(50, this, [this, request] {
            QDBusMessage response = QDBusMessage::createSignal(
                request, QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"));
            response << answerCode << QVariantMap{{QStringLiteral("uris"), answerUris}};
            m_connection.send(response);
        });
        return QDBusObjectPath(request);
    }

private:
    QDBusConnection m_connection;
};

} // namespace

class FolderChooserTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void portalChoiceBecomesTheScanFolder();
    void cancelledOrOddAnswersChooseNothing_data();
    void cancelledOrOddAnswersChooseNothing();
    void withoutPortalTheBuiltInChooserIsAsked();
    void theBuiltInChooserListsFoldersByTheirBytes();

private:
    QDBusConnection portalBus() {
        return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
    }
    std::unique_ptr<FakePortal> m_portal;
};

void FolderChooserTest::initTestCase() {
    QDBusConnection bus = portalBus();
    m_portal = std::make_unique<FakePortal>(bus);
    QVERIFY(bus.registerObject(portalPath, m_portal.get(), QDBusConnection::ExportAllSlots));
    QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
}

void FolderChooserTest::cleanupTestCase() {
    portalBus().unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
}

void FolderChooserTest::portalChoiceBecomesTheScanFolder() {
    testing::TempDir dir;
    testing::makeDirs(dir / "caf\xe9 photos");
    const std::string chosen = dir / "caf\xe9 photos";
    m_portal->answerCode = 0;
    m_portal->answerUris = {QString::fromLatin1(fileurls::fromPath(chosen).toEncoded())};
    m_portal->asked.clear();

    AppSession session;
    auto *rootView = session.mainWindow()->property("rootView").value<QObject *>();
    auto *view = rootView->property("detailItem").value<QObject *>();
    auto *controller = view->property("controller").value<ScanScreenController *>();
    QVERIFY(controller);

    // "Select Folder" asks the portal for a folder, at the home folder.
    controller->selectFolder();
    QTRY_COMPARE(m_portal->asked.size(), 1);
    const QVariantMap options = m_portal->asked.first();
    QCOMPARE(options.value("directory").toBool(), true);
    QCOMPARE(options.value("current_folder").toByteArray(),
             QByteArray::fromStdString(std::string(getenv("HOME")) + '\0'));
    QCOMPARE(m_portal->titles.first(), QStringLiteral("Choose a folder to scan"));

    QTRY_COMPARE(controller->selectedFolder(), fileurls::fromPath(chosen));
    QVERIFY(!controller->isImporterPresented());
    QVERIFY(!controller->scanModel()->isScanning());
    // The built-in dialog never showed.
    QVERIFY(!view->property("chooser").value<QObject *>()->property("visible").toBool());

    // The next time it opens where the last choice was, as bytes.
    controller->changeFolder();
    QTRY_COMPARE(m_portal->asked.size(), 2);
    QCOMPARE(m_portal->asked.last().value("current_folder").toByteArray(),
             QByteArray::fromStdString(chosen + '\0'));
}

void FolderChooserTest::cancelledOrOddAnswersChooseNothing_data() {
    QTest::addColumn<uint>("code");
    QTest::addColumn<QStringList>("uris");
    QTest::newRow("cancelled") << 1u << QStringList{};
    QTest::newRow("ended otherwise") << 2u << QStringList{QStringLiteral("file:///tmp")};
    QTest::newRow("not a local file") << 0u << QStringList{QStringLiteral("sftp://host/tmp")};
    QTest::newRow("no folder") << 0u << QStringList{};
}

void FolderChooserTest::cancelledOrOddAnswersChooseNothing() {
    QFETCH(uint, code);
    QFETCH(QStringList, uris);
    m_portal->answerCode = code;
    m_portal->answerUris = uris;
    DesktopFolderChooser chooser;
    QSignalSpy chosen(&chooser, &DesktopFolderChooser::chosen);
    QSignalSpy dismissed(&chooser, &DesktopFolderChooser::dismissed);
    QSignalSpy unavailable(&chooser, &DesktopFolderChooser::unavailable);
    chooser.open(QUrl());
    QVERIFY(dismissed.wait(3000));
    QVERIFY(chosen.isEmpty() && unavailable.isEmpty());
}

void FolderChooserTest::withoutPortalTheBuiltInChooserIsAsked() {
    portalBus().unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    DesktopFolderChooser chooser;
    QSignalSpy unavailable(&chooser, &DesktopFolderChooser::unavailable);
    QSignalSpy dismissed(&chooser, &DesktopFolderChooser::dismissed);
    chooser.open(QUrl());
    QVERIFY(unavailable.wait(3000));
    QVERIFY(dismissed.isEmpty());

    // The screen then shows its own dialog, at the home folder.
    AppSession session;
    auto *rootView = session.mainWindow()->property("rootView").value<QObject *>();
    auto *view = rootView->property("detailItem").value<QObject *>();
    auto *controller = view->property("controller").value<ScanScreenController *>();
    controller->selectFolder();
    auto *builtIn = view->property("chooser").value<QObject *>();
    QTRY_VERIFY(builtIn->property("visible").toBool());
    QCOMPARE(fileurls::toPath(builtIn->property("currentFolder").toUrl()),
             std::string(getenv("HOME")));
    QVERIFY(portalBus().registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
}

namespace {
QStringList shownNames(const FolderBrowser &browser) {
    QStringList names;
    for (int row = 0; row < browser.rowCount(); ++row)
        names << browser.data(browser.index(row), FolderBrowser::NameRole).toString();
    return names;
}
} // namespace

void FolderChooserTest::theBuiltInChooserListsFoldersByTheirBytes() {
    testing::TempDir dir;
    testing::makeDirs(dir / "caf\xe9");
    testing::makeDirs(dir / "Zebra");
    testing::makeDirs(dir / "apple");
    testing::makeDirs(dir / ".hidden");
    testing::writeFile(dir / "file.txt", "x");
    QCOMPARE(::symlink((dir / "apple").c_str(), (dir / "to apple").c_str()), 0);
    QCOMPARE(::symlink((dir / "gone").c_str(), (dir / "dangling").c_str()), 0);

    FolderBrowser browser;
    QSignalSpy changed(&browser, &FolderBrowser::folderChanged);
    // Read off the main thread: nothing is listed until the answer comes.
    browser.start(fileurls::fromPath(dir.path()));
    QVERIFY(browser.loading());
    QTRY_VERIFY(!browser.loading());
    QCOMPARE(browser.folder(), fileurls::fromPath(dir.path()));
    // Hidden folders, files and links to nothing are left out; a link to a
    // folder is a folder; the order ignores case, as a file manager's does.
    QCOMPARE(shownNames(browser),
             QStringList({QStringLiteral("apple"), QStringLiteral("caf\uFFFD"),
                          QStringLiteral("to apple"), QStringLiteral("Zebra")}));
    // The name shown is for reading; the folder handed on is its bytes.
    QCOMPARE(fileurls::toPath(browser.urlAt(1)), dir / "caf\xe9");

    browser.show(browser.urlAt(1));
    QTRY_COMPARE(fileurls::toPath(browser.folder()), dir / "caf\xe9");
    QCOMPARE(browser.rowCount(), 0);
    browser.showParent();
    QTRY_COMPARE(fileurls::toPath(browser.folder()), dir.path());

    // A folder that is gone: the chooser opens at home instead.
    browser.start(fileurls::fromPath(dir / "gone"));
    QTRY_VERIFY(!browser.loading());
    QCOMPARE(fileurls::toPath(browser.folder()), std::string(getenv("HOME")));
    QVERIFY(browser.errorText().isEmpty());

    // Typed paths: "~" is home; a relative one is inside the folder shown;
    // one that names no folder is refused and leaves the folder as it was.
    QSignalSpy ready(&browser, &FolderBrowser::typedFolderReady);
    browser.show(fileurls::fromPath(dir.path()));
    QTRY_COMPARE(fileurls::toPath(browser.folder()), dir.path());
    browser.showTyped(QStringLiteral("Zebra/"), true);
    QVERIFY(ready.wait(3000));
    QCOMPARE(fileurls::toPath(ready.last().first().toUrl()), dir / "Zebra");
    browser.showTyped(QStringLiteral("../file.txt"), true);
    QTRY_VERIFY(!browser.errorText().isEmpty());
    QCOMPARE(browser.errorText(), QStringLiteral("There is no folder at “../file.txt”."));
    QCOMPARE(fileurls::toPath(browser.folder()), dir / "Zebra");
    QCOMPARE(ready.size(), 1);
    browser.showTyped(QStringLiteral(" ~ "), false);
    QTRY_COMPARE(fileurls::toPath(browser.folder()), std::string(getenv("HOME")));
    QVERIFY(browser.errorText().isEmpty());
}

int main(int argc, char *argv[]) {
    PrivateSessionBus bus;
    if (bus.address().isEmpty())
        qFatal("dbus-daemon did not start");
    const std::string home = testing::makeScratchHome();
    QGuiApplication app(argc, argv);
    AppSession::configure(QStringLiteral("com.ambrivo.Twinsift"));
    FolderChooserTest test;
    const int failed = QTest::qExec(&test, argc, argv);
    testing::removeTree(home);
    return failed;
}

#include "folderchooser_test.moc"
