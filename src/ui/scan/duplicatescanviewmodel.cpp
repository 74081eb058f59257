#include "duplicatescanviewmodel.h"

#include "scantexts.h"

#include "fileurls.h"

#include <QLoggingCategory>
#include <QMetaObject>
#include <QPromise>
#include <QVariantMap>

#include <algorithm>
#include <exception>
#include <malloc.h>
#include <mutex>
#include <type_traits>
#include <utility>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcScanController, "twinsift.scan", QtInfoMsg)

// Runs the engine and turns anything it throws into a failed scan: a worker
// that dies with an exception would end the process, or leave the screen
// scanning for ever. The folder is not to blame, so the user is not told so.
ScanOutcome guarded(const DuplicateScanViewModel::ScanFunction &engine, const std::string &folder,
                    std::uint64_t threshold, const DuplicateScanner::ProgressCallback &progress,
                    std::stop_token stop) {
    try {
        return engine(folder, threshold, progress, std::move(stop));
    } catch (const std::exception &e) {
        qCCritical(lcScanController) << "scan failed:" << e.what();
    } catch (...) {
        qCCritical(lcScanController) << "scan failed with an unknown exception";
    }
    return DuplicateScanError::internalError;
}

DuplicateScanViewModel::ScanFunction &defaultEngine() {
    static DuplicateScanViewModel::ScanFunction engine;
    return engine;
}
} // namespace

// One started scan, shared by the controller and the worker that runs it.
struct DuplicateScanViewModel::Run {
    // Read on the main thread only.
    std::stop_token stop;
    QPromise<void> ended;

    // The worker never waits for the main thread and never wakes it: it
    // leaves its newest report here, and the main thread collects it at its
    // own pace. Reports cannot pile up, and what is shown is the latest.
    std::mutex slotMutex;
    std::optional<DuplicateScanProgress> newestReport;
};

DuplicateScanViewModel::DuplicateScanViewModel(QObject *parent)
    : DuplicateScanViewModel(
          defaultEngine() ? defaultEngine() : ScanFunction(&DuplicateScanner::scan), parent) {}

void DuplicateScanViewModel::setDefaultEngine(ScanFunction engine) {
    defaultEngine() = std::move(engine);
}

DuplicateScanViewModel::DuplicateScanViewModel(ScanFunction engine, QObject *parent)
    : QObject(parent), m_engine(std::move(engine)) {
    // A scan reports after every file, thousands of times a second. Each
    // shown change costs a frame, and without a GPU a frame costs the scan
    // more than the figures are worth; ten a second still reads as live.
    m_progressPoll.setInterval(progressInterval);
    connect(&m_progressPoll, &QTimer::timeout, this, &DuplicateScanViewModel::collectProgress);
}

// Nobody is left to show the outcome; m_scan lets the worker end soon.
DuplicateScanViewModel::~DuplicateScanViewModel() = default;

void DuplicateScanViewModel::setMinimumFileSize(DuplicateMinimumFileSize size) {
    if (size == m_minimumFileSize)
        return;
    m_minimumFileSize = size;
    emit minimumFileSizeChanged();
    emit scanProgressTextChanged();
}

QString DuplicateScanViewModel::minimumFileSizeName() const {
    const auto raw = m_minimumFileSize.rawValue();
    return QString::fromLatin1(raw.data(), static_cast<qsizetype>(raw.size()));
}

void DuplicateScanViewModel::setMinimumFileSizeName(const QString &name) {
    if (const auto size = DuplicateMinimumFileSize::fromRawValue(name.toStdString()))
        setMinimumFileSize(*size);
    else
        qCWarning(lcScanController) << "unknown minimum file size" << name;
}

QVariantList DuplicateScanViewModel::minimumFileSizeOptions() {
    QVariantList options;
    for (const auto size : DuplicateMinimumFileSize::allCases()) {
        const auto id = size.rawValue();
        options.append(QVariantMap{
            {QStringLiteral("id"), QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size()))},
            {QStringLiteral("label"), ScanTexts::minimumFileSizeLabel(size)},
        });
    }
    return options;
}

QStringList DuplicateScanViewModel::scanProgressParts() const {
    return ScanTexts::progressParts(m_scanProgress, m_minimumFileSize);
}

QString DuplicateScanViewModel::scanProgressText() const {
    return ScanTexts::progressLine(scanProgressParts());
}

std::optional<double> DuplicateScanViewModel::scanProgressFraction() const {
    if (!m_scanProgress || m_scanProgress->phase != DuplicateScanPhase::hashing ||
        m_scanProgress->candidateFiles <= 0)
        return std::nullopt;
    return std::min(1.0, static_cast<double>(m_scanProgress->filesHashed) /
                             static_cast<double>(m_scanProgress->candidateFiles));
}

QVariant DuplicateScanViewModel::scanProgressValue() const {
    if (!m_scanProgress)
        return {};
    const auto &p = *m_scanProgress;
    return QVariantMap{
        {QStringLiteral("phase"), p.phase == DuplicateScanPhase::enumerating
                                      ? QStringLiteral("enumerating")
                                      : QStringLiteral("hashing")},
        {QStringLiteral("filesScanned"), qlonglong(p.filesScanned)},
        {QStringLiteral("filesHashed"), qlonglong(p.filesHashed)},
        {QStringLiteral("candidateFiles"), qlonglong(p.candidateFiles)},
        {QStringLiteral("ignoredSmallFiles"), qlonglong(p.ignoredSmallFiles)},
    };
}

QVariant DuplicateScanViewModel::scanProgressFractionValue() const {
    const auto fraction = scanProgressFraction();
    return fraction ? QVariant(*fraction) : QVariant();
}

void DuplicateScanViewModel::scan(const QUrl &folder) {
    scan(QByteArray::fromStdString(fileurls::toPath(folder)));
}

QFuture<void> DuplicateScanViewModel::scan(const QByteArray &folderPath) {
    const std::uint64_t threshold = m_minimumFileSize.bytes();

    setIsScanning(true);
    setErrorMessage(QString());
    setScanProgress(DuplicateScanProgress{});

    auto run = std::make_shared<Run>();
    run->ended.start();
    QFuture<void> ended = run->ended.future();
    m_scanTask = run;
    m_progressPoll.start();

    auto work = [run, engine = m_engine, folder = folderPath.toStdString(),
                 threshold](const auto &reply) {
        const auto progress = [&run](const DuplicateScanProgress &report) {
            std::lock_guard lock(run->slotMutex);
            run->newestReport = report;
        };
        auto outcome = std::make_shared<ScanOutcome>(
            guarded(engine, folder, threshold, progress, reply.stopToken()));
        // The scan's tables are freed now, but glibc keeps their pages in
        // this thread's arena. Give them back before the groupings below,
        // which need about as much again, and once more after them, before
        // the window builds its table: on a million files that is the
        // difference of a hundred megabytes at the peak.
        ::malloc_trim(0);
        // The results screen's category counts, worked out here while the
        // main thread is free, so they are there when the screen first draws.
        auto groupings = std::make_shared<std::optional<ResultReview::Groupings>>();
        if (const auto *result = std::get_if<DuplicateScanResult>(outcome.get());
            result && !reply.stopRequested()) {
            try {
                *groupings = ResultReview::derive(*result);
            } catch (const std::exception &e) {
                // The results screen works them out itself.
                qCWarning(lcScanController) << "grouping the result failed:" << e.what();
            }
        }
        ::malloc_trim(0);
        // A superseded scan's outcome only ends its future.
        reply(
            [run, outcome, groupings](DuplicateScanViewModel *vm) {
                vm->finishScan(run, std::move(*outcome), std::move(*groupings));
            },
            [run](DuplicateScanViewModel *) { run->ended.finish(); });
    };
    if (!m_scan.start(std::move(work))) {
        qCCritical(lcScanController) << "no thread for the scan";
        finishScan(run, DuplicateScanError::internalError);
        return ended;
    }
    run->stop = m_scan.stopToken();
    return ended;
}

void DuplicateScanViewModel::cancelScan() {
    // The stopped scan still ends the scanning state when its outcome comes.
    if (m_isScanning && m_scanTask)
        m_scan.requestStop();
}

void DuplicateScanViewModel::clearResult() {
    setResult(ScanResultValue());
    setErrorMessage(QString());
    if (!m_isScanning)
        setScanProgress(std::nullopt);
}

void DuplicateScanViewModel::collectProgress() {
    if (!m_scanTask) {
        m_progressPoll.stop();
        return;
    }
    std::optional<DuplicateScanProgress> report;
    {
        std::lock_guard lock(m_scanTask->slotMutex);
        report = std::exchange(m_scanTask->newestReport, std::nullopt);
    }
    if (report)
        setScanProgress(report);
}

void DuplicateScanViewModel::finishScan(const std::shared_ptr<Run> &run, ScanOutcome outcome,
                                        std::optional<ResultReview::Groupings> groupings) {
    std::visit(
        [this, &run, &groupings](auto &&value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, DuplicateScanResult>) {
                if (run->stop.stop_requested())
                    qCDebug(lcScanController) << "result after stop discarded";
                else if (groupings)
                    setResult(ScanResultValue(std::move(value), std::move(*groupings)));
                else
                    setResult(ScanResultValue(std::move(value)));
            } else if constexpr (std::is_same_v<T, DuplicateScanError>) {
                setErrorMessage(ScanTexts::scanError(value));
            } else {
                setErrorMessage(QString());
            }
        },
        outcome);
    m_scanTask.reset();
    m_progressPoll.stop();
    setIsScanning(false);
    setScanProgress(std::nullopt);
    run->ended.finish();
}

void DuplicateScanViewModel::setIsScanning(bool scanning) {
    if (scanning == m_isScanning)
        return;
    m_isScanning = scanning;
    emit isScanningChanged();
}

void DuplicateScanViewModel::setResult(ScanResultValue result) {
    if (result == m_result)
        return;
    m_result = std::move(result);
    emit resultChanged();
}

void DuplicateScanViewModel::setErrorMessage(const QString &message) {
    if (message == m_errorMessage && message.isNull() == m_errorMessage.isNull())
        return;
    m_errorMessage = message;
    emit errorMessageChanged();
}

void DuplicateScanViewModel::setScanProgress(std::optional<DuplicateScanProgress> progress) {
    if (progress == m_scanProgress)
        return;
    m_scanProgress = progress;
    emit scanProgressChanged();
    emit scanProgressTextChanged();
}

} // namespace twinsift
