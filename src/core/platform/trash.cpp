#include "trash.h"
#include "trashcans.h"
#include "trashinfo.h"

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

using namespace detail;

namespace {

// The errno of the last info file that could not be written on this thread.
int &lastInfoError() {
    thread_local int error = 0;
    return error;
}

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
