#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace twinsift {

// Reads a list of files front to back on a second thread, a few buffers
// ahead of the caller. The caller still digests one file at a time, in
// order; only the waiting on the kernel moves to the other core.
//
// The caller receives each file as pieces in order, the last one marked; a
// file that could not be opened or read ends with a piece carrying the
// errno. Small files are packed together into one 1 MiB buffer, so handing
// them over costs one wake-up per buffer rather than per file. Memory is a
// fixed ring of buffers, whatever the size or number of files.
class ReadAhead {
public:
    static constexpr std::size_t bufferSize = 1024 * 1024;
    static constexpr std::size_t ringSize = 4;

    struct Piece {
        std::size_t file = 0;
        const unsigned char *data = nullptr;
        std::size_t length = 0;
        bool last = false;
        int error = 0; // errno when the file could not be read; then last
        // The inode that was read, which may differ from the one a path
        // named when the list was made.
        dev_t device = 0;
        ino_t inode = 0;
    };

    // pathOf(k) gives the path bytes of file k; it must stay valid while
    // this object lives. A stop request ends the reading before its next
    // read and makes next() return false.
    ReadAhead(std::size_t fileCount, std::function<const std::string &(std::size_t)> pathOf,
              std::stop_token stop);
    ~ReadAhead();
    ReadAhead(const ReadAhead &) = delete;
    ReadAhead &operator=(const ReadAhead &) = delete;

    // The next piece in order; its data stays valid until the next call.
    // False once a stop was requested.
    bool next(Piece &piece);

    // Files that readers of this process have opened so far. Tests read it
    // to prove that a scan read no content.
    static std::uint64_t filesOpened();

private:
    struct Slot {
        std::unique_ptr<unsigned char[]> buffer;
        std::vector<Piece> pieces;
    };

    void readAll(std::size_t fileCount);
    Slot *acquireSlot();
    void publish();
    void releaseSlot();
    void requestStop();

    std::function<const std::string &(std::size_t)> m_pathOf;
    std::vector<Slot> m_ring;

    std::mutex m_mutex;
    std::condition_variable m_readable;
    std::condition_variable m_writable;
    std::uint64_t m_published = 0; // slots filled by the reader
    std::uint64_t m_released = 0;  // slots the caller is done with
    std::atomic<bool> m_stopping = false;

    // The caller's position: the slot it reads and the piece within it.
    std::size_t m_nextPiece = 0;
    bool m_holdingSlot = false;

    std::stop_callback<std::function<void()>> m_onStop;
    std::thread m_reader;
};

} // namespace twinsift
