#pragma once

#include "backgroundtask.h"

#include "markrule.h"
#include "modificationtimes.h"
#include "resultreview.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace twinsift {

// The "Mark" menu of the grouped exact view and the undo of marks: runs a
// bulk mark on the review once everything it needs is known, and words the
// feedback line under the cleanup bar. Modification times are read on a
// worker, once per result, and handed back through the main-thread mailbox;
// a rule waits for them, and for the result's protection answers, so the
// main thread never asks the disk and a rule never marks a file whose
// protection is still unknown.
class MarkRuleRunner : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Bulk marks belong to a DuplicateReviewModel.")

    // "Marked 1012 copies in 1004 sets · 3 protected copies left alone" after
    // a bulk mark, until the next change of the marks; empty otherwise.
    Q_PROPERTY(QString feedback READ feedback NOTIFY feedbackChanged)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY canUndoChanged)
    // A rule waits for its times or for the protection answers.
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    // Where the folder chooser of "Mark Copies in Folder…" starts: the
    // scanned folder, built from its bytes.
    Q_PROPERTY(QUrl scannedFolder READ scannedFolder NOTIFY scannedFolderChanged)

public:
    // In menu order, one for one with MarkRule.
    enum Rule {
        KeepOldest,
        KeepNewest,
        KeepFirst,
        KeepShortestPath,
        MarkCopiesInFolder,
        InvertMarks,
    };
    Q_ENUM(Rule)

    // How the runner reaches the review it marks: every change goes through
    // change(), which announces what moved.
    struct Host {
        ResultReview *review = nullptr;
        std::function<void(const std::function<void()> &)> change;
        std::function<std::shared_ptr<const DuplicateScanResult>()> result;
    };

    explicit MarkRuleRunner(Host host, QObject *parent = nullptr);
    ~MarkRuleRunner() override;

    QString feedback() const { return m_feedback; }
    bool canUndo() const { return m_canUndo; }
    bool busy() const { return m_pending.has_value(); }
    QUrl scannedFolder() const;

    // Any rule but the folder one, which needs its folder.
    Q_INVOKABLE void apply(twinsift::MarkRuleRunner::Rule rule);
    // folder is the chooser's URL; its path bytes are used as they are. A
    // folder outside the scanned one marks nothing and says so.
    Q_INVOKABLE void markCopiesInFolder(const QUrl &folder);
    // Ctrl+Z: the last click, bulk mark or "Clear Selection".
    Q_INVOKABLE void undo();

    // Called by the review model.
    void resultChanged();
    void protectionKnown();
    void marksChanged();
    // A finished cleanup: the marks it cleared named files now in the Trash.
    void forgetHistory();

signals:
    void feedbackChanged();
    void canUndoChanged();
    void busyChanged();
    void scannedFolderChanged();
    // A requested rule has run (it may have marked nothing).
    void ruleApplied();

private:
    struct Pending {
        MarkRule rule;
        std::string folder;
    };

    void request(Pending pending);
    void runPending();
    void startReadingTimes(const std::shared_ptr<const DuplicateScanResult> &result);
    void takeTimes(std::shared_ptr<const DuplicateScanResult> forResult, ModificationTimes times);
    void setFeedback(const QString &text);
    void refreshCanUndo();

    Host m_host;
    QString m_feedback;
    bool m_canUndo = false;
    std::optional<Pending> m_pending;
    // The result the protection answers and the times belong to.
    std::shared_ptr<const DuplicateScanResult> m_protectionFor;
    std::shared_ptr<const DuplicateScanResult> m_timesFor;
    std::shared_ptr<const DuplicateScanResult> m_readingFor;
    std::optional<ModificationTimes> m_times;
    // A thread of its own: one stat per file of the result, any of which may
    // hang on a dead mount, and quitting must never wait for that. The read
    // only looks, so it is safe to abandon.
    BackgroundTask<MarkRuleRunner> m_timesRead{this, WorkerKind::ownThread};
};

} // namespace twinsift
