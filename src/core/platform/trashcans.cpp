#include "trashcans.h"

#include "folderdescriptors.h"
#include "paths.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace twinsift::Trash::detail {

namespace {

// The mount a folder belongs to, where the kernel can tell; else its device.
std::uint64_t mountOf(int fd, const struct stat &st) {
#ifdef STATX_MNT_ID
    struct statx sx;
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_MNT_ID, &sx) == 0 && (sx.stx_mask & STATX_MNT_ID))
        return sx.stx_mnt_id;
#else
    (void)fd;
#endif
    return static_cast<std::uint64_t>(st.st_dev);
}

// The folder at the top of the mount that holds the folder open as fd.
Result<UniqueFd> mountTop(int fd) {
    UniqueFd current(::openat(fd, ".", folderFlags));
    if (!current.valid())
        return Failed{errno};
    struct stat st;
    if (::fstat(current.get(), &st) != 0)
        return Failed{errno};
    const std::uint64_t mount = mountOf(current.get(), st);
    for (;;) {
        UniqueFd up(::openat(current.get(), "..", folderFlags));
        if (!up.valid())
            return Failed{errno};
        struct stat upSt;
        if (::fstat(up.get(), &upSt) != 0)
            return Failed{errno};
        const bool atRoot = upSt.st_dev == st.st_dev && upSt.st_ino == st.st_ino;
        if (atRoot || mountOf(up.get(), upSt) != mount)
            return current;
        current = std::move(up);
        st = upSt;
    }
}

// Opens or makes name inside parent as a folder of ours: a real folder, not a
// link, owned by this user.
Result<UniqueFd> ownFolder(int parent, const char *name) {
    UniqueFd fd(::openat(parent, name, folderFlags));
    if (!fd.valid() && errno == ENOENT) {
        if (::mkdirat(parent, name, 0700) != 0 && errno != EEXIST)
            return Failed{errno};
        fd.reset(::openat(parent, name, folderFlags));
    }
    if (!fd.valid())
        return Failed{errno};
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return Failed{errno};
    if (st.st_uid != ::getuid())
        return Failed{EPERM};
    return fd;
}

Result<Can> openCan(int base, const std::string &path, const char *name, std::string top) {
    Can can;
    can.path = path;
    can.top = std::move(top);
    auto folder = ownFolder(base, name);
    if (!folder)
        return Failed{folder.error()};
    can.folder = std::move(*folder);
    // Where the kernel says it is: a put-back reaches it again without
    // following links, and the path that named it may hold some.
    if (auto real = folders::pathOf(can.folder.get()))
        can.path = std::move(*real);
    auto files = ownFolder(can.folder.get(), "files");
    if (!files)
        return Failed{files.error()};
    auto info = ownFolder(can.folder.get(), "info");
    if (!info)
        return Failed{info.error()};
    can.files = std::move(*files);
    can.info = std::move(*info);
    return can;
}

} // namespace

bool onDevice(int fd, dev_t device) {
    struct stat st;
    return ::fstat(fd, &st) == 0 && st.st_dev == device;
}

Result<std::optional<Can>> homeCan(dev_t device) {
    const std::string data = paths::dataHome();
    // The nearest folder that exists says which disk the Trash is on.
    std::string probe = paths::appending(data, "Trash/files");
    struct stat st;
    while (::stat(probe.c_str(), &st) != 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            return Failed{errno};
        if (probe == "/")
            return std::optional<Can>();
        probe = paths::parent(probe);
    }
    if (st.st_dev != device)
        return std::optional<Can>();
    // The data home itself may be reached through links the user set up.
    UniqueFd dataFd(::open(data.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!dataFd.valid() && errno == ENOENT) {
        paths::makeFolders(data, 0700);
        dataFd.reset(::open(data.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    if (!dataFd.valid())
        return Failed{errno};
    auto can = openCan(dataFd.get(), paths::appending(data, "Trash"), "Trash", {});
    if (!can)
        return Failed{can.error()};
    if (!onDevice(can->files.get(), device))
        return std::optional<Can>();
    return std::optional<Can>(std::move(*can));
}

Result<Can> topCan(int folder, dev_t device) {
    auto topFd = mountTop(folder);
    if (!topFd)
        return Failed{topFd.error()};
    const auto top = folders::pathOf(topFd->get());
    if (!top)
        return Failed{top.error()};
    const std::string uid = std::to_string(::getuid());
    struct stat shared;
    if (::fstatat(topFd->get(), ".Trash", &shared, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX)) {
        const UniqueFd sharedFd(::openat(topFd->get(), ".Trash", folderFlags));
        if (sharedFd.valid()) {
            auto can =
                openCan(sharedFd.get(), paths::appending(*top, ".Trash/" + uid), uid.c_str(), *top);
            if (can && onDevice(can->files.get(), device))
                return std::move(*can);
        }
    }
    const std::string own = ".Trash-" + uid;
    auto can = openCan(topFd->get(), paths::appending(*top, own), own.c_str(), *top);
    if (!can)
        return Failed{can.error()};
    if (!onDevice(can->files.get(), device))
        return Failed{EXDEV};
    return std::move(*can);
}

} // namespace twinsift::Trash::detail
