#pragma once

#include "trash.h"

#include <cstdint>
#include <string>
#include <vector>

namespace twinsift {

// One file a restore left in the Trash, and why.
struct RestoreFailure {
    Trash::Entry entry;
    Trash::Failure failure;
};

// What a restore did.
struct RestoreReport {
    std::vector<Trash::Entry> restored; // in the order they went back
    std::uint64_t restoredBytes = 0;
    std::vector<RestoreFailure> failures;
};

namespace CleanupRestore {

// Puts the files of a cleanup back where they were, one at a time: only the
// very file the cleanup moved (same device, inode, size and modification
// time), only where its name is free, never by a copy or over anything.
// Folders removed since are made again. Blocking; call on a worker thread.
// Never runs at the same time as a cleanup of this user.
RestoreReport run(const std::vector<Trash::Entry> &entries);

// The entries whose file the Trash still holds as it went there.
std::vector<Trash::Entry> stillInTrash(const std::vector<Trash::Entry> &entries);

} // namespace CleanupRestore

} // namespace twinsift
