// Renders each screen offscreen and saves it to build/screenshots/, so a
// person can look at every state without a display. It also fails when a
// screen does not load, or renders blank.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

namespace {

bool save(QQuickWindow *window, const QString &path) {
    const QImage image = window->grabWindow();
    if (image.isNull()) {
        std::fprintf(stderr, "screenshots: nothing rendered for %s\n", qPrintable(path));
        return false;
    }
    // A screen that rendered only its background is as bad as none.
    const QRgb first = image.pixel(0, 0);
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; y += 7)
        for (int x = 0; x < image.width() && !varied; x += 7)
            varied = image.pixel(x, y) != first;
    if (!varied) {
        std::fprintf(stderr, "screenshots: %s is blank\n", qPrintable(path));
        return false;
    }
    return image.save(path);
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle("Fusion");
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(out);

    QQmlApplicationEngine engine;
    engine.addImportPath("qrc:/");
    engine.load(QUrl("qrc:/Twinsift/shell/Main.qml"));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    if (!window || window->title() != QStringLiteral("Ambrivo - Twinsift") ||
        window->width() != 1240 || window->height() != 820 || window->minimumWidth() != 1080 ||
        window->minimumHeight() != 720) {
        std::fprintf(stderr, "screenshots: main window has the wrong title or size\n");
        return 1;
    }
    int status = 0;
    QTimer::singleShot(200, [&] {
        if (!save(window, out + "/main-window.png"))
            status = 1;
        app.quit();
    });
    app.exec();
    std::printf("screenshots written to %s\n", qPrintable(out));
    return status;
}
