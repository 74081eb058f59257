#include "safemove.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace twinsift::safemove {

int renameNoReplace(int fromFolder, const char *from, int toFolder, const char *to) {
    if (::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    if (::linkat(fromFolder, from, toFolder, to, 0) != 0)
        return errno;
    if (::unlinkat(fromFolder, from, 0) != 0) {
        const int error = errno;
        ::unlinkat(toFolder, to, 0);
        return error;
    }
    return 0;
}

int setAside(const std::string &path, const std::string &suffix) {
    for (int copy = 1; copy <= 1000; ++copy) {
        const std::string to =
            path + suffix + (copy == 1 ? std::string() : "-" + std::to_string(copy));
        const int error = renameNoReplace(AT_FDCWD, path.c_str(), AT_FDCWD, to.c_str());
        if (error == 0 || error == ENOENT)
            return 0;
        if (error != EEXIST)
            return error;
    }
    return EEXIST;
}

} // namespace twinsift::safemove
