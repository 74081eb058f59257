#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>

namespace twinsift {

// Reads one file front to back in caller-sized chunks. The descriptor is
// closed on destruction, whatever way the caller leaves; a failing close is
// not reported because nothing was written.
class FileReader {
public:
    FileReader() = default;
    FileReader(const FileReader &) = delete;
    FileReader &operator=(const FileReader &) = delete;
    ~FileReader() { close(); }

    // Returns 0, or the errno of the failed open. Only regular files open.
    int open(const std::string &path);
    // The same for name inside the folder open as dirFd, which spares the
    // kernel a walk of the whole path for every file of a folder.
    int openAt(int dirFd, const char *name);
    // Reads up to capacity bytes: the count read, 0 at the end, -1 with
    // *error set on failure. Interrupted reads are retried.
    ssize_t read(void *buffer, std::size_t capacity, int *error);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    // The inode that the open file is, as the open saw it.
    dev_t device() const { return m_device; }
    ino_t inode() const { return m_inode; }

private:
    int m_fd = -1;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

} // namespace twinsift
