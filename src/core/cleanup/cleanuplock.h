#pragma once

#include "uniquefd.h"

#include <mutex>

namespace twinsift {

// Cleanups and restores of one user never overlap within this process, nor
// across processes that share a lock folder: two runs with opposite marks on
// one set would otherwise each find the other's marked copy still in place
// and both move theirs. The locks a run takes on the files themselves hold
// between processes that do not share the folder; this one spares them the
// wait, set by set. Blocks until it holds the lock; released on destruction.
class CleanupLock {
public:
    CleanupLock();
    CleanupLock(const CleanupLock &) = delete;
    CleanupLock &operator=(const CleanupLock &) = delete;

private:
    std::lock_guard<std::mutex> m_inProcess;
    UniqueFd m_fd;
};

} // namespace twinsift
