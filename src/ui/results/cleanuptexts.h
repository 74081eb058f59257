#pragma once

#include "cleanupreport.h"
#include "resultreview.h"
#include "trash.h"

#include <QCoreApplication>
#include <QString>

namespace twinsift {

// Every word the cleanup, its alerts and putting files back show, chosen
// from the values the run and the Trash report.
class CleanupTexts {
    Q_DECLARE_TR_FUNCTIONS(CleanupTexts)

public:
    // The alert above the table: a guard that held a mark or a cleanup back,
    // or a run that stopped before anything moved.
    static QString alert(const ResultReview::GuardAlert &alert);
    static QString stop(CleanupStopReason reason);
    static QString protectedLocation();

    // What became of one file of a report; ends with the Trash's own reason
    // where there is one.
    static QString failure(const CleanupFailure &failure);
    static QString trashFailure(const Trash::Failure &failure);
};

} // namespace twinsift
