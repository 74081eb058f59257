#pragma once

#include "resultreview.h"

#include <QObject>
#include <QString>

#include <optional>

namespace twinsift {

// The two alerts above the table: why a mark or a cleanup was held back, and
// that a protected file's mark was refused. The review keeps them; this
// words them and tells when they come and go.
class ReviewAlerts : public QObject {
    Q_OBJECT

public:
    explicit ReviewAlerts(const ResultReview &review, QObject *parent = nullptr)
        : QObject(parent), m_review(review) {}

    // Each empty while absent.
    QString cleanupGuardMessage() const;
    bool hasCleanupGuardMessage() const { return m_review.cleanupGuard().has_value(); }
    QString protectedLocationMessage() const;
    bool hasProtectedLocationMessage() const { return m_review.hasProtectedLocationAlert(); }

    struct Snapshot {
        std::optional<ResultReview::GuardAlert> guard;
        bool protectedLocation;
    };
    Snapshot snapshot() const { return {m_review.cleanupGuard(), hasProtectedLocationMessage()}; }
    // Announces each alert that came or went since before.
    void announce(const Snapshot &before);

signals:
    void cleanupGuardMessageChanged();
    void protectedLocationMessageChanged();

private:
    const ResultReview &m_review;
};

} // namespace twinsift
