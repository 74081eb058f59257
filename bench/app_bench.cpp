// Times scans through the application's own window: the folder is chosen on
// the scan screen and "Scan for Duplicates" runs with the progress shown, as
// a user would see it. Prints one JSON object with the seconds of each run,
// from the start of the scan until the results screen holds the result.
//
//   twinsift-appbench TREE [RUNS]
#include "duplicatescanviewmodel.h"
#include "fileurls.h"
#include "scanscreencontroller.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <cstdlib>
#include <string>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

int main(int argc, char *argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: twinsift-appbench TREE [RUNS]\n");
        return 2;
    }
    // Each scan is recorded in the history; keep it out of the user's.
    QTemporaryDir data;
    ::setenv("XDG_DATA_HOME", data.path().toLocal8Bit().constData(), 1);
    const std::string tree = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle("Fusion");
    QQmlApplicationEngine engine;
    engine.addImportPath("qrc:/");
    engine.load(QUrl("qrc:/Twinsift/shell/Main.qml"));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto *window = qobject_cast<QQuickWindow *>(engine.rootObjects().first());
    QEventLoop loop;
    // Let the window show its first frame before anything is timed.
    QObject::connect(window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit,
                     Qt::SingleShotConnection);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();

    std::printf("{\"tree\": \"%s\", \"seconds\": [", tree.c_str());
    for (int run = 0; run < runs; ++run) {
        // The scan screen is fetched anew each run: a rescan in the same
        // screen would first have to leave the results screen.
        auto *root = window->property("rootView").value<QObject *>();
        root->setProperty("selection", QStringLiteral("Settings"));
        root->setProperty("selection", QStringLiteral("Twinsift"));
        auto *screen = root->property("detailItem").value<QObject *>();
        auto *controller = screen->property("controller").value<twinsift::ScanScreenController *>();
        if (!controller)
            return 1;
        twinsift::DuplicateScanViewModel *scan = controller->scanModel();
        controller->folderChosen(twinsift::fileurls::fromPath(tree));

        QElapsedTimer clock;
        QEventLoop done;
        QObject::connect(scan, &twinsift::DuplicateScanViewModel::isScanningChanged, &done, [&] {
            if (!scan->isScanning())
                done.quit();
        });
        clock.start();
        controller->startScan();
        done.exec();
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (!scan->result().hasValue()) {
            std::fprintf(stderr, "scan failed: %s\n", qPrintable(scan->errorMessage()));
            return 1;
        }
        std::printf("%s%.4f", run ? ", " : "", seconds);
    }
    std::printf("]}\n");
    return 0;
}
