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

Result<FileAttributes> FileAttributes::read(const std::string &path) {
    return readAt(AT_FDCWD, path.c_str());
}

Result<FileAttributes> FileAttributes::readAt(int dirFd, const char *name) {
    struct stat st;
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return Failed{errno};
    return fromStat(st);
}

Result<FileAttributes> FileAttributes::readFollowingLinks(const std::string &path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return Failed{errno};
    return fromStat(st);
}

} // namespace twinsift
