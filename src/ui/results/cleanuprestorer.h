#pragma once

#include "mainthreadmailbox.h"

#include "cleanupfailuresmodel.h"
#include "cleanuprestore.h"

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
class CleanupRestorer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    // What the journal still has in the Trash, as last asked.
    Q_PROPERTY(int availableCount READ availableCount NOTIFY availableChanged)
    Q_PROPERTY(QString availableSize READ availableSize NOTIFY availableChanged)
    Q_PROPERTY(bool isConfirming READ isConfirming NOTIFY isConfirmingChanged)
    Q_PROPERTY(QString confirmationText READ confirmationText NOTIFY availableChanged)
    Q_PROPERTY(bool hasReport READ hasReport NOTIFY reportChanged)
    Q_PROPERTY(QString reportIcon READ reportIcon NOTIFY reportChanged)
    Q_PROPERTY(QString reportTitle READ reportTitle NOTIFY reportChanged)
    Q_PROPERTY(QString reportSummary READ reportSummary NOTIFY reportChanged)
    Q_PROPERTY(QString failureText READ failureText NOTIFY reportChanged)
    Q_PROPERTY(twinsift::CleanupFailuresModel *failures READ failures CONSTANT)

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
    bool hasReport() const { return m_report.has_value(); }
    QString reportIcon() const;
    QString reportTitle() const;
    QString reportSummary() const;
    QString failureText() const;
    CleanupFailuresModel *failures() { return &m_failures; }

signals:
    void isRunningChanged();
    void availableChanged();
    void isConfirmingChanged();
    void reportChanged();
    // The report closed: what is on disk changed, so results are stale.
    void reportClosed();

private:
    void ask(bool confirm);
    void setAvailable(std::uint64_t question, int count, std::uint64_t bytes, bool confirm);
    void finish(RestoreReport report);
    void setConfirming(bool confirming);

    bool m_running = false;
    bool m_confirming = false;
    std::uint64_t m_questions = 0;
    int m_availableCount = 0;
    std::uint64_t m_availableBytes = 0;
    std::optional<RestoreReport> m_report;
    CleanupFailuresModel m_failures;
    std::shared_ptr<MainThreadMailbox<CleanupRestorer>> m_mailbox;
};

} // namespace twinsift
