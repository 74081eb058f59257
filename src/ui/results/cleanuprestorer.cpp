#include "cleanuprestorer.h"

#include "bytetexts.h"
#include "cleanupjournal.h"

#include <QJSEngine>
#include <QLoggingCategory>

#include <exception>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcRestore, "twinsift.cleanup", QtInfoMsg)
} // namespace

CleanupRestorer::CleanupRestorer(QObject *parent) : RunReport(parent) {}

CleanupRestorer::~CleanupRestorer() = default;

CleanupRestorer *CleanupRestorer::shared() {
    static CleanupRestorer *instance = new CleanupRestorer(nullptr);
    return instance;
}

CleanupRestorer *CleanupRestorer::create(QQmlEngine *, QJSEngine *) {
    CleanupRestorer *restorer = shared();
    // The engine must not delete the process-wide restorer when it goes away.
    QJSEngine::setObjectOwnership(restorer, QJSEngine::CppOwnership);
    return restorer;
}

void CleanupRestorer::refresh() {
    ask(false);
}

void CleanupRestorer::askToRestore() {
    if (!m_running)
        ask(true);
}

void CleanupRestorer::ask(bool confirm) {
    m_question.start([confirm](const auto &reply) {
        int count = 0;
        std::uint64_t bytes = 0;
        try {
            for (const auto &entry : CleanupRestore::stillInTrash(CleanupJournal::read())) {
                ++count;
                bytes += entry.size;
            }
        } catch (const std::exception &error) {
            qCWarning(lcRestore) << "could not read the cleanup journal:" << error.what();
        }
        reply([count, bytes, confirm](CleanupRestorer *self) {
            self->setAvailable(count, bytes, confirm);
        });
    });
}

void CleanupRestorer::setAvailable(int count, std::uint64_t bytes, bool confirm) {
    m_availableCount = count;
    m_availableBytes = bytes;
    emit availableChanged();
    if (confirm && count > 0 && !m_running)
        setConfirming(true);
}

void CleanupRestorer::cancelRestore() {
    setConfirming(false);
}

void CleanupRestorer::setConfirming(bool confirming) {
    if (m_confirming == confirming)
        return;
    m_confirming = confirming;
    emit isConfirmingChanged();
}

void CleanupRestorer::restore() {
    setConfirming(false);
    if (m_running)
        return;
    m_running = true;
    emit isRunningChanged();
    m_restore.start([](const auto &reply) {
        RestoreReport report;
        try {
            report = CleanupRestore::run(CleanupJournal::read());
            // What could not go back stays in the journal for another try.
            std::vector<Trash::Entry> left;
            for (const auto &failure : report.failures)
                left.push_back(failure.entry);
            if (!CleanupJournal::write(left))
                qCWarning(lcRestore) << "could not rewrite the cleanup journal";
        } catch (const std::exception &error) {
            qCWarning(lcRestore) << "restore failed:" << error.what();
        }
        reply(
            [report = std::move(report)](CleanupRestorer *self) mutable { self->finish(report); });
    });
}

void CleanupRestorer::finish(RestoreReport report) {
    m_running = false;
    emit isRunningChanged();
    qCInfo(lcRestore) << "restored" << report.restored.size() << "files," << report.failures.size()
                      << "not restored";
    std::vector<CleanupFailure> failures;
    for (const auto &f : report.failures)
        failures.push_back({f.entry.originalPath, CleanupFailureReason::trash, f.failure});
    setFailures(failures);
    m_report = std::move(report);
    emit reportChanged();
    refresh();
}

void CleanupRestorer::closeReport() {
    if (!m_report)
        return;
    m_report.reset();
    setFailures({});
    emit reportChanged();
    emit reportClosed();
}

QString CleanupRestorer::availableSize() const {
    return ByteTexts::bytes(m_availableBytes);
}

QString CleanupRestorer::confirmationText() const {
    return tr("%n files · %1 go back from the Trash to where they were.", nullptr,
              static_cast<int>(m_availableCount))
        .arg(availableSize());
}

QString CleanupRestorer::reportTitle() const {
    if (!m_report)
        return {};
    return m_report->failures.empty() ? tr("Restore Complete")
                                      : tr("Restore Completed with Warnings");
}

QString CleanupRestorer::reportSummary() const {
    if (!m_report)
        return {};
    return tr("%n files restored · %1", nullptr, static_cast<int>(m_report->restored.size()))
        .arg(ByteTexts::bytes(m_report->restoredBytes));
}

QString CleanupRestorer::failureText() const {
    if (!m_report || m_report->failures.empty())
        return {};
    return tr("%n files could not be restored", nullptr,
              static_cast<int>(m_report->failures.size()));
}

} // namespace twinsift
