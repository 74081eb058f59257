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

// Stop messages: the run ends before anything has moved. changedMessage also
// lists a marked file that changed between validation and its move, and
// noUnchangedKeepCopyMessage one whose set lost its verified kept copy then.
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
inline constexpr const char *protectedMessage =
    "Protected Location — Review Only. Ambrivo did not move this file.";

// Re-validates every set that holds a selected file against the disk, and only
// when all of them pass moves the selected files to the Trash one at a time.
// Blocking; call on a worker thread. selected = the marked, unprotected files
// in path order; they are moved in that order. isProtected (an empty one
// stands for CleanupProtection::isProtected) is consulted right before each
// move, and so is the file's identity: a marked file that is no
// longer the entry validated moments before (another inode, a symbolic link,
// another size) is left alone and listed with changedMessage. The kept copy
// that let its set pass is checked then too (same inode, size and change
// time, still a regular file); if it is not, the marked file stays and is
// listed with noUnchangedKeepCopyMessage.
// Runs never overlap, in this process or in others of the same user: a run
// waits for an exclusive lock on a file in $XDG_RUNTIME_DIR (or else in the
// history folder) and validates only once it holds it.
CleanupOutcome run(const DuplicateScanResult &result, const std::vector<DuplicateFile> &selected,
                   const std::function<bool(const std::string &path)> &isProtected);

} // namespace CleanupRun

} // namespace twinsift
