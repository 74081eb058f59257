#include "appdelegate.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName("Ambrivo");
    QGuiApplication::setApplicationName("Twinsift");
    QGuiApplication::setApplicationDisplayName("Twinsift");
    // Matches the installed desktop entry, so the desktop pairs the window
    // with its launcher and icon.
    QGuiApplication::setDesktopFileName(TWINSIFT_APP_ID);
    QQuickStyle::setStyle("Fusion");

    twinsift::AppDelegate delegate;
    QQmlApplicationEngine engine;
    engine.addImportPath("qrc:/");
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app,
        [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    engine.load(QUrl("qrc:/Twinsift/shell/Main.qml"));
    QTimer::singleShot(0, &delegate, &twinsift::AppDelegate::applicationDidFinishLaunching);
    return app.exec();
}
