#include "duplicatescanviewmodel.h"

#include "scantexts.h"

#include "fileurls.h"

#include <QLoggingCategory>
#include <QMetaObject>
#include <QPromise>
#include <QVariantMap>

#include <algorithm>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
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
    std::stop_source stop;
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
    : QObject(parent), m_engine(std::move(engine)),
      m_mailbox(std::make_shared<MainThreadMailbox<DuplicateScanViewModel>>(this)) {
    // A scan reports after every file, thousands of times a second. Each
    // shown change costs a frame, and without a GPU a frame costs the scan
    // more than the figures are worth; ten a second still reads as live.
    m_progressPoll.setInterval(progressInterval);
    connect(&m_progressPoll, &QTimer::timeout, this, &DuplicateScanViewModel::collectProgress);
}

DuplicateScanViewModel::~DuplicateScanViewModel() {
    m_mailbox->close();
    // Nobody is left to show the outcome; let the worker end soon.
    if (m_scanTask)
        m_scanTask->stop.request_stop();
}

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
    if (m_scanTask)
        m_scanTask->stop.request_stop();
    const std::uint64_t threshold = m_minimumFileSize.bytes();

    setIsScanning(true);
    setErrorMessage(QString());
    setScanProgress(DuplicateScanProgress{});

    auto run = std::make_shared<Run>();
    run->ended.start();
    QFuture<void> ended = run->ended.future();
    m_scanTask = run;
    m_progressPoll.start();

    // Every scan gets a thread of its own. A superseded scan may sit for
    // minutes in a read from a hung mount; a shared, capped pool would make
    // the newest scan queue behind such scans.
    auto work = [run, mailbox = m_mailbox, engine = m_engine, folder = folderPath.toStdString(),
                 threshold] {
        const auto progress = [&run](const DuplicateScanProgress &report) {
            std::lock_guard lock(run->slotMutex);
            run->newestReport = report;
        };
        auto outcome = std::make_shared<ScanOutcome>(
            guarded(engine, folder, threshold, progress, run->stop.get_token()));
        // The results screen's category counts, worked out here while the
        // main thread is free, so they are there when the screen first draws.
        auto groupings = std::make_shared<std::optional<ResultReview::Groupings>>();
        if (const auto *result = std::get_if<DuplicateScanResult>(outcome.get());
            result && !run->stop.stop_requested()) {
            try {
                *groupings = ResultReview::derive(*result);
            } catch (const std::exception &e) {
                // The results screen works them out itself.
                qCWarning(lcScanController) << "grouping the result failed:" << e.what();
            }
        }
        mailbox->post([run, outcome, groupings](DuplicateScanViewModel *vm) {
            vm->finishScan(run, std::move(*outcome), std::move(*groupings));
        });
    };
    try {
        std::thread(std::move(work)).detach();
    } catch (const std::system_error &e) {
        qCCritical(lcScanController) << "no thread for the scan:" << e.what();
        finishScan(run, DuplicateScanError::internalError);
    }
    return ended;
}

void DuplicateScanViewModel::cancelScan() {
    if (m_isScanning && m_scanTask)
        m_scanTask->stop.request_stop();
}

void DuplicateScanViewModel::clearResult() {
    setResult(ScanResultValue());
    setErrorMessage(QString());
    if (!m_isScanning)
        setScanProgress(std::nullopt);
}

bool DuplicateScanViewModel::isCurrent(const Run &run) const {
    // Once the newest scan has ended it is no longer current either, so a
    // delivery that was still queued cannot bring its progress back.
    // Every outcome holds its run, so no newer run can take its address:
    // the address alone tells the newest run from a superseded one.
    return m_scanTask.get() == &run;
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
    if (isCurrent(*run)) {
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
    }
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
