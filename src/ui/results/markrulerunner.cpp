#include "markrulerunner.h"

#include "fileurls.h"
#include "markrules.h"
#include "paths.h"

#include <QLoggingCategory>

namespace twinsift {

static_assert(MarkRuleRunner::KeepOldest == int(MarkRule::keepOldest));
static_assert(MarkRuleRunner::KeepNewest == int(MarkRule::keepNewest));
static_assert(MarkRuleRunner::KeepFirst == int(MarkRule::keepFirst));
static_assert(MarkRuleRunner::KeepShortestPath == int(MarkRule::keepShortestPath));
static_assert(MarkRuleRunner::MarkCopiesInFolder == int(MarkRule::markInFolder));
static_assert(MarkRuleRunner::InvertMarks == int(MarkRule::invert));
static_assert(MarkRule::allCases().size() == 6);

namespace {
Q_LOGGING_CATEGORY(lcMarks, "twinsift.marks", QtInfoMsg)
}

MarkRuleRunner::MarkRuleRunner(Host host, QObject *parent)
    : QObject(parent), m_host(std::move(host)) {}

MarkRuleRunner::~MarkRuleRunner() = default;

QUrl MarkRuleRunner::scannedFolder() const {
    const auto result = m_host.result();
    return result ? fileurls::fromPath(result->rootURL) : QUrl();
}

void MarkRuleRunner::apply(Rule rule) {
    const auto cases = MarkRule::allCases();
    if (rule < 0 || static_cast<std::size_t>(rule) >= cases.size() ||
        cases[static_cast<std::size_t>(rule)] == MarkRule::markInFolder)
        return;
    request({cases[static_cast<std::size_t>(rule)], {}});
}

void MarkRuleRunner::markCopiesInFolder(const QUrl &folder) {
    const auto result = m_host.result();
    if (!result)
        return;
    const std::string path = fileurls::toPath(folder);
    const std::string root = paths::standardized(result->rootURL);
    if (path.empty() ||
        (paths::standardized(path) != root && !MarkRules::isInsideFolder(path, root))) {
        setFeedback(tr("Choose a folder inside the scanned folder."));
        return;
    }
    request({MarkRule::markInFolder, path});
}

void MarkRuleRunner::undo() {
    if (m_pending) {
        // Undo wins over a rule still waiting for the disk.
        m_pending.reset();
        emit busyChanged();
    }
    m_host.change([this] { m_host.review->undoMarks(); });
    refreshCanUndo();
}

void MarkRuleRunner::request(Pending pending) {
    const bool wasBusy = busy();
    m_pending = std::move(pending);
    if (!wasBusy)
        emit busyChanged();
    runPending();
}

void MarkRuleRunner::runPending() {
    if (!m_pending)
        return;
    const auto result = m_host.result();
    if (!result) {
        m_pending.reset();
        emit busyChanged();
        return;
    }
    // Without the answers every file would count as unprotected.
    if (m_protectionFor != result)
        return;
    if (m_pending->rule.needsModificationTimes() && m_timesFor != result) {
        startReadingTimes(result);
        return;
    }

    const Pending pending = std::move(*m_pending);
    m_pending.reset();
    std::optional<MarkRuleSummary> summary;
    m_host.change([&] {
        summary = m_host.review->applyMarkRule(
            pending.rule, {m_timesFor == result && m_times ? &*m_times : nullptr, pending.folder});
    });
    if (summary) {
        // Two counts, each with its own plural: the sets come in as a phrase.
        QString text =
            tr("Marked %n copies in %1", nullptr, static_cast<int>(summary->copiesMarked))
                .arg(tr("%n sets", nullptr, static_cast<int>(summary->setsMarked)));
        if (summary->protectedLeftAlone > 0)
            text += tr(" · %n protected copies left alone", nullptr,
                       static_cast<int>(summary->protectedLeftAlone));
        setFeedback(text);
    }
    refreshCanUndo();
    emit busyChanged();
    emit ruleApplied();
}

void MarkRuleRunner::startReadingTimes(const std::shared_ptr<const DuplicateScanResult> &result) {
    if (m_readingFor == result)
        return;
    m_readingFor = result;
    m_timesRead.start([result](const auto &reply) {
        ModificationTimes times = ModificationTimes::read(*result, reply.stopToken());
        if (reply.stopRequested())
            return;
        reply([result, times = std::move(times)](MarkRuleRunner *runner) mutable {
            runner->takeTimes(result, std::move(times));
        });
    });
}

void MarkRuleRunner::takeTimes(std::shared_ptr<const DuplicateScanResult> forResult,
                               ModificationTimes times) {
    if (times.unreadableCount() > 0)
        qCInfo(lcMarks) << times.unreadableCount()
                        << "modification times could not be read; those files count as oldest";
    m_readingFor.reset();
    m_timesFor = std::move(forResult);
    m_times = std::move(times);
    runPending();
}

void MarkRuleRunner::resultChanged() {
    // Times of the result being replaced describe other sets.
    m_timesRead.cancel();
    m_readingFor.reset();
    m_timesFor.reset();
    m_times.reset();
    setFeedback({});
    refreshCanUndo();
    emit scannedFolderChanged();
    // A rule asked for before the rescan waits for the new result's answers.
    runPending();
}

void MarkRuleRunner::protectionKnown() {
    m_protectionFor = m_host.result();
    runPending();
}

void MarkRuleRunner::marksChanged() {
    setFeedback({});
    refreshCanUndo();
}

void MarkRuleRunner::forgetHistory() {
    m_host.review->forgetMarkHistory();
    refreshCanUndo();
}

void MarkRuleRunner::setFeedback(const QString &text) {
    if (text == m_feedback)
        return;
    m_feedback = text;
    emit feedbackChanged();
}

void MarkRuleRunner::refreshCanUndo() {
    const bool can = m_host.review->canUndoMarks();
    if (can == m_canUndo)
        return;
    m_canUndo = can;
    emit canUndoChanged();
}

} // namespace twinsift
