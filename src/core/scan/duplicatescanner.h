#pragma once

#include "duplicatescanerror.h"
#include "duplicatescanprogress.h"
#include "duplicatescanresult.h"
#include "sha256hasher.h"

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <variant>

namespace twinsift {

class DigestCache;
class DigestMemory;

// A scan that was stopped. It is an outcome of its own, never an error.
struct ScanCancelled {
    friend bool operator==(ScanCancelled, ScanCancelled) = default;
};

using ScanOutcome = std::variant<DuplicateScanResult, DuplicateScanError, ScanCancelled>;

// How a scan reads the files it hashes. Whatever the choice, the result and
// the reports are the same.
struct HashingOptions {
    unsigned workers = 0; // 0: one per core, at most 8
    // Reads every file as on a spinning disk: one at a time, in walk order,
    // once the walk is over.
    bool oneFileAtATime = false;
    // Digests kept on disk by earlier runs, looked up after the memory's
    // and replaced by this scan's; only with a memory.
    const DigestCache *digestCache = nullptr;
};

// The scan engine: synchronous, stateless between calls, meant to run on a
// worker thread.
namespace DuplicateScanner {

// Called for every report, in order, on the scanning thread; the scan waits
// for it to return before it goes on. Never called from two threads at once.
using ProgressCallback = std::function<void(const DuplicateScanProgress &)>;

// Walks folder, hashes every file whose size occurs at least twice and
// returns the verified duplicate groups. Per-file problems are counted in
// skippedFiles; only an unusable folder fails, and a stop request ends the
// scan with ScanCancelled and no partial result. Hard links are read once
// for all their names. A file larger than 32 KiB is first checked by its
// first and last 4 KiB: one whose ends no other file of its size shares is
// verified without reading it whole, and reports as one verified file;
// every file of a set is proven by its full SHA-256. Digests of unchanged
// files come from the process's DigestMemory, or from the digests kept on
// disk (DigestCache) by scans of this folder in earlier runs, and are not
// read again; each still counts as hashed and reports. A rescan that meets
// the very same paths takes the order by path kept from the last scan.
// Files are read and digested on several workers, starting while the walk
// still runs; the reports of files verified early wait for the
// start-of-hashing report, and all reports come from the calling thread.
ScanOutcome scan(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                 const ProgressCallback &progress, std::stop_token stop = {});

// The same with a memory of one's own, or none when memory is null.
ScanOutcome scanRemembering(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                            const ProgressCallback &progress, std::stop_token stop,
                            DigestMemory *memory, const HashingOptions &options = {});

} // namespace DuplicateScanner

} // namespace twinsift
