#pragma once

#include "duplicatescanresult.h"
#include "platform/fileattributes.h"
#include "platform/filereader.h"
#include "platform/folderdescriptors.h"
#include "platform/paths.h"
#include "platform/uniquefd.h"
#include "scan/sha256hasher.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

// How a cleanup run reaches the scanned files again: through the scanned
// tree without following links, checking that each file is still the one
// the scan saw, and holding a set's files locked while its copies move.
namespace twinsift::cleanuptree {

// Where a file lives on disk. Two paths with the same identity are one file
// (a hard link, a bind mount, another alias of the same folder), so moving one
// of them never leaves the other behind as a surviving copy.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;

    bool sameFile(const FileAttributes &a) const { return a.device == device && a.inode == inode; }
    friend auto operator<=>(const Identity &, const Identity &) = default;
};

inline bool isScannedShape(const FileAttributes &a, std::uint64_t size) {
    return a.isRegularFile && !a.isSymbolicLink && a.fileSize && *a.fileSize == size;
}

// The scanned tree, reached from its root as the scan reached it: the root
// as the kernel resolves it, links and ".." included, and below it one folder
// at a time without following any link. A folder swapped for a link after
// the scan makes its files unreachable instead of leading outside.
class Tree {
public:
    explicit Tree(const std::string &root) : m_root(root) {
        m_fd.reset(::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    }

    bool isOpen() const { return m_fd.valid(); }

    // A file of the tree: its folder, open, and its name there.
    struct Place {
        UniqueFd folder;
        std::string name;
    };

    Result<Place> place(const std::string &url) const {
        if (!m_fd.valid())
            return Failed{EBADF};
        std::string_view relative = url;
        if (!relative.starts_with(m_root))
            return Failed{EINVAL};
        relative.remove_prefix(m_root.size());
        if (!m_root.ends_with('/') && !relative.starts_with('/'))
            return Failed{EINVAL};
        while (relative.starts_with('/'))
            relative.remove_prefix(1);
        const auto [folder, name] = folders::split(relative);
        if (name.empty())
            return Failed{EINVAL};
        auto opened = folders::openBelow(m_fd.get(), folder);
        if (!opened)
            return Failed{opened.error()};
        return Place{std::move(*opened), std::string(name)};
    }

    // Where the kernel says the file is, whatever the path text says.
    static std::string realPath(const Place &place, const std::string &fallback) {
        const auto folder = folders::pathOf(place.folder.get());
        return folder ? paths::appending(*folder, place.name) : fallback;
    }

private:
    std::string m_root;
    UniqueFd m_fd;
};

// A link or a non-folder where a folder was: the tree changed under the file.
inline bool isPathChange(int error) {
    return error == ELOOP || error == ENOTDIR || error == EINVAL;
}

// The file at place, checked to be a regular file of size bytes, open for
// reading as that very inode.
struct OpenedFile {
    FileAttributes attributes;
    FileReader reader;
};

inline Result<OpenedFile> openScanned(const Tree::Place &place, std::uint64_t size) {
    OpenedFile file;
    auto attributes = FileAttributes::readAt(place.folder.get(), place.name.c_str());
    if (!attributes)
        return Failed{attributes.error()};
    if (!isScannedShape(*attributes, size))
        return Failed{ESTALE};
    file.attributes = *attributes;
    if (const auto opened = file.reader.openAt(place.folder.get(), place.name.c_str()); !opened)
        return Failed{opened.error() == ELOOP ? ESTALE : opened.error()};
    if (file.reader.device() != attributes->device || file.reader.inode() != attributes->inode)
        return Failed{ESTALE};
    return file;
}

// The kept copy that let a set pass, as it was when it was hashed. Only the
// very same file, unchanged since, still vouches for the set.
struct KeptCopy {
    std::string path;
    FileAttributes attributes;

    bool isUnchanged(const Tree &tree) const {
        const auto place = tree.place(path);
        if (!place)
            return false;
        const auto now = FileAttributes::readAt(place->folder.get(), place->name.c_str());
        return now && isScannedShape(*now, *attributes.fileSize) &&
               now->device == attributes.device && now->inode == attributes.inode &&
               now->changeSeconds == attributes.changeSeconds &&
               now->changeNanoseconds == attributes.changeNanoseconds;
    }

    // Read again to the last byte: a change time that did not tick (whole
    // seconds on some disks) hides a rewrite, and an alias of a moved file
    // goes with it.
    bool stillHolds(const Tree &tree, Sha256Hasher &hasher, const std::string &hash) const {
        const auto place = tree.place(path);
        if (!place)
            return false;
        auto file = openScanned(*place, *attributes.fileSize);
        if (!file || file->attributes.device != attributes.device ||
            file->attributes.inode != attributes.inode)
            return false;
        const HashOutcome digest = hasher.hash(file->reader);
        return digest.status == HashOutcome::Status::ok && digest.digest == hash;
    }
};

// Exclusive locks on every file of one set, taken in device and inode order
// so that two runs locking overlapping sets cannot wait on each other, and
// held until the set's moves end. A run with other marks on the same set
// waits here, and then finds the copy it meant to keep gone.
class SetLock {
public:
    SetLock(const Tree &tree, const DuplicateGroup &group) {
        std::vector<std::pair<Identity, UniqueFd>> files;
        for (const DuplicateFile &f : group.files) {
            const auto place = tree.place(f.url);
            if (!place)
                continue;
            UniqueFd fd(::openat(place->folder.get(), place->name.c_str(),
                                 O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
            struct stat st;
            if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
                continue;
            files.emplace_back(Identity{st.st_dev, st.st_ino}, std::move(fd));
        }
        std::sort(files.begin(), files.end(),
                  [](const auto &a, const auto &b) { return a.first < b.first; });
        for (auto &[identity, fd] : files) {
            // Two descriptors of one inode would wait on each other.
            if (!m_fds.empty() && m_last == identity)
                continue;
            // Where a filesystem refuses locks, the check after the moves
            // still guards the set.
            while (::flock(fd.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
            m_last = identity;
            m_fds.push_back(std::move(fd));
        }
    }

private:
    Identity m_last;
    std::vector<UniqueFd> m_fds;
};

} // namespace twinsift::cleanuptree
