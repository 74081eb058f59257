#pragma once

#include "sha256hasher.h"

#include <atomic>
#include <cstdint>

namespace twinsift {

class FileReader;

// What became of reading one file, as a value: the workers hand it on, and
// the scan counts a file that yields no digest as skipped.
enum class HashStatus {
    digested,
    unopenable,  // could not be opened
    replaced,    // its name leads to another inode, or one written to since its check
    sizeChanged, // holds other than the bytes the walk saw
    readFailed,  // a read failed
    stopped,     // a stop was requested before it was done
};

struct FileDigest {
    HashStatus status = HashStatus::unopenable;
    Sha256Digest digest{};
    // With tryCached: false when the disk had to be waited for.
    bool cached = true;
};

// Digests every byte of the open file, which the walk saw as size bytes.
// With tryCached the first read takes only what the page cache holds, and
// fetches the rest ahead when that was not all. A stop is seen before every
// read and after every digest update, so it costs at most one chunk.
FileDigest digestWhole(FileReader &reader, std::uint64_t size, unsigned char *buffer,
                       std::size_t chunkSize, Sha256Hasher &hasher, bool tryCached,
                       const std::atomic<bool> &stop);

// Digests the first and last edgeBytes of the open file, which must still
// be size bytes long; buffer holds both. With tryCached it first asks for
// what the page cache holds.
FileDigest digestEdges(FileReader &reader, std::uint64_t size, std::uint64_t edgeBytes,
                       unsigned char *buffer, Sha256Hasher &hasher, bool tryCached);

// What the kernel is asked to fetch of a file ahead of its reading; past
// this its own read-ahead follows the reads.
inline constexpr std::uint64_t prefetchBytes = 1024 * 1024;

} // namespace twinsift
