#include "filereader.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace twinsift {
namespace {

struct ReadFault {
    std::atomic<bool> armed = false;
    std::mutex mutex;
    std::string name;
    std::uint64_t offset = 0;
    int error = 0;
};

ReadFault &readFault() {
    static ReadFault fault;
    return fault;
}

} // namespace

FileReader &FileReader::operator=(FileReader &&other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.m_fd;
        m_device = other.m_device;
        m_inode = other.m_inode;
        m_size = other.m_size;
        m_modified = other.m_modified;
        m_changed = other.m_changed;
        m_offset = other.m_offset;
        m_failing = other.m_failing;
        other.m_fd = -1;
    }
    return *this;
}

Result<void> FileReader::open(const std::string &path) {
    return openAt(AT_FDCWD, path.c_str());
}

Result<void> FileReader::openAt(int dirFd, const char *name, bool identify) {
    close();
    // O_NOFOLLOW: the scan never reads through a symbolic link, even one
    // that replaced a regular file after the walk saw it.
    // O_NONBLOCK keeps a FIFO that replaced a file from hanging the open.
    // O_NOATIME: reading a file to compare it is no use of it, and leaves
    // its access time as it was, without a write of its inode; only the
    // file's owner may ask for that, so anyone else opens it plainly.
    constexpr int flags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK;
    m_fd = ::openat(dirFd, name, flags | O_NOATIME);
    if (m_fd < 0 && errno == EPERM)
        m_fd = ::openat(dirFd, name, flags);
    if (m_fd < 0)
        return Failed{errno};
    m_offset = 0;
    m_device = 0;
    m_inode = 0;
    m_size = 0;
    m_modified = m_changed = 0;
    if (auto &fault = readFault(); fault.armed.load(std::memory_order_relaxed)) {
        std::lock_guard lock(fault.mutex);
        const char *slash = std::strrchr(name, '/');
        m_failing = fault.name == (slash ? slash + 1 : name);
    }
    if (!identify)
        return {};
    struct stat st;
    if (::fstat(m_fd, &st) != 0) {
        const int error = errno;
        close();
        return Failed{error};
    }
    if (!S_ISREG(st.st_mode)) {
        const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        close();
        return Failed{error};
    }
    m_device = st.st_dev;
    m_inode = st.st_ino;
    m_size = static_cast<std::uint64_t>(st.st_size);
    constexpr std::int64_t billion = 1'000'000'000;
    m_modified = static_cast<std::int64_t>(st.st_mtim.tv_sec) * billion + st.st_mtim.tv_nsec;
    m_changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * billion + st.st_ctim.tv_nsec;
    return {};
}

void FileReader::prefetch(std::uint64_t bytes, std::uint64_t offset) {
    if (m_fd >= 0 && bytes > 0)
        ::posix_fadvise(m_fd, static_cast<off_t>(offset), static_cast<off_t>(bytes),
                        POSIX_FADV_WILLNEED);
}

Result<std::size_t> FileReader::read(void *buffer, std::size_t capacity) {
    return readSome(buffer, capacity, false);
}

Result<std::size_t> FileReader::readCached(void *buffer, std::size_t capacity) {
    return readSome(buffer, capacity, true);
}

Result<std::size_t> FileReader::readSome(void *buffer, std::size_t capacity, bool cachedOnly) {
    if (m_failing) {
        auto &fault = readFault();
        std::lock_guard lock(fault.mutex);
        if (m_offset + capacity > fault.offset) {
            if (m_offset >= fault.offset)
                return Failed{fault.error};
            capacity = static_cast<std::size_t>(fault.offset - m_offset);
        }
    }
    for (;;) {
        ssize_t n = -1;
        if (cachedOnly) {
            iovec part{buffer, capacity};
            n = ::preadv2(m_fd, &part, 1, -1, RWF_NOWAIT);
            // A kernel or filesystem that cannot read without waiting.
            if (n < 0 && (errno == EOPNOTSUPP || errno == EINVAL || errno == ENOSYS)) {
                cachedOnly = false;
                continue;
            }
        } else {
            n = ::read(m_fd, buffer, capacity);
        }
        if (n >= 0) {
            m_offset += static_cast<std::uint64_t>(n);
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR)
            return Failed{errno};
    }
}

Result<std::size_t> FileReader::readAt(void *buffer, std::size_t capacity, std::uint64_t offset) {
    if (m_failing) {
        auto &fault = readFault();
        std::lock_guard lock(fault.mutex);
        if (offset + capacity > fault.offset)
            return Failed{fault.error};
    }
    std::size_t total = 0;
    auto *bytes = static_cast<unsigned char *>(buffer);
    while (total < capacity) {
        const ssize_t n =
            ::pread(m_fd, bytes + total, capacity - total, static_cast<off_t>(offset + total));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Failed{errno};
        if (n == 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    return total;
}

void FileReader::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_failing = false;
}

void FileReader::failReadsOf(const std::string &name, std::uint64_t offset, int error) {
    auto &fault = readFault();
    std::lock_guard lock(fault.mutex);
    fault.name = name;
    fault.offset = offset;
    fault.error = error;
    fault.armed = !name.empty();
}

} // namespace twinsift
