#include "fileattributes.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

namespace twinsift {
namespace {

FileAttributes fromStat(const struct stat &st) {
    FileAttributes a;
    a.isRegularFile = S_ISREG(st.st_mode);
    a.isSymbolicLink = S_ISLNK(st.st_mode);
    a.isDirectory = S_ISDIR(st.st_mode);
    if (a.isRegularFile && st.st_size >= 0)
        a.fileSize = static_cast<std::uint64_t>(st.st_size);
    a.device = st.st_dev;
    a.inode = st.st_ino;
    a.linkCount = st.st_nlink;
    a.changeSeconds = st.st_ctim.tv_sec;
    a.changeNanoseconds = st.st_ctim.tv_nsec;
    a.modificationSeconds = st.st_mtim.tv_sec;
    a.modificationNanoseconds = st.st_mtim.tv_nsec;
    return a;
}

} // namespace

std::optional<FileAttributes> FileAttributes::read(const std::string &path, int *error) {
    return readAt(AT_FDCWD, path.c_str(), error);
}

std::optional<FileAttributes> FileAttributes::readAt(int dirFd, const char *name, int *error) {
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (error)
            *error = errno;
        return std::nullopt;
    }
    return fromStat(st);
}

bool fileExists(const std::string &path, bool *isDirectory) {
    struct stat st;
    if (path.empty() || ::stat(path.c_str(), &st) != 0) {
        if (isDirectory)
            *isDirectory = false;
        return false;
    }
    if (isDirectory)
        *isDirectory = S_ISDIR(st.st_mode);
    return true;
}

} // namespace twinsift
