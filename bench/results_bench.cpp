// twinsift-resultsbench DIR [--min-bytes N]
//
// Scans DIR with the engine, then shows the result on the real results
// screen (offscreen) and prints how long each step takes to reach the
// screen: the first frame after the result arrives, each category, sort and
// search change, and the frames of a long scroll through the table. A step
// ends when the window has swapped the frame that shows it.
#include "duplicatereviewmodel.h"
#include "duplicatescanner.h"
#include "scanresultvalue.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

using namespace twinsift;

namespace {

double threadCpuMs() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The main thread's CPU time of the last step: on a busy machine the wall
// time also counts the time other processes held the cores.
double lastCpuMs = 0;

// Runs change, then waits for the frame that follows; returns milliseconds.
template <typename Change> double timeToFrame(QQuickWindow *window, Change change) {
    QEventLoop loop;
    const auto connection = QObject::connect(window, &QQuickWindow::frameSwapped, &loop,
                                             &QEventLoop::quit, Qt::QueuedConnection);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    const double cpuStart = threadCpuMs();
    change();
    window->update();
    loop.exec();
    lastCpuMs = threadCpuMs() - cpuStart;
    QObject::disconnect(connection);
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void report(const char *step, double ms, const DuplicateReviewModel *review) {
    std::printf("%-30s %7.1f ms wall %7.1f ms main-thread CPU  (%d rows)\n", step, ms, lastCpuMs,
                const_cast<DuplicateReviewModel *>(review)->rows()->rowCount());
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc < 2) {
        std::fputs("usage: twinsift-resultsbench DIR [--min-bytes N]\n", stderr);
        return 2;
    }
    std::uint64_t minimum = 1024;
    if (argc >= 4 && std::strcmp(argv[2], "--min-bytes") == 0)
        minimum = std::strtoull(argv[3], nullptr, 10);

    QGuiApplication app(argc, argv);
    QQuickStyle::setStyle("Fusion");

    QElapsedTimer scanClock;
    scanClock.start();
    auto outcome = DuplicateScanner::scan(argv[1], minimum, [](const auto &) {}, {});
    auto *result = std::get_if<DuplicateScanResult>(&outcome);
    if (!result) {
        std::fputs("scan failed\n", stderr);
        return 1;
    }
    std::printf("scan: %lld files, %zu groups, %lld duplicate files, %.0f ms\n",
                static_cast<long long>(result->filesScanned), result->groups.size(),
                static_cast<long long>(result->duplicateFileCount()),
                static_cast<double>(scanClock.elapsed()));
    const ScanResultValue value(std::move(*result));

    QQmlEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/"));
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQuick
        import QtQuick.Controls
        import Twinsift
        ApplicationWindow {
            width: 1020
            height: 800
            visible: true
            property scanResultValue shown
            property alias view: view
            DuplicateResultsView {
                id: view
                anchors.fill: parent
                result: shown
                isScanning: false
                progressText: ""
                progressFraction: undefined
            }
        }
    )",
                      QUrl());
    std::unique_ptr<QObject> root(component.create());
    if (!root) {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        return 1;
    }
    auto *window = qobject_cast<QQuickWindow *>(root.get());
    auto *review = root->property("view")
                       .value<QObject *>()
                       ->property("review")
                       .value<DuplicateReviewModel *>();
    timeToFrame(window, [] {});

    report("result -> first frame",
           timeToFrame(window, [&] { root->setProperty("shown", QVariant::fromValue(value)); }),
           review);
    {
        QEventLoop loop;
        QObject::connect(review, &DuplicateReviewModel::protectionKnown, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
    }

    using C = DuplicateReviewModel;
    const std::pair<const char *, C::Category> categories[] = {
        {"category -> Same Name + Size", C::SameNameSize},
        {"category -> Same Name", C::SameName},
        {"category -> Similar Files", C::Similar},
        {"category -> Exact Duplicates", C::Exact},
    };
    for (const auto &[step, category] : categories)
        report(step, timeToFrame(window, [&] { review->selectCategory(category); }), review);

    const std::pair<const char *, C::Sort> sorts[] = {
        {"sort -> File Count", C::FileCount},
        {"sort -> File Size", C::FileSize},
        {"sort -> Filename", C::Filename},
        {"sort -> Reclaimable Size", C::ReclaimableSize},
    };
    for (const auto &[step, sort] : sorts)
        report(step, timeToFrame(window, [&] { review->setSortMode(sort); }), review);

    for (const char *text : {"1", "12", "123", "12", "1", ""}) {
        const QByteArray step = QByteArray("search -> \"") + text + "\"";
        report(step.constData(),
               timeToFrame(window, [&] { review->setSearchText(QString::fromUtf8(text)); }),
               review);
    }
    report("flat list", timeToFrame(window, [&] { review->showDuplicateFiles(); }), review);
    report("grouped view", timeToFrame(window, [&] { review->showDuplicateGroups(); }), review);
    report("mark one row", timeToFrame(window, [&] { review->toggleRow(1); }), review);

    // Scroll the table 120 pixels per frame for 400 frames.
    auto *grid = root->findChild<QObject *>(QStringLiteral("resultGrid"));
    std::vector<double> frames;
    std::vector<double> cpu;
    for (int i = 0; i < 400; ++i) {
        frames.push_back(timeToFrame(window, [&] {
            grid->setProperty("contentY", grid->property("contentY").toDouble() + 120);
        }));
        cpu.push_back(lastCpuMs);
    }
    std::sort(frames.begin(), frames.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("scroll, 400 frames of 120 px: wall median %.1f / p95 %.1f / max %.1f ms; "
                "main-thread CPU median %.1f / p95 %.1f / max %.1f ms\n",
                frames[frames.size() / 2], frames[frames.size() * 95 / 100], frames.back(),
                cpu[cpu.size() / 2], cpu[cpu.size() * 95 / 100], cpu.back());
    return 0;
}
