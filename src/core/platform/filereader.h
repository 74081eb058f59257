#pragma once

#include "result.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <sys/types.h>

namespace twinsift {

// Memory for reads, aligned to a page. The kernel copies into a buffer
// that starts 16 bytes past a boundary, where the allocator puts large
// blocks, several times slower on some processors, and that copy costs as
// much as the digest of what it copied.
class ReadBuffer {
public:
    explicit ReadBuffer(std::size_t size)
        : m_data(static_cast<unsigned char *>(::operator new[](size, alignment))) {}
    unsigned char *get() const { return m_data.get(); }

private:
    static constexpr std::align_val_t alignment{4096};
    struct Free {
        void operator()(unsigned char *data) const { ::operator delete[](data, alignment); }
    };
    std::unique_ptr<unsigned char[], Free> m_data;
};

// Reads one file front to back in caller-sized chunks. The descriptor is
// closed on destruction, whatever way the caller leaves; a failing close is
// not reported because nothing was written.
class FileReader {
public:
    FileReader() = default;
    FileReader(const FileReader &) = delete;
    FileReader &operator=(const FileReader &) = delete;
    FileReader(FileReader &&other) noexcept { *this = std::move(other); }
    FileReader &operator=(FileReader &&other) noexcept;
    ~FileReader() { close(); }

    // Fails with the errno of the open. Only regular files open.
    Result<void> open(const std::string &path);
    // The same for name inside the folder open as dirFd, which spares the
    // kernel a walk of the whole path for every file of a folder. Without
    // identify, the open is the only call: device() and inode() stay 0 and
    // nothing refuses a folder or a FIFO that took the name, so the caller
    // must hold the bytes read against the size it expects (a folder fails
    // to read, a FIFO opened this way reads as empty).
    Result<void> openAt(int dirFd, const char *name, bool identify = true);
    // Asks the kernel to start reading the first bytes now, so that several
    // files are on their way from the disk while another is digested.
    void prefetch(std::uint64_t bytes, std::uint64_t offset = 0);
    // Reads up to capacity bytes: the count read, 0 at the end. Interrupted
    // reads are retried.
    Result<std::size_t> read(void *buffer, std::size_t capacity);
    // The same, but only what the page cache holds, never waiting for the
    // disk: fewer bytes than asked when only some are cached, EAGAIN when
    // none are. Where the kernel cannot tell, it reads as read() does.
    Result<std::size_t> readCached(void *buffer, std::size_t capacity);
    // Reads up to capacity bytes from offset, leaving the position alone:
    // the count read, short only at the end of the file.
    Result<std::size_t> readAt(void *buffer, std::size_t capacity, std::uint64_t offset);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    // The inode that the open file is, as the open saw it.
    dev_t device() const { return m_device; }
    ino_t inode() const { return m_inode; }
    // With identify: the size and the times (nanoseconds since the epoch)
    // the open saw.
    std::uint64_t size() const { return m_size; }
    std::int64_t modifiedNanoseconds() const { return m_modified; }
    std::int64_t changedNanoseconds() const { return m_changed; }

    // Makes reads of every file named name fail with error once offset
    // bytes of it were read, so tests reach the failure of a disk that
    // breaks in the middle of a file. An empty name ends it.
    static void failReadsOf(const std::string &name, std::uint64_t offset, int error);

private:
    Result<std::size_t> readSome(void *buffer, std::size_t capacity, bool cachedOnly);

    int m_fd = -1;
    dev_t m_device = 0;
    ino_t m_inode = 0;
    std::uint64_t m_size = 0;
    std::int64_t m_modified = 0, m_changed = 0;
    std::uint64_t m_offset = 0;
    bool m_failing = false;
};

} // namespace twinsift
