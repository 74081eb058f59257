#include "reviewalerts.h"

#include "cleanuptexts.h"

namespace twinsift {

QString ReviewAlerts::cleanupGuardMessage() const {
    const auto &guard = m_review.cleanupGuard();
    return guard ? CleanupTexts::alert(*guard) : QString();
}

QString ReviewAlerts::protectedLocationMessage() const {
    return hasProtectedLocationMessage() ? CleanupTexts::protectedLocation() : QString();
}

void ReviewAlerts::announce(const Snapshot &before) {
    if (before.guard != m_review.cleanupGuard())
        emit cleanupGuardMessageChanged();
    if (before.protectedLocation != hasProtectedLocationMessage())
        emit protectedLocationMessageChanged();
}

} // namespace twinsift
