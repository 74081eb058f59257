#include "aboutpanelkeeper.h"
#include "appdelegate.h"
#include "dockiconfactory.h"
#include "tempdir.h"
#include "websiteaction.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJSEngine>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <QtQml/qqmlextensionplugin.h>

#include <memory>
#include <sys/stat.h>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

using namespace twinsift;

namespace {

std::unique_ptr<QWindow> shownWindow(Qt::WindowFlags flags) {
    auto window = std::make_unique<QWindow>();
    window->setFlags(flags);
    window->resize(200, 100);
    window->show();
    return window;
}

} // namespace

class AppShellTest : public QObject {
    Q_OBJECT

private slots:
    void iconFollowsTheDrawingSteps();
    void lateMainWindowIsStillBroughtForward();
    void withoutAMainWindowTheAppOutlivesItsWindows();
    void websiteIsShownBareAndOpenedWithASlash();
    void aboutPanelIsAFixedModalDialogOfTheMainWindow();
};

void AppShellTest::iconFollowsTheDrawingSteps() {
    const QImage icon = DockIconFactory::makeIcon().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(icon.size(), QSize(512, 512));

    // The canvas corners lie outside the rounded square and its shadow.
    for (const QPoint corner : {QPoint(0, 0), QPoint(511, 0), QPoint(0, 511), QPoint(511, 511)})
        QCOMPARE(qAlpha(icon.pixel(corner)), 0);

    // Drawn, not blank: the middle of the square is opaque. Where each
    // stroke lies is for the eye, in the app-icon screenshot.
    QCOMPARE(qAlpha(icon.pixel(256, 256)), 255);

    // The small hicolor sizes are drawn, not left empty.
    const QImage small = DockIconFactory::makeIcon(16);
    QCOMPARE(small.size(), QSize(16, 16));
    QCOMPARE(qAlpha(small.pixel(8, 8)), 255);
}

void AppShellTest::lateMainWindowIsStillBroughtForward() {
    AppDelegate delegate;
    QVERIFY(!QGuiApplication::quitOnLastWindowClosed());
    QSignalSpy presented(&delegate, &AppDelegate::mainWindowPresented);
    // Windows that can never be the main one are passed over.
    auto tool = shownWindow(Qt::Tool);
    auto sheet = shownWindow(Qt::Sheet);
    auto bare = shownWindow(Qt::Window | Qt::FramelessWindowHint);
    std::unique_ptr<QWindow> main;
    QTimer::singleShot(1000, this, [&] { main = shownWindow(Qt::Window); });

    delegate.bringInitialWindowForward(0);
    QVERIFY(!delegate.hasPresentedMainWindow());
    QVERIFY(presented.wait(3000));
    QCOMPARE(presented.first().first().value<QWindow *>(), main.get());
    QVERIFY(delegate.hasPresentedMainWindow());
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());
}

void AppShellTest::withoutAMainWindowTheAppOutlivesItsWindows() {
    AppDelegate delegate;
    QSignalSpy presented(&delegate, &AppDelegate::mainWindowPresented);
    QSignalSpy gaveUp(&delegate, &AppDelegate::gaveUp);
    auto tool = shownWindow(Qt::Tool);
    auto hidden = std::make_unique<QWindow>();

    QElapsedTimer clock;
    clock.start();
    delegate.bringInitialWindowForward(0);
    QVERIFY(gaveUp.wait(5000));
    // 21 tries, 0.1 s apart.
    QVERIFY2(clock.elapsed() >= 1900 && clock.elapsed() < 4000,
             QByteArray::number(clock.elapsed()));
    QVERIFY(presented.isEmpty() && !delegate.hasPresentedMainWindow());
    QVERIFY(!QGuiApplication::quitOnLastWindowClosed());
}

void AppShellTest::websiteIsShownBareAndOpenedWithASlash() {
    QVERIFY(QUrl(WebsiteAction::address()).path().isEmpty());
    QCOMPARE(WebsiteAction::url().toString(), WebsiteAction::address() + QLatin1Char('/'));

    // The browser is whatever xdg-open finds; here one that records the
    // address, then one that finds nothing.
    testing::TempDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(bin.path()));
    const auto xdgOpen = [&](int status) {
        testing::writeFile(bin / "xdg-open", "#!/bin/sh\nprintf %s \"$1\" > " + (bin / "asked") +
                                                 "\nexit " + std::to_string(status) + "\n");
        chmod((bin / "xdg-open").c_str(), 0755);
    };
    QJSEngine js;
    QJSValue said = js.newArray();
    js.globalObject().setProperty(QStringLiteral("said"), said);
    const QJSValue unanswered = js.evaluate(QStringLiteral("(message => said.push(message))"));

    xdgOpen(0);
    WebsiteAction::openWebsite(unanswered);
    const auto asked = [&] {
        QFile file(QString::fromStdString(bin / "asked"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QTRY_COMPARE(asked(), WebsiteAction::url().toEncoded());
    QTest::qWait(200);
    QCOMPARE(said.property(QStringLiteral("length")).toInt(), 0);

    xdgOpen(3);
    WebsiteAction::openWebsite(unanswered);
    QTRY_COMPARE(said.property(QStringLiteral("length")).toInt(), 1);
    QCOMPARE(said.property(0).toString(), WebsiteAction::unansweredMessage());
    qputenv("PATH", path);
}

void AppShellTest::aboutPanelIsAFixedModalDialogOfTheMainWindow() {
    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QQmlComponent component(&engine);
    component.setData("import QtQml\nimport Twinsift\nQtObject { property var keeper: "
                      "AboutPanelKeeper }",
                      QUrl());
    std::unique_ptr<QObject> holder(component.create());
    QVERIFY2(holder, qPrintable(component.errorString()));
    auto *keeper = qobject_cast<AboutPanelKeeper *>(holder->property("keeper").value<QObject *>());
    QVERIFY(keeper);

    // Asked from a main window, it is that window's dialog: the window
    // manager keeps it above its owner, and offers to close it, nothing else.
    const auto tool = shownWindow(Qt::Tool);
    const auto owner = shownWindow(Qt::Window);
    owner->requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(owner.get()));
    keeper->showAbout();
    QPointer<QQuickWindow> panel = keeper->panel();
    QVERIFY(panel && panel->isVisible());
    QCOMPARE(panel->transientParent(), owner.get());
    QCOMPARE(panel->type(), Qt::Dialog);
    const Qt::WindowFlags flags = panel->flags();
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint) && flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint) &&
            !flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(panel->title(), QStringLiteral("About Ambrivo Twinsift"));
    QVERIFY(panel->minimumSize() == panel->size() && panel->maximumSize() == panel->size());
    QCOMPARE(panel->modality(), Qt::ApplicationModal);
    auto *link = panel->findChild<QQuickItem *>(QStringLiteral("websiteLink"));
    QVERIFY(link);
    QCOMPARE(link->property("text").toString(), WebsiteAction::address() + QStringLiteral("  ↗"));
    // Nothing in the panel sticks out of its fixed size.
    const QRectF inPanel = link->mapRectToScene(QRectF(0, 0, link->width(), link->height()));
    QVERIFY2(inPanel.bottom() <= panel->height(), QByteArray::number(inPanel.bottom()));

    // A drag on its background, beside the content, asks the window system
    // to move it; the buttons keep their presses.
    const QPoint background(4, 4);
    QTest::mousePress(panel, Qt::LeftButton, {}, background);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(panel, background + QPoint(8, 4) * step);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, background + QPoint(32, 16));
    QCOMPARE(panel->property("moveRequests").toInt(), 1);
    QVERIFY(panel->isVisible());

    // Active already as its owner's dialog; the keys go to it once it has
    // the focus itself.
    QTRY_COMPARE(QGuiApplication::focusWindow(), panel.data());
    QTest::keyClick(panel, Qt::Key_Return);
    QTRY_VERIFY(!keeper->panel());
    QTRY_VERIFY(panel.isNull());

    // The close box ends it the same way. Whatever has the focus now, the
    // panel belongs to the main window, never to the tool window.
    keeper->showAbout();
    panel = keeper->panel();
    QVERIFY(panel);
    QCOMPARE(panel->transientParent(), owner.get());
    panel->close();
    QTRY_VERIFY(!keeper->panel());
    QTRY_VERIFY(panel.isNull());
}

QTEST_MAIN(AppShellTest)
#include "appshell_test.moc"
