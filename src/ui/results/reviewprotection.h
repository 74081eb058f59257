#pragma once

#include "backgroundtask.h"

#include "resultreview.h"
#include "reviewrowsmodel.h"

#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace twinsift {

// Which files of the result under review lie in protected places, kept in
// memory so that drawing rows and answering clicks never ask the disk. The
// answers are worked out on a worker when a result arrives, in the same
// background pass that groups the result for the review-only categories
// when the scan did not bring those groupings along.
class ReviewProtection : public QObject {
    Q_OBJECT

public:
    using Protection = ReviewRowsModel::Protection;
    // Decides whether a path lies in a protected place. Called on a worker
    // only; the default asks the disk through CleanupProtection::Places.
    using Test = std::function<bool(const std::string &path)>;
    // Where the pass's answers go, on the main thread, for its newest
    // result only.
    struct Host {
        std::function<void(ResultReview::Groupings)> groupings;
        std::function<void()> answered;
    };

    explicit ReviewProtection(Host host, QObject *parent = nullptr);

    void setTest(Test test) { m_test = std::move(test); }

    Protection of(FileId id) const {
        return id < m_answers.size() ? m_answers[id] : Protection::unknown;
    }
    bool isProtectedPlace(FileId id) const { return of(id) == Protection::protectedPlace; }

    // Takes a new result: until the worker answers, the files the review's
    // current result also holds keep their answer, so a rescan does not
    // flicker every row. Call before the review takes next.
    void carryOver(const ResultReview &current, const DuplicateScanResult *next);
    // Starts the background pass over result; answers of any earlier pass
    // are dropped from now on. withGroupings: whether to group it too.
    void check(std::shared_ptr<const DuplicateScanResult> result, bool withGroupings);

private:
    // One answer per FileId of the result under review.
    using Answers = std::vector<Protection>;

    Host m_host;
    Test m_test;
    Answers m_answers;
    // Own thread: the pass runs while the window draws the new result, and
    // asks the disk, which may be slow. A pass still running at exit is
    // abandoned.
    BackgroundTask<ReviewProtection> m_pass{this, WorkerKind::ownThread};
};

} // namespace twinsift
