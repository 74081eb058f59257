#include "reviewprotection.h"

#include "cleanupprotection.h"

#include <QLoggingCategory>

#include <exception>
#include <sys/resource.h>
#include <unistd.h>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcReview, "twinsift.results", QtInfoMsg)
} // namespace

ReviewProtection::ReviewProtection(Host host, QObject *parent)
    : QObject(parent), m_host(std::move(host)) {}

void ReviewProtection::carryOver(const ResultReview &current, const DuplicateScanResult *next) {
    Answers carried;
    if (next && !m_answers.empty()) {
        carried.reserve(static_cast<std::size_t>(next->duplicateFileCount()));
        for (const auto &group : next->groups)
            for (const auto &file : group.files) {
                const auto before = current.fileIdOf(file.url);
                carried.push_back(before ? of(*before) : Protection::unknown);
            }
    }
    m_answers = std::move(carried);
}

void ReviewProtection::check(std::shared_ptr<const DuplicateScanResult> result,
                             bool withGroupings) {
    if (!result) {
        m_pass.cancel();
        return;
    }
    auto work = [result, test = m_test, withGroupings](const auto &reply) mutable {
        // This runs while the window builds and draws the new result, and
        // on a busy machine it would take the time of that first frame. It
        // is background work: a thread of its own, at a lower priority.
        (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
        // The groupings first: they fill the category bar's counts, while
        // the protection answers may wait on a slow disk.
        if (withGroupings) {
            try {
                auto groupings = ResultReview::derive(*result);
                reply([groupings = std::move(groupings)](ReviewProtection *self) mutable {
                    self->m_host.groupings(std::move(groupings));
                });
            } catch (const std::exception &error) {
                // The review works them out itself when they are first shown.
                qCWarning(lcReview) << "grouping the result failed:" << error.what();
            }
        }
        // One answer per file in FileId order: set after set, copy after copy.
        Answers answers;
        try {
            // The protected places as they stand at this pass, asked here
            // rather than on the main thread: they are on the disk too.
            if (!test)
                test = [places = CleanupProtection::Places()](const std::string &path) {
                    return places.cover(path);
                };
            answers.reserve(static_cast<std::size_t>(result->duplicateFileCount()));
            for (const auto &group : result->groups)
                for (const auto &file : group.files)
                    answers.push_back(test(file.url) ? Protection::protectedPlace
                                                     : Protection::free);
        } catch (const std::exception &error) {
            // Rows without an answer keep offering no toggle; the cleanup run
            // asks again before every move.
            qCWarning(lcReview) << "protection check failed:" << error.what();
        }
        reply([answers = std::move(answers)](ReviewProtection *self) mutable {
            self->m_answers = std::move(answers);
            self->m_host.answered();
        });
    };
    if (!m_pass.start(std::move(work)))
        // Without the answers rows offer no toggle and the review-only
        // groupings are worked out when first shown; nothing is lost.
        qCWarning(lcReview) << "no thread for reviewing the result";
}

} // namespace twinsift
