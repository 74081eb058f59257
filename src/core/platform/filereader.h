#pragma once

#include "result.h"

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

    // Fails with the errno of the open. Only regular files open.
    Result<void> open(const std::string &path);
    // The same for name inside the folder open as dirFd, which spares the
    // kernel a walk of the whole path for every file of a folder.
    Result<void> openAt(int dirFd, const char *name);
    // Reads up to capacity bytes: the count read, 0 at the end. Interrupted
    // reads are retried.
    Result<std::size_t> read(void *buffer, std::size_t capacity);
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
