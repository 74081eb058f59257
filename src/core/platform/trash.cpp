#include "trash.h"

#include "filesystemtype.h"
#include "folderdescriptors.h"
#include "paths.h"
#include "safemove.h"
#include "uniquefd.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace twinsift::Trash {

namespace {

constexpr std::string_view infoSuffix = ".trashinfo";

// The errno of the last info file that could not be written on this thread.
int &lastInfoError() {
    thread_local int error = 0;
    return error;
}
constexpr int folderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

Failed<Failure> fails(Problem problem, int error = 0) {
    return Failed<Failure>{{problem, error}};
}

bool liesBelow(std::string_view path, std::string_view root) {
    if (root == "/")
        return true;
    return path.starts_with(root) && (path.size() == root.size() || path[root.size()] == '/');
}

// Device and system runtime mounts: what lives there is the system's.
bool isRuntimeLocation(std::string_view path) {
    for (std::string_view root : {"/proc", "/sys", "/dev", "/run"})
        if (liesBelow(path, root))
            return true;
    return false;
}

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

// One Trash folder, open, with its two halves.
struct Can {
    std::string path;
    std::string top; // the folder Path= is relative to; empty for the home Trash
    UniqueFd folder, files, info;
};

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

bool onDevice(int fd, dev_t device) {
    struct stat st;
    return ::fstat(fd, &st) == 0 && st.st_dev == device;
}

// The home Trash, when it is on device (nothing otherwise). Its folders are
// made only then. When it is there but cannot be used, the file has no other
// Trash: the error says why.
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

// $topdir/.Trash/$uid below a real sticky .Trash, else $topdir/.Trash-$uid.
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

// name split before its extension: "photo.jpg" -> "photo", ".jpg". A leading
// dot starts no extension, and one too long to be an extension is none.
std::pair<std::string_view, std::string_view> stemAndExtension(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || name.size() - dot > 16)
        return {name, {}};
    return {name.substr(0, dot), name.substr(dot)};
}

// Cuts text to at most limit bytes without splitting a UTF-8 sequence.
std::string_view cut(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xc0) == 0x80)
        --end;
    return text.substr(0, end);
}

// The name to try on the given attempt: the file's own first, then numbered,
// then random, always short enough for NAME.trashinfo.
std::string trashName(std::string_view name, unsigned attempt, std::size_t limit,
                      std::optional<std::mt19937_64> &random) {
    std::string tag;
    if (attempt > 0 && attempt < 9) {
        tag = "." + std::to_string(attempt + 1);
    } else if (attempt >= 9) {
        char hex[20];
        std::snprintf(hex, sizeof hex, ".%08llx",
                      static_cast<unsigned long long>((*random)() & 0xffffffffULL));
        tag = hex;
    }
    auto [stem, extension] = stemAndExtension(name);
    if (stem.size() + tag.size() + extension.size() > limit) {
        if (tag.size() + extension.size() >= limit)
            extension = {};
        stem = cut(stem, limit - tag.size() - extension.size());
    }
    std::string out(stem);
    out += tag;
    out += extension;
    return out;
}

std::string infoText(std::string_view path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    std::string text = "[Trash Info]\nPath=";
    text += percentEncoded(path);
    text += "\nDeletionDate=";
    text += date;
    text += "\n";
    return text;
}

// Writes info/NAME.trashinfo whole and synced, never over another. 0 when
// written; EEXIST when the name is taken; another errno when it failed, and
// then nothing is left behind.
int writeInfo(int info, const std::string &infoName, const std::string &text) {
    const int fd = ::openat(info, infoName.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    std::size_t written = 0;
    int error = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : ENOSPC;
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error && errno != EINTR)
        error = errno;
    if (error)
        ::unlinkat(info, infoName.c_str(), 0);
    return error;
}

// Failures of one attempt at one Trash folder. Errors of our own making are
// negative.
constexpr int infoFailed = -1;
constexpr int changedWhileMoving = -2;
constexpr int changedAndStuck = -3;
constexpr int noFreeName = -4;

Result<Entry> moveInto(const Can &can, int folder, const std::string &name,
                       const std::string &original, const struct stat &st,
                       const std::optional<Expected> &expected) {
    // Path= is absolute in the home Trash, and relative to the top of the
    // disk in a disk's own Trash, so the disk can be mounted elsewhere.
    std::string recorded = original;
    if (!can.top.empty())
        recorded = can.top == "/" ? original.substr(1) : original.substr(can.top.size() + 1);
    const std::string text = infoText(recorded);

    long nameMax = ::fpathconf(can.info.get(), _PC_NAME_MAX);
    if (nameMax <= 0 || nameMax > 255)
        nameMax = 255;
    const std::size_t limit = static_cast<std::size_t>(nameMax) - infoSuffix.size();
    std::optional<std::mt19937_64> random;
    for (unsigned attempt = 0; attempt < 64; ++attempt) {
        if (attempt >= 9 && !random)
            random.emplace(std::random_device{}());
        const std::string candidate = trashName(name, attempt, limit, random);
        const std::string infoName = candidate + std::string(infoSuffix);
        if (const int error = writeInfo(can.info.get(), infoName, text)) {
            if (error == EEXIST)
                continue;
            lastInfoError() = error;
            return Failed{infoFailed};
        }
        const int error =
            safemove::renameNoReplace(folder, name.c_str(), can.files.get(), candidate.c_str());
        if (error) {
            ::unlinkat(can.info.get(), infoName.c_str(), 0);
            // An orphan in files/ keeps its name; ours takes the next one.
            if (error == EEXIST || error == ENOTEMPTY)
                continue;
            return Failed{error};
        }
        Entry entry{can.path,          candidate,         original,
                    st.st_dev,         st.st_ino,         static_cast<std::uint64_t>(st.st_size),
                    st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
        // Whatever took the name between the look and the rename is not the
        // file that was checked: it goes straight back.
        struct stat moved;
        if (expected &&
            (::fstatat(can.files.get(), candidate.c_str(), &moved, AT_SYMLINK_NOFOLLOW) != 0 ||
             moved.st_dev != expected->device || moved.st_ino != expected->inode)) {
            entry.device = moved.st_dev;
            entry.inode = moved.st_ino;
            entry.size = static_cast<std::uint64_t>(moved.st_size);
            entry.modificationSeconds = moved.st_mtim.tv_sec;
            entry.modificationNanoseconds = moved.st_mtim.tv_nsec;
            return Failed{putBackAt(entry, folder, name) ? changedWhileMoving : changedAndStuck};
        }
        return entry;
    }
    return Failed{noFreeName};
}

Failed<Failure> describe(int error) {
    switch (error) {
    case infoFailed:
        return fails(Problem::infoNotWritten, lastInfoError());
    case changedWhileMoving:
        return fails(Problem::changed);
    case changedAndStuck:
        return fails(Problem::changedAndReplaced);
    case noFreeName:
        return fails(Problem::noFreeName);
    case EXDEV:
        return fails(Problem::noTrashOnDisk);
    default:
        return fails(Problem::refused, error);
    }
}

bool isSameFile(const struct stat &st, const Entry &entry) {
    return st.st_dev == entry.device && st.st_ino == entry.inode &&
           static_cast<std::uint64_t>(st.st_size) == entry.size &&
           st.st_mtim.tv_sec == entry.modificationSeconds &&
           st.st_mtim.tv_nsec == entry.modificationNanoseconds;
}

} // namespace

std::string homeFolder() {
    return paths::appending(paths::dataHome(), "Trash");
}

bool isInsideTrash(std::string_view path) {
    // Resolving walks the whole path; the home Trash stays where it is for as
    // long as the environment names it.
    thread_local std::string named, resolved;
    if (const std::string now = homeFolder(); now != named) {
        resolved = paths::resolvingSymlinks(now);
        named = now;
    }
    const std::string &home = resolved;
    if (liesBelow(path, home))
        return true;
    const auto allDigits = [](std::string_view s) {
        return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
    };
    std::string_view previous;
    std::string_view rest = path;
    while (!rest.empty()) {
        const auto slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.starts_with(".Trash-") && allDigits(part.substr(7)))
            return true;
        if (previous == ".Trash" && allDigits(part))
            return true;
        if (!part.empty())
            previous = part;
    }
    return false;
}

std::string percentEncoded(std::string_view path) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        const bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') ||
                           (b >= '0' && b <= '9') || b == '-' || b == '.' || b == '_' || b == '~' ||
                           b == '/';
        if (plain) {
            out.push_back(c);
        } else {
            out.push_back('%');
            out.push_back(digits[b >> 4]);
            out.push_back(digits[b & 0x0f]);
        }
    }
    return out;
}

Result<Entry, Failure> moveAt(int folder, const std::string &name,
                              std::optional<Expected> expected) {
    struct stat st;
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return fails(Problem::refused, errno);
    if (expected && (st.st_dev != expected->device || st.st_ino != expected->inode))
        return fails(Problem::changed);
    const auto where = folders::pathOf(folder);
    if (!where)
        return fails(Problem::refused, where.error());
    const std::string original = paths::appending(*where, name);
    if (isRuntimeLocation(original) || isPseudoFilesystem(folder, st.st_dev))
        return fails(Problem::systemLocation);
    if (isInsideTrash(original))
        return fails(Problem::alreadyInTrash);
    struct statvfs vfs;
    if (::fstatvfs(folder, &vfs) == 0 && (vfs.f_flag & ST_RDONLY))
        return fails(Problem::readOnlyDisk);

    // The home Trash first when it is on the file's disk; a bind mount of
    // that disk still cannot rename into it, and then the mount's own Trash
    // is the next choice.
    auto home = homeCan(st.st_dev);
    if (!home)
        return fails(Problem::homeTrashUnusable, home.error());
    if (*home) {
        auto moved = moveInto(**home, folder, name, original, st, expected);
        if (moved || moved.error() != EXDEV)
            return moved ? Result<Entry, Failure>(std::move(*moved)) : describe(moved.error());
    }
    auto top = topCan(folder, st.st_dev);
    if (!top) {
        if (top.error() == EXDEV || top.error() == EROFS)
            return fails(Problem::noTrashOnDisk);
        return fails(Problem::diskTrashUnusable, top.error());
    }
    auto moved = moveInto(*top, folder, name, original, st, expected);
    if (!moved)
        return describe(moved.error());
    return std::move(*moved);
}

Result<Entry, Failure> move(const std::string &path) {
    const auto [parent, name] = folders::split(path);
    if (name.empty() || name == "." || name == "..")
        return fails(Problem::refused, EINVAL);
    const std::string folder = parent.empty() ? std::string(".") : std::string(parent);
    const UniqueFd fd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!fd.valid())
        return fails(Problem::refused, errno);
    return moveAt(fd.get(), std::string(name));
}

Result<void, Failure> putBackAt(const Entry &entry, int folder, const std::string &name) {
    const auto can = folders::openAbsolute(entry.folder);
    if (!can)
        return fails(Problem::goneFromTrash);
    const UniqueFd files(::openat(can->get(), "files", folderFlags));
    const UniqueFd info(::openat(can->get(), "info", folderFlags));
    if (!files.valid() || !info.valid())
        return fails(Problem::goneFromTrash);
    struct stat st;
    if (::fstatat(files.get(), entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return fails(Problem::goneFromTrash);
    if (!isSameFile(st, entry))
        return fails(Problem::changedInTrash);
    if (const int error =
            safemove::renameNoReplace(files.get(), entry.name.c_str(), folder, name.c_str())) {
        if (error == EEXIST || error == ENOTEMPTY)
            return fails(Problem::nameTaken);
        return fails(Problem::notPutBack, error);
    }
    ::unlinkat(info.get(), (entry.name + std::string(infoSuffix)).c_str(), 0);
    return {};
}

Result<void, Failure> putBack(const Entry &entry, bool makeMissingFolders) {
    const auto [parent, name] = folders::split(entry.originalPath);
    // Nothing is made for an entry that is not there to go back.
    if (makeMissingFolders && !holds(entry))
        return putBackAt(entry, AT_FDCWD, std::string(name));
    const auto folder = folders::openAbsolute(parent, makeMissingFolders);
    if (!folder)
        return fails(Problem::folderGone, folder.error());
    return putBackAt(entry, folder->get(), std::string(name));
}

bool holds(const Entry &entry) {
    const auto can = folders::openAbsolute(entry.folder);
    if (!can)
        return false;
    const UniqueFd files(::openat(can->get(), "files", folderFlags));
    struct stat st;
    return files.valid() &&
           ::fstatat(files.get(), entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
           isSameFile(st, entry);
}

} // namespace twinsift::Trash
