#include "folderdescriptors.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace twinsift::folders {

namespace {

constexpr int folderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

} // namespace

Result<UniqueFd> openBelow(int base, std::string_view relative, bool makeMissing) {
    UniqueFd current(::openat(base, ".", folderFlags));
    if (!current.valid())
        return Failed{errno};
    std::string name;
    while (!relative.empty()) {
        const auto slash = relative.find('/');
        const std::string_view part = relative.substr(0, slash);
        relative =
            slash == std::string_view::npos ? std::string_view() : relative.substr(slash + 1);
        if (part.empty() || part == ".")
            continue;
        // Climbing would leave the tree the caller checked.
        if (part == "..")
            return Failed{EINVAL};
        name.assign(part);
        UniqueFd next(::openat(current.get(), name.c_str(), folderFlags));
        if (!next.valid() && errno == ENOENT && makeMissing) {
            if (::mkdirat(current.get(), name.c_str(), 0777) != 0 && errno != EEXIST)
                return Failed{errno};
            next.reset(::openat(current.get(), name.c_str(), folderFlags));
        }
        if (!next.valid())
            return Failed{errno};
        current = std::move(next);
    }
    return current;
}

Result<UniqueFd> openAbsolute(std::string_view path, bool makeMissing) {
    if (path.empty() || path.front() != '/')
        return Failed{EINVAL};
    const UniqueFd root(::open("/", folderFlags));
    if (!root.valid())
        return Failed{errno};
    return openBelow(root.get(), path.substr(1), makeMissing);
}

Result<std::string> pathOf(int fd) {
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    std::string buffer(PATH_MAX, '\0');
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return Failed{errno};
        if (static_cast<std::size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(n));
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    // A folder removed while open still reads back as a path, which now names
    // nothing, or something else.
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return Failed{errno};
    if (buffer.empty() || buffer.front() != '/' || st.st_nlink == 0)
        return Failed{ENOENT};
    return buffer;
}

Split split(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {std::string_view(), path};
    return {slash == 0 ? path.substr(0, 1) : path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace twinsift::folders
