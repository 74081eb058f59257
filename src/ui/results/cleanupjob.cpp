#include "cleanupjob.h"

#include "bytetexts.h"
#include "cleanupjournal.h"
#include "cleanupprotection.h"
#include "cleanuprun.h"

#include <QLoggingCategory>

#include <exception>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcCleanup, "twinsift.cleanup", QtInfoMsg)
} // namespace

CleanupJob::CleanupJob(QObject *parent) : RunReport(parent), m_runner(CleanupRun::run) {}

CleanupJob::~CleanupJob() = default;

void CleanupJob::setRunner(Runner runner) {
    m_runner = std::move(runner);
}

bool CleanupJob::start(std::shared_ptr<const DuplicateScanResult> result,
                       std::vector<DuplicateFile> selected) {
    if (m_running || !result)
        return false;
    m_running = true;
    emit isRunningChanged();
    qCInfo(lcCleanup) << "cleanup started for" << selected.size() << "files";
    m_run.start([runner = m_runner, result = std::move(result),
                 selected = std::move(selected)](const auto &reply) {
        // Exactly one outcome goes back, or the sheet would say "Moving…" for
        // good. Whatever the run throws, nothing it had not finished moving
        // moved, so the user is told to rescan.
        CleanupOutcome outcome = CleanupStop{CleanupStopReason::notRevalidated};
        try {
            outcome = runner(*result, selected, CleanupProtection::isProtected);
            // Before the sheet shows, so that what it offers to restore is
            // on disk, for this run of the app and later ones.
            if (const auto *report = std::get_if<CleanupReport>(&outcome);
                report && !report->trashed.empty() && !CleanupJournal::write(report->trashed))
                qCWarning(lcCleanup) << "could not write the cleanup journal";
        } catch (const std::exception &error) {
            qCWarning(lcCleanup) << "cleanup run failed:" << error.what();
        } catch (...) {
            qCWarning(lcCleanup) << "cleanup run failed with an unknown exception";
        }
        reply([outcome = std::move(outcome)](CleanupJob *job) mutable {
            job->finish(std::move(outcome));
        });
    });
    return true;
}

void CleanupJob::finish(CleanupOutcome outcome) {
    m_running = false;
    emit isRunningChanged();
    if (auto *stop = std::get_if<CleanupStop>(&outcome)) {
        qCInfo(lcCleanup) << "cleanup stopped before moving anything";
        emit stopped(stop->reason);
        return;
    }
    auto &report = std::get<CleanupReport>(outcome);
    qCInfo(lcCleanup) << "cleanup moved" << report.movedPaths.size() << "files,"
                      << report.failures.size() << "not moved";
    emit completed();
    setFailures(report.failures);
    m_report = std::move(report);
    emit reportChanged();
}

void CleanupJob::clearReport() {
    if (!m_report)
        return;
    m_report.reset();
    setFailures({});
    emit reportChanged();
}

QString CleanupJob::reportTitle() const {
    if (!m_report)
        return {};
    return m_report->failures.empty() ? tr("Cleanup Complete")
                                      : tr("Cleanup Completed with Warnings");
}

QString CleanupJob::reportSummary() const {
    if (!m_report)
        return {};
    return tr("%n files moved to Trash · %1", nullptr,
              static_cast<int>(m_report->movedPaths.size()))
        .arg(ByteTexts::bytes(m_report->movedBytes));
}

QString CleanupJob::failureText() const {
    if (!m_report || m_report->failures.empty())
        return {};
    return tr("%n files could not be moved", nullptr, static_cast<int>(m_report->failures.size()));
}

} // namespace twinsift
