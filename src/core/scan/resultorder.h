#pragma once

#include "digestcache.h"
#include "digestgroups.h"
#include "duplicatescanresult.h"
#include "walkedfiles.h"

#include <vector>

namespace twinsift {

class DigestMemory;

// Puts every list of a result in its final order: files by path, groups by
// the bytes they free, then by their number of files. The walked files are
// handed over to the result. The memory, when there is one, may hold the
// order of the same paths from the last scan, and keeps this one for the
// next; so does kept, for the disk, when given.
DuplicateScanResult orderResult(WalkedFiles &files, std::vector<DigestGroup> groups,
                                DigestMemory *memory, DigestCache::Kept *kept);

} // namespace twinsift
