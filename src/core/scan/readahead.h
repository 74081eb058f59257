#pragma once

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

// Reads a list of files front to back on a second thread, in 1 MiB chunks,
// a few chunks ahead of the caller. The caller still digests one file at a
// time, in order; only the waiting on the kernel moves to the other core,
// which roughly halves the time a tree of small files takes.
//
// For each file the caller receives its chunks in order, then one chunk of
// length 0 (the end), or one chunk of length -1 with the errno (the file
// could not be opened or read). Memory is a fixed ring of chunks, whatever
// the size or number of files.
class ReadAhead {
public:
    static constexpr std::size_t chunkSize = 1024 * 1024;
    static constexpr std::size_t ringSize = 4;

    struct Chunk {
        std::size_t file = 0;
        ssize_t length = 0;
        int error = 0;
        const unsigned char *data = nullptr;
    };

    // pathOf(k) gives the path bytes of file k; it must stay valid while
    // this object lives. Stopping either token ends the reading before the
    // next read.
    ReadAhead(std::size_t fileCount, std::function<const std::string &(std::size_t)> pathOf,
              std::stop_token stop);
    ~ReadAhead();
    ReadAhead(const ReadAhead &) = delete;
    ReadAhead &operator=(const ReadAhead &) = delete;

    // The next chunk in order; false once a stop was requested. The chunk's
    // data stays valid until release().
    bool next(Chunk &chunk);
    void release();

private:
    void readAll(std::size_t fileCount);
    bool waitForFreeSlot();
    void publish(Chunk chunk);
    void requestStop();

    std::function<const std::string &(std::size_t)> m_pathOf;
    std::vector<std::unique_ptr<unsigned char[]>> m_buffers;
    std::vector<Chunk> m_ring;

    std::mutex m_mutex;
    std::condition_variable m_readable;
    std::condition_variable m_writable;
    std::uint64_t m_published = 0;
    std::uint64_t m_released = 0;
    bool m_stopping = false;

    std::stop_callback<std::function<void()>> m_onStop;
    std::thread m_reader;
};

} // namespace twinsift
