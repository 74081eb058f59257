#pragma once

#include "backgroundtask.h"
#include "runreport.h"

#include "cleanupreport.h"
#include "duplicatefile.h"
#include "duplicatescanresult.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace twinsift {

// One cleanup run at a time: it validates and moves the files on a worker,
// on copies of the result and the selection, and hands exactly one outcome
// back to the main thread: a stop message, or a report that stays here until
// the result sheet closes.
// The base is named in full: Qt 6.4's type registrar leaves an unqualified
// base out of the QML types, and qmllint then finds none of its properties.
class CleanupJob : public twinsift::RunReport {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("A cleanup run belongs to a DuplicateReviewModel.")

    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    // Whether the report's run moved anything that could be put back.
    Q_PROPERTY(bool canRestore READ canRestore NOTIFY reportChanged)

public:
    // The run's signature, so a caller can wrap the real one.
    using Runner = std::function<CleanupOutcome(const DuplicateScanResult &,
                                                const std::vector<DuplicateFile> &,
                                                const std::function<bool(const std::string &)> &)>;

    explicit CleanupJob(QObject *parent = nullptr);
    ~CleanupJob() override;

    void setRunner(Runner runner);

    // Starts a run of selected (the marked, unprotected files in path order)
    // and returns at once. Returns false, and starts nothing, while a run is
    // under way.
    bool start(std::shared_ptr<const DuplicateScanResult> result,
               std::vector<DuplicateFile> selected);

    bool isRunning() const { return m_running; }
    const std::optional<CleanupReport> &report() const { return m_report; }
    bool hasReport() const override { return m_report.has_value(); }
    bool canRestore() const { return m_report && !m_report->trashed.empty(); }
    QString reportTitle() const override;
    QString reportSummary() const override;
    QString failureText() const override;
    // Closes the result sheet's report.
    void clearReport();

signals:
    void isRunningChanged();
    // Emitted on the main thread once isRunning is false, before the report
    // is shown: the owner closes the review and empties or keeps the marks.
    void stopped(twinsift::CleanupStopReason reason);
    void completed();

private:
    void finish(CleanupOutcome outcome);

    bool m_running = false;
    std::optional<CleanupReport> m_report;
    Runner m_runner;
    // Pooled: a run the app is asked to quit during still ends, with its
    // journal written, before the process does.
    BackgroundTask<CleanupJob> m_run{this, WorkerKind::pooled};
};

} // namespace twinsift
