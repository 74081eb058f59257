#pragma once

#include "cleanupreport.h"
#include "duplicatefile.h"
#include "duplicatescanresult.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace twinsift {

namespace CleanupRun {

// Stop messages: the run ends before anything has moved.
inline constexpr const char *noKeepCopyMessage =
    "Cleanup stopped for safety. No verified KEEP copy remains in one duplicate set. Please "
    "Rescan.";
inline constexpr const char *notRevalidatedMessage =
    "Cleanup stopped because a selected file could not be revalidated. Please Rescan before "
    "cleaning.";
inline constexpr const char *changedMessage =
    "Cleanup stopped because a selected file changed after the scan. Please Rescan before "
    "cleaning.";
inline constexpr const char *noUnchangedKeepCopyMessage =
    "Cleanup stopped because no unchanged verified KEEP copy remains in one duplicate set. Please "
    "Rescan before cleaning.";
// Failure messages: the file is listed in the report and the run goes on.
// Each says what became of that one file; the run itself did not stop.
inline constexpr const char *protectedMessage =
    "Protected Location — Review Only. Ambrivo did not move this file.";
// It is no longer the file validated when its turn to move came.
inline constexpr const char *changedNotMovedMessage = "Not moved: it changed after the scan.";
// Its set's kept copy changed or went away before its turn to move came.
inline constexpr const char *keptCopyGoneNotMovedMessage =
    "Not moved: the copy kept in its set changed or is gone.";
// It was moved, then put back because its set's kept copy did not hold.
inline constexpr const char *putBackMessage =
    "Not moved: the copy kept in its set changed during the cleanup, so it was put back.";
// As above, but putting it back failed.
inline constexpr const char *stillInTrashMessage =
    "Moved, but the copy kept in its set changed during the cleanup. It is still in the Trash:";
// The run could not go on; this file was not moved.
inline constexpr const char *internalErrorMessage =
    "Not moved: the cleanup stopped because of an internal error.";

// Re-validates every set that holds a selected file against the disk, and only
// when all of them pass moves the selected files to the Trash, one set at a
// time. Blocking; call on a worker thread. selected = the marked, unprotected
// files in path order.
//
// Every file is reached from the scan's root by descriptor, never through a
// link below the root, so the file checked is the file moved, and the Trash
// records where the kernel says it was. Right before each move the file must
// still be the entry validated (same inode and size, a regular file), or it
// is listed with changedNotMovedMessage; isProtected (an empty one stands for
// CleanupProtection::isProtected) is asked about it, and the set's kept copy
// must be unchanged (same inode, size and change time), or it stays and is
// listed with keptCopyGoneNotMovedMessage. A kept copy inside a Trash never
// counts.
//
// Each set's files are locked (flock) while its marked files move, and its
// kept copy is read again in full afterwards; if it no longer holds, the
// set's moved files are put back and listed with putBackMessage.
// Runs of one user never overlap: a run also waits for an exclusive lock on
// a file in the user's runtime folder, and validates only once it holds it.
CleanupOutcome run(const DuplicateScanResult &result, const std::vector<DuplicateFile> &selected,
                   const std::function<bool(const std::string &path)> &isProtected);

} // namespace CleanupRun

} // namespace twinsift
