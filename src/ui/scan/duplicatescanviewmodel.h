#pragma once

#include "backgroundtask.h"

#include "duplicateminimumfilesize.h"
#include "duplicatescanner.h"
#include "scanresultvalue.h"

#include <QByteArray>
#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

namespace twinsift {

// Runs one scan at a time on a worker thread and publishes its progress,
// result and error on the main thread. Only the newest scan may change what
// is shown: every late outcome carries its scan's run and is dropped when
// that is no longer the current one.
class DuplicateScanViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isScanning READ isScanning NOTIFY isScanningChanged)
    Q_PROPERTY(twinsift::ScanResultValue result READ result NOTIFY resultChanged)
    // Empty while there is no error. Screens write it too, for problems of
    // their own such as a remembered folder that is gone.
    Q_PROPERTY(
        QString errorMessage READ errorMessage WRITE setErrorMessage NOTIFY errorMessageChanged)
    // The case name of the setting, such as "oneKB".
    Q_PROPERTY(QString minimumFileSize READ minimumFileSizeName WRITE setMinimumFileSizeName NOTIFY
                   minimumFileSizeChanged)
    // undefined while no scan runs; otherwise phase, filesScanned, filesHashed,
    // candidateFiles and ignoredSmallFiles.
    Q_PROPERTY(QVariant scanProgress READ scanProgressValue NOTIFY scanProgressChanged)
    Q_PROPERTY(QString scanProgressText READ scanProgressText NOTIFY scanProgressTextChanged)
    // undefined when the progress has no fraction.
    Q_PROPERTY(
        QVariant scanProgressFraction READ scanProgressFractionValue NOTIFY scanProgressChanged)
    // Every setting in the order it is offered: {id, label} each.
    Q_PROPERTY(QVariantList minimumFileSizeOptions READ minimumFileSizeOptions CONSTANT)

public:
    // The engine's signature, so a caller can wrap the real engine.
    using ScanFunction =
        std::function<ScanOutcome(const std::string &, std::uint64_t,
                                  const DuplicateScanner::ProgressCallback &, std::stop_token)>;

    // Runs the engine that setDefaultEngine last installed, the real one
    // unless a test replaced it.
    explicit DuplicateScanViewModel(QObject *parent = nullptr);
    explicit DuplicateScanViewModel(ScanFunction engine, QObject *parent = nullptr);
    ~DuplicateScanViewModel() override;

    // The engine of controllers that screens create themselves. Tests of
    // screens install one they can hold mid-scan; an empty function restores
    // the real engine. Main thread only.
    static void setDefaultEngine(ScanFunction engine);

    // How often the newest report of a running scan is shown, at most.
    static constexpr int progressInterval = 100;

    bool isScanning() const { return m_isScanning; }
    ScanResultValue result() const { return m_result; }
    QString errorMessage() const { return m_errorMessage; }
    void setErrorMessage(const QString &message);
    DuplicateMinimumFileSize minimumFileSize() const { return m_minimumFileSize; }
    void setMinimumFileSize(DuplicateMinimumFileSize size);
    std::optional<DuplicateScanProgress> scanProgress() const { return m_scanProgress; }

    QString scanProgressText() const;
    // The same line in its parts; see ScanTexts::progressParts.
    QStringList scanProgressParts() const;
    std::optional<double> scanProgressFraction() const;

    // Starts a scan of the folder at path bytes, superseding any running
    // one. The future finishes when the task that this call started has
    // ended, whatever its outcome and also when a newer scan took over.
    QFuture<void> scan(const QByteArray &folderPath);
    // The same for a file URL, as a folder dialog or a drop hands it over.
    Q_INVOKABLE void scan(const QUrl &folder);
    Q_INVOKABLE void cancelScan();
    Q_INVOKABLE void clearResult();

signals:
    void isScanningChanged();
    void resultChanged();
    void errorMessageChanged();
    void minimumFileSizeChanged();
    void scanProgressChanged();
    void scanProgressTextChanged();

private:
    struct Run;

    QString minimumFileSizeName() const;
    void setMinimumFileSizeName(const QString &name);
    QVariant scanProgressValue() const;
    QVariant scanProgressFractionValue() const;
    static QVariantList minimumFileSizeOptions();

    // Shows the newest report of the running scan, if a new one came.
    void collectProgress();
    // Only for the newest scan; groupings: the review's groupings of a
    // result, when the worker could work them out.
    void finishScan(const std::shared_ptr<Run> &run, ScanOutcome outcome,
                    std::optional<ResultReview::Groupings> groupings = std::nullopt);

    void setIsScanning(bool scanning);
    void setResult(ScanResultValue result);
    void setScanProgress(std::optional<DuplicateScanProgress> progress);

    ScanFunction m_engine;
    // Every scan gets a thread of its own. A superseded scan may sit for
    // minutes in a read from a hung mount; a shared, capped pool would make
    // the newest scan queue behind such scans.
    BackgroundTask<DuplicateScanViewModel> m_scan{this, WorkerKind::ownThread};

    bool m_isScanning = false;
    ScanResultValue m_result;
    QString m_errorMessage;
    DuplicateMinimumFileSize m_minimumFileSize = DuplicateMinimumFileSize::oneKB;
    std::optional<DuplicateScanProgress> m_scanProgress;

    std::shared_ptr<Run> m_scanTask;
    QTimer m_progressPoll;
};

} // namespace twinsift
