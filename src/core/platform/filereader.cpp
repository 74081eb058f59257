#include "filereader.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twinsift {

Result<void> FileReader::open(const std::string &path) {
    return openAt(AT_FDCWD, path.c_str());
}

Result<void> FileReader::openAt(int dirFd, const char *name) {
    close();
    // O_NOFOLLOW: the scan never reads through a symbolic link, even one
    // that replaced a regular file after the walk saw it.
    // O_NONBLOCK keeps a FIFO that replaced a file from hanging the open.
    m_fd = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0)
        return Failed{errno};
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
    return {};
}

Result<std::size_t> FileReader::read(void *buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, capacity);
        if (n >= 0)
            return static_cast<std::size_t>(n);
        if (errno != EINTR)
            return Failed{errno};
    }
}

void FileReader::close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace twinsift
