#pragma once

#include "backgroundtask.h"
#include "cleanuprestore.h"
#include "runreport.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <cstdint>
#include <memory>
#include <optional>

class QQmlEngine;
class QJSEngine;

namespace twinsift {

// Puts the last cleanup's files back, from the result sheet or from the Edit
// menu, in this run of the app or a later one: what the cleanup moved is
// read from its journal on disk. One per process. The disk is asked on a
// worker; answers come back to the main thread, the newest question's only.
// The base is named in full for the QML types, as CleanupJob's is.
class CleanupRestorer : public twinsift::RunReport {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    // What the journal still has in the Trash, as last asked.
    Q_PROPERTY(int availableCount READ availableCount NOTIFY availableChanged)
    Q_PROPERTY(QString availableSize READ availableSize NOTIFY availableChanged)
    Q_PROPERTY(bool isConfirming READ isConfirming NOTIFY isConfirmingChanged)
    Q_PROPERTY(QString confirmationText READ confirmationText NOTIFY availableChanged)

public:
    // No default: QML must take the process's one through create(), and a
    // test that wants a restorer of its own says so.
    explicit CleanupRestorer(QObject *parent);
    ~CleanupRestorer() override;

    static CleanupRestorer *shared();
    static CleanupRestorer *create(QQmlEngine *, QJSEngine *);

    // Asks the disk again what the journal still has in the Trash.
    Q_INVOKABLE void refresh();
    // Shows the confirmation once the count and size are known.
    Q_INVOKABLE void askToRestore();
    Q_INVOKABLE void cancelRestore();
    // Restores what the journal holds; the report follows.
    Q_INVOKABLE void restore();
    // Closes the report; the screens then scan again.
    Q_INVOKABLE void closeReport();

    bool isRunning() const { return m_running; }
    int availableCount() const { return m_availableCount; }
    QString availableSize() const;
    bool isConfirming() const { return m_confirming; }
    QString confirmationText() const;
    bool hasReport() const override { return m_report.has_value(); }
    QString reportTitle() const override;
    QString reportSummary() const override;
    QString failureText() const override;

signals:
    void isRunningChanged();
    void availableChanged();
    void isConfirmingChanged();
    // The report closed: what is on disk changed, so results are stale.
    void reportClosed();

private:
    void ask(bool confirm);
    void setAvailable(int count, std::uint64_t bytes, bool confirm);
    void finish(RestoreReport report);
    void setConfirming(bool confirming);

    bool m_running = false;
    bool m_confirming = false;
    int m_availableCount = 0;
    std::uint64_t m_availableBytes = 0;
    std::optional<RestoreReport> m_report;
    // Only the newest question's answer counts. A thread of its own: the
    // question looks into Trash folders that may sit on a dead mount, and
    // only looks, so quitting abandons it rather than waiting.
    BackgroundTask<CleanupRestorer> m_question{this, WorkerKind::ownThread};
    // Pooled: a restore the app is asked to quit during still ends, with its
    // journal rewritten, before the process does.
    BackgroundTask<CleanupRestorer> m_restore{this, WorkerKind::pooled};
};

} // namespace twinsift
