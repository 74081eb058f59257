// Renders screen states offscreen and saves them to build/screenshots/, so a
// person can look at every state without a display. Each scene is a QML file
// that builds its state from real scans of fixture folders and asks for its
// shots; the run fails when a scene does not load, times out, renders blank
// or prints a warning.
#include "accesstree.h"
#include "apptranslations.h"
#include "tempdir.h"
#include "testfixture.h"

#include <QDir>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)
Q_IMPORT_QML_PLUGIN(TwinsiftTestPlugin)

namespace {

int warnings = 0;
QtMessageHandler defaultHandler = nullptr;

void countWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message) {
    if (type != QtDebugMsg && type != QtInfoMsg)
        ++warnings;
    defaultHandler(type, context, message);
}

bool runScene(const QString &file) {
    using twinsift::testing::TestFixture;
    QQmlApplicationEngine engine;
    engine.addImportPath("qrc:/");
    const int failuresBefore = TestFixture::instance()->failures();
    const int warningsBefore = warnings;
    QEventLoop loop;
    QObject::connect(TestFixture::instance(), &TestFixture::sceneFinished, &loop,
                     &QEventLoop::quit);
    QTimer::singleShot(60000, &loop,
                       [&] { TestFixture::instance()->fail(file + " never finished"); });
    engine.load(QUrl::fromLocalFile(file));
    if (engine.rootObjects().isEmpty()) {
        std::fprintf(stderr, "screenshots: %s did not load\n", qPrintable(file));
        return false;
    }
    loop.exec();
    return TestFixture::instance()->failures() == failuresBefore && warnings == warningsBefore;
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Scans record their results; keep them out of the user's history.
    const std::string home = twinsift::testing::makeScratchHome();
    const std::string runtime = home + "/runtime";
    ::mkdir(runtime.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle("Fusion");
    // Run under LANG=de_DE.UTF-8, the shots show the German screens.
    twinsift::AppTranslations::install(app);
    twinsift::testing::AccessTree::activate();
    defaultHandler = qInstallMessageHandler(countWarnings);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(out);
    twinsift::testing::TestFixture::instance()->setShotFolder(out);

    int failed = 0;
    for (int i = 2; i < argc; ++i) {
        const QString scene = QString::fromLocal8Bit(argv[i]);
        if (!runScene(scene)) {
            std::fprintf(stderr, "screenshots: scene %s failed\n", qPrintable(scene));
            ++failed;
        }
    }
    twinsift::testing::removeTree(home);
    std::printf("screenshots written to %s\n", qPrintable(out));
    return failed == 0 ? 0 : 1;
}
