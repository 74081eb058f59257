// Times scans through the application's own window, started as the app
// starts: the folder is chosen on the scan screen and "Scan for Duplicates"
// runs with the progress shown, as a user would see it. Prints one JSON
// object with the seconds of each run, from the start of the scan until a
// frame showing the results screen has been presented, the seconds until the
// scan controller had published the result, the CPU seconds the whole process
// spent meanwhile, and the frames it presented.
//
//   twinsift-appbench TREE [RUNS]
#include "appsession.h"
#include "duplicatescanviewmodel.h"
#include "fileurls.h"
#include "scanscreencontroller.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

namespace {
double processCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}
} // namespace

int main(int argc, char *argv[]) {
    twinsift::AppSession::prepareProcess();
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
    twinsift::AppSession::configure(QStringLiteral(TWINSIFT_APP_ID));
    twinsift::AppSession session;
    QQuickWindow *window = session.mainWindow();
    if (!window)
        return 1;
    QEventLoop loop;
    // Let the window show its first frame before anything is timed.
    QObject::connect(window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit,
                     Qt::SingleShotConnection);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();

    std::printf("{\"tree\": \"%s\", \"seconds\": [", tree.c_str());
    QList<double> cpu;
    QList<double> published;
    QList<int> frames;
    int swapped = 0;
    QObject::connect(window, &QQuickWindow::frameSwapped, window, [&swapped] { ++swapped; });
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
            if (scan->isScanning())
                return;
            published.append(clock.nsecsElapsed() / 1e9);
            QObject::connect(window, &QQuickWindow::frameSwapped, &done, &QEventLoop::quit,
                             Qt::SingleShotConnection);
        });
        const double cpuBefore = processCpuSeconds();
        const int framesBefore = swapped;
        clock.start();
        controller->startScan();
        done.exec();
        const double seconds = clock.nsecsElapsed() / 1e9;
        cpu.append(processCpuSeconds() - cpuBefore);
        frames.append(swapped - framesBefore);
        if (!scan->result().hasValue()) {
            std::fprintf(stderr, "scan failed: %s\n", qPrintable(scan->errorMessage()));
            return 1;
        }
        std::printf("%s%.4f", run ? ", " : "", seconds);
    }
    std::printf("], \"publishedSeconds\": [");
    for (int run = 0; run < runs; ++run)
        std::printf("%s%.4f", run ? ", " : "", published[run]);
    std::printf("], \"cpuSeconds\": [");
    for (int run = 0; run < runs; ++run)
        std::printf("%s%.4f", run ? ", " : "", cpu[run]);
    std::printf("], \"frames\": [");
    for (int run = 0; run < runs; ++run)
        std::printf("%s%d", run ? ", " : "", frames[run]);
    std::printf("]}\n");
    return 0;
}
