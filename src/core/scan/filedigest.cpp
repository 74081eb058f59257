#include "filedigest.h"

#include "platform/filereader.h"

#include <algorithm>
#include <cerrno>

namespace twinsift {

FileDigest digestWhole(FileReader &reader, std::uint64_t size, unsigned char *buffer,
                       std::size_t chunkSize, Sha256Hasher &hasher, bool tryCached,
                       const std::atomic<bool> &stop) {
    FileDigest out;
    const auto stopped = [&] {
        out.status = HashStatus::stopped;
        return out;
    };
    if (!hasher.begin()) {
        out.status = HashStatus::readFailed;
        return out;
    }
    std::uint64_t total = 0;
    for (;;) {
        if (stop.load(std::memory_order_relaxed))
            return stopped();
        // One byte more than the walk's size is asked for: a read that
        // stops short right at that size found the end of the file, which
        // spares the read that would return nothing.
        const auto want = static_cast<std::size_t>(
            std::min<std::uint64_t>(chunkSize, size - std::min(total, size) + 1));
        auto read = tryCached ? reader.readCached(buffer, want) : reader.read(buffer, want);
        if (tryCached) {
            tryCached = false;
            // Some or all of the first chunk is not in memory yet: the rest
            // is fetched while the cached part is digested.
            if (!read && read.error() == EAGAIN) {
                out.cached = false;
                reader.prefetch(std::min(size, prefetchBytes));
                read = reader.read(buffer, want);
            } else if (read && *read < want && total + *read < size) {
                out.cached = false;
                reader.prefetch(std::min(size, prefetchBytes));
            }
        }
        if (!read) {
            out.status = HashStatus::readFailed;
            return out;
        }
        const std::size_t n = *read;
        if (n == 0)
            break;
        total += n;
        // A file that grew or shrank since the walk holds bytes other than
        // the size it is grouped by: its digest proves nothing.
        if (total > size) {
            out.status = HashStatus::sizeChanged;
            return out;
        }
        hasher.update(buffer, n);
        if (stop.load(std::memory_order_relaxed))
            return stopped();
        if (n < want && total == size)
            break;
    }
    if (total != size)
        out.status = HashStatus::sizeChanged;
    else
        out.status = hasher.finish(out.digest) ? HashStatus::digested : HashStatus::readFailed;
    return out;
}

FileDigest digestEdges(FileReader &reader, std::uint64_t size, std::uint64_t edgeBytes,
                       unsigned char *buffer, Sha256Hasher &hasher, bool tryCached) {
    FileDigest out;
    // A file that is no longer the size the walk saw changed since.
    if (reader.size() != size || size < 2 * edgeBytes) {
        out.status = HashStatus::sizeChanged;
        return out;
    }
    const auto edge = static_cast<std::size_t>(edgeBytes);
    // Whether the disk has to be waited for, as digestWhole finds out.
    if (tryCached) {
        const auto head = reader.readCached(buffer, edge);
        out.cached = head && *head == edge;
    }
    out.status = HashStatus::readFailed;
    const auto head = reader.readAt(buffer, edge, 0);
    if (!head || *head != edge)
        return out;
    const auto tail = reader.readAt(buffer + edge, edge, size - edge);
    if (tail && *tail == edge && hasher.begin()) {
        hasher.update(buffer, 2 * edge);
        if (hasher.finish(out.digest))
            out.status = HashStatus::digested;
    }
    return out;
}

} // namespace twinsift
