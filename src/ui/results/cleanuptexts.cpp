#include "cleanuptexts.h"

#include <cstring>

namespace twinsift {

namespace {

// The system's own words for an error number, ending with a full stop, as
// they follow our sentence. A number the system has no words for reads as
// unknown.
QString systemReason(int error) {
    char buffer[256];
    // The GNU strerror_r returns its text, in the buffer or not.
    const char *text = ::strerror_r(error, buffer, sizeof buffer);
    QString out = text ? QString::fromLocal8Bit(text) : CleanupTexts::tr("Unknown error");
    if (!out.isEmpty())
        out += QLatin1Char('.');
    return out;
}

} // namespace

QString CleanupTexts::alert(const ResultReview::GuardAlert &alert) {
    if (const auto *reason = std::get_if<CleanupStopReason>(&alert))
        return stop(*reason);
    switch (std::get<ResultReview::Guard>(alert)) {
    case ResultReview::Guard::keepOneCopy:
        return tr("At least one copy in every exact-duplicate set must remain. Choose a different "
                  "file to keep before selecting this one.");
    case ResultReview::Guard::wholeSetSelected:
        return tr("Cleanup stopped for safety. At least one copy in every exact-duplicate set "
                  "must remain.");
    }
    return {};
}

QString CleanupTexts::stop(CleanupStopReason reason) {
    switch (reason) {
    case CleanupStopReason::noKeepCopy:
        return tr("Cleanup stopped for safety. No verified KEEP copy remains in one duplicate "
                  "set. Please Rescan.");
    case CleanupStopReason::notRevalidated:
        return tr("Cleanup stopped because a selected file could not be revalidated. Please "
                  "Rescan before cleaning.");
    case CleanupStopReason::changedAfterScan:
        return tr("Cleanup stopped because a selected file changed after the scan. Please Rescan "
                  "before cleaning.");
    case CleanupStopReason::noUnchangedKeepCopy:
        return tr("Cleanup stopped because no unchanged verified KEEP copy remains in one "
                  "duplicate set. Please Rescan before cleaning.");
    }
    return {};
}

QString CleanupTexts::protectedLocation() {
    return tr("Exact duplicate found. Ambrivo does not move files from system- or "
              "application-managed locations. Use Open File or Show in Folder to review "
              "manually.");
}

QString CleanupTexts::failure(const CleanupFailure &failure) {
    const QString trash = failure.trash ? trashFailure(*failure.trash) : QString();
    switch (failure.reason) {
    case CleanupFailureReason::protectedLocation:
        return tr("Protected Location \u2014 Review Only. Ambrivo did not move this file.");
    case CleanupFailureReason::changedAfterScan:
        return tr("Not moved: it changed after the scan.");
    case CleanupFailureReason::keptCopyGone:
        return tr("Not moved: the copy kept in its set changed or is gone.");
    case CleanupFailureReason::putBack:
        return tr("Not moved: the copy kept in its set changed during the cleanup, so it was put "
                  "back.");
    case CleanupFailureReason::stillInTrash:
        //: %1 is why it could not be put back.
        return tr("Moved, but the copy kept in its set changed during the cleanup. It is still in "
                  "the Trash: %1")
            .arg(trash);
    case CleanupFailureReason::internalError:
        return tr("Not moved: the cleanup stopped because of an internal error.");
    case CleanupFailureReason::trash:
        return trash;
    }
    return {};
}

QString CleanupTexts::trashFailure(const Trash::Failure &failure) {
    using Trash::Problem;
    const QString why = systemReason(failure.error);
    // Every refusal to move in opens the same way.
    const auto notMoved = [](const QString &reason) {
        //: %1 says why.
        return tr("The file could not be moved to the Trash. %1").arg(reason);
    };
    switch (failure.problem) {
    case Problem::refused:
        return notMoved(why);
    case Problem::systemLocation:
        return notMoved(tr("Files in system locations cannot be moved to the Trash."));
    case Problem::alreadyInTrash:
        return notMoved(tr("It is in the Trash already."));
    case Problem::readOnlyDisk:
        return notMoved(tr("The disk that holds it is read-only."));
    case Problem::noTrashOnDisk:
        return notMoved(tr("There is no Trash on the disk that holds it, and Twinsift never "
                           "copies files to another disk."));
    case Problem::homeTrashUnusable:
        return notMoved(tr("The Trash could not be used: %1").arg(why));
    case Problem::diskTrashUnusable:
        return notMoved(tr("Its disk's Trash could not be used: %1").arg(why));
    case Problem::infoNotWritten:
        return notMoved(tr("Its Trash information could not be written: %1").arg(why));
    case Problem::noFreeName:
        return notMoved(tr("No free name was found in the Trash."));
    case Problem::changed:
        return tr("It changed while it was being moved.");
    case Problem::changedAndReplaced:
        return tr("It changed while it was being moved. What took its place is in the Trash now.");
    case Problem::goneFromTrash:
        return tr("It is no longer in the Trash.");
    case Problem::changedInTrash:
        return tr("It changed in the Trash.");
    case Problem::nameTaken:
        return tr("Its name is taken again.");
    case Problem::notPutBack:
        return tr("It could not be put back. %1").arg(why);
    case Problem::folderGone:
        return tr("Its folder is no longer there. %1").arg(why);
    }
    return {};
}

} // namespace twinsift
