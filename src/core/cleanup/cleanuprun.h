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

// Re-validates every set that holds a selected file against the disk, and only
// when all of them pass moves the selected files to the Trash, one set at a
// time. Blocking; call on a worker thread. selected = the marked, unprotected
// files in path order.
//
// Every file is reached from the scan's root by descriptor, never through a
// link below the root, so the file checked is the file moved, and the Trash
// records where the kernel says it was. Right before each move the file must
// still be the entry validated (same inode and size, a regular file), or it
// is listed as changedAfterScan; isProtected (an empty one stands for
// CleanupProtection::isProtected) is asked about it, and the set's kept copy
// must be unchanged (same inode, size and change time), or it stays and is
// listed as keptCopyGone. A kept copy inside a Trash never
// counts.
//
// Each set's files are locked (flock) while its marked files move, and its
// kept copy is read again in full afterwards; if it no longer holds, the
// set's moved files are put back and listed as putBack.
// Runs of one user never overlap: a run also waits for an exclusive lock on
// a file in the user's runtime folder, and validates only once it holds it.
CleanupOutcome run(const DuplicateScanResult &result, const std::vector<DuplicateFile> &selected,
                   const std::function<bool(const std::string &path)> &isProtected);

} // namespace CleanupRun

} // namespace twinsift
