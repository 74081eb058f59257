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

// A scan that was stopped. It is an outcome of its own, never an error.
struct ScanCancelled {
    friend bool operator==(ScanCancelled, ScanCancelled) = default;
};

using ScanOutcome = std::variant<DuplicateScanResult, DuplicateScanError, ScanCancelled>;

// The scan engine: synchronous, stateless between calls, meant to run on a
// worker thread.
namespace DuplicateScanner {

// Called for every report, in order, on the scanning thread; the scan waits
// for it to return before it goes on.
using ProgressCallback = std::function<void(const DuplicateScanProgress &)>;

// Walks folder, hashes every file whose size occurs at least twice and
// returns the verified duplicate groups. Per-file problems are counted in
// skippedFiles; only an unusable folder fails, and a stop request ends the
// scan with ScanCancelled and no partial result.
ScanOutcome scan(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                 const ProgressCallback &progress, std::stop_token stop = {});

// SHA-256 of one file as 64 lower-case hex characters.
HashOutcome sha256(const std::string &path, std::stop_token stop = {});

} // namespace DuplicateScanner

} // namespace twinsift
