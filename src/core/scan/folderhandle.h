#pragma once

#include "platform/filereader.h"

#include <string>
#include <string_view>

namespace twinsift {

// The folder of the files being opened, kept open while its files follow
// one another, so the kernel resolves each folder once instead of every
// file's path. It is opened at the second file in a row from one folder:
// files from folders that alternate (an original and its copy elsewhere)
// are opened from the scan's root instead, which costs less than opening
// and closing their folders. When a folder cannot be opened the file is
// opened by its path, so the file's own open reports the real error.
class FolderHandle {
public:
    FolderHandle(int rootFd, std::string_view root) : m_rootFd(rootFd), m_root(root) {}
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;
    ~FolderHandle() { close(); }

    // Opens path for reading: from its folder when that is open, from the
    // root when it lies below it, else by its whole path.
    Result<void> openFile(FileReader &reader, const std::string &path, bool identify);

private:
    bool below(std::string_view path) const;
    void close();

    const int m_rootFd;
    const std::string_view m_root; // with its closing "/"
    std::string m_path;            // the folder open as m_fd
    std::string m_previous;        // the folder of the file opened last
    int m_fd = -1;
};

} // namespace twinsift
