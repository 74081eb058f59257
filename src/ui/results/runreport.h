#pragma once

#include "cleanupfailuresmodel.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace twinsift {

// What a result sheet shows of a run that moved files, to the Trash or back
// from it: whether a report is there, its symbol, title and summary, and the
// files that did not move. The run itself words the texts; the sheet reads
// them the same way for either run.
class RunReport : public QObject {
    Q_OBJECT
    QML_ANONYMOUS

    Q_PROPERTY(bool hasReport READ hasReport NOTIFY reportChanged)
    Q_PROPERTY(QString reportIcon READ reportIcon NOTIFY reportChanged)
    Q_PROPERTY(QString reportTitle READ reportTitle NOTIFY reportChanged)
    Q_PROPERTY(QString reportSummary READ reportSummary NOTIFY reportChanged)
    // Empty when every file moved.
    Q_PROPERTY(QString failureText READ failureText NOTIFY reportChanged)
    Q_PROPERTY(twinsift::CleanupFailuresModel *failures READ failures CONSTANT)

public:
    explicit RunReport(QObject *parent = nullptr) : QObject(parent) {}

    virtual bool hasReport() const = 0;
    // A check when every file moved, a warning otherwise; empty without a
    // report.
    QString reportIcon() const { return hasReport() ? m_failures.statusIcon() : QString(); }
    // Each empty without a report.
    virtual QString reportTitle() const = 0;
    virtual QString reportSummary() const = 0;
    virtual QString failureText() const = 0;
    CleanupFailuresModel *failures() { return &m_failures; }

signals:
    void reportChanged();

protected:
    // The failures shown while the report is; empty when it closes.
    void setFailures(const std::vector<CleanupFailure> &failures) {
        m_failures.setFailures(failures);
    }

private:
    CleanupFailuresModel m_failures;
};

} // namespace twinsift
