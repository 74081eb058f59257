#include "folderwalker.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <strings.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace twinsift {
namespace {

// statfs magic numbers of the kernel's pseudo-filesystems.
constexpr std::array<std::uint32_t, 16> pseudoMagics{
    0x9fa0,     // proc
    0x62656572, // sysfs
    0x1cd1,     // devpts
    0x27e0eb,   // cgroup
    0x63677270, // cgroup2
    0x64626720, // debugfs
    0x74726163, // tracefs
    0x73636673, // securityfs
    0x6165676c, // pstore
    0xcafe4a11, // bpf
    0x62656570, // configfs
    0x65735543, // fusectl
    0x19800202, // mqueue
    0x958458f6, // hugetlbfs
    0x0187,     // autofs
    0x42494e4d, // binfmt_misc
};
constexpr std::uint32_t tmpfsMagic = 0x01021994;
constexpr std::uint32_t ramfsMagic = 0x858458f6;

// devtmpfs reports itself as tmpfs or ramfs; only the mount table tells it
// from a real tmpfs. Without a readable table it counts as tmpfs.
bool isDevtmpfs(dev_t device) {
    FILE *table = std::fopen("/proc/self/mountinfo", "re");
    if (!table)
        return false;
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, " %u:%u ", ::major(device), ::minor(device));
    bool found = false;
    char *line = nullptr;
    std::size_t capacity = 0;
    while (!found && ::getline(&line, &capacity, table) > 0) {
        // id parent major:minor root mount-point options... - type source ...
        const std::string_view text(line);
        const auto at = text.find(wanted);
        const auto dash = text.find(" - ");
        if (at == std::string_view::npos || dash == std::string_view::npos || at > dash)
            continue;
        found = text.substr(dash + 3).starts_with("devtmpfs ");
    }
    std::free(line);
    std::fclose(table);
    return found;
}

bool isPseudoFilesystem(int fd, dev_t device) {
    struct statfs fs;
    if (::fstatfs(fd, &fs) != 0)
        return false;
    const auto magic = static_cast<std::uint32_t>(fs.f_type);
    for (const std::uint32_t pseudo : pseudoMagics)
        if (magic == pseudo)
            return true;
    return (magic == tmpfsMagic || magic == ramfsMagic) && isDevtmpfs(device);
}

} // namespace

FolderWalker::FolderWalker(std::string root, ErrorCallback onError)
    : m_root(std::move(root)), m_onError(std::move(onError)) {
    while (m_root.size() > 1 && m_root.back() == '/')
        m_root.pop_back();
}

FolderWalker::~FolderWalker() {
    if (m_dir)
        ::closedir(m_dir);
}

bool FolderWalker::isPackageName(std::string_view name) {
    static constexpr std::array<std::string_view, 18> suffixes{
        ".app",           ".bundle",       ".framework",     ".plugin",    ".kext",
        ".photoslibrary", ".musiclibrary", ".imovielibrary", ".fcpbundle", ".xcodeproj",
        ".xcworkspace",   ".xcarchive",    ".playground",    ".pages",     ".numbers",
        ".key",           ".rtfd",         ".sparsebundle"};
    for (std::string_view s : suffixes) {
        if (name.size() > s.size() &&
            ::strncasecmp(name.data() + name.size() - s.size(), s.data(), s.size()) == 0)
            return true;
    }
    return false;
}

Result<void> FolderWalker::start() {
    // The root is opened following links: the user chose it, perhaps through
    // a link. Below it nothing is followed.
    const int fd = ::open(m_root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Failed{errno};
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return Failed{error};
    }
    if (isPseudoFilesystem(fd, st.st_dev)) {
        // Nothing to walk, which is no reason to fail the scan.
        ::close(fd);
        m_onError(m_root, pseudoFilesystem);
        return {};
    }
    m_dir = ::fdopendir(fd);
    if (!m_dir) {
        const int error = errno;
        ::close(fd);
        return Failed{error};
    }
    m_dirDevice = st.st_dev;
    m_dirPath = m_root == "/" ? std::string() : m_root;
    ++m_foldersEntered;
    return {};
}

bool FolderWalker::enter(int fd, const std::string &path, const dev_t *parentDevice) {
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        m_onError(path, errno);
        ::close(fd);
        return false;
    }
    // Only a mount point can change the filesystem; the type is asked there.
    if ((!parentDevice || st.st_dev != *parentDevice) && isPseudoFilesystem(fd, st.st_dev)) {
        m_onError(path, pseudoFilesystem);
        ::close(fd);
        return false;
    }
    m_dir = ::fdopendir(fd);
    if (!m_dir) {
        m_onError(path, errno);
        ::close(fd);
        return false;
    }
    m_dirDevice = st.st_dev;
    ++m_foldersEntered;
    return true;
}

bool FolderWalker::openNextFolder() {
    while (!m_pending.empty()) {
        Pending next = std::move(m_pending.back());
        m_pending.pop_back();
        m_dirPath = std::move(next.path);
        // O_NOFOLLOW: a folder swapped for a link since it was listed is not entered.
        const int fd = ::open(m_dirPath.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            m_onError(m_dirPath, errno);
            continue;
        }
        if (enter(fd, m_dirPath, &next.parentDevice))
            return true;
    }
    return false;
}

bool FolderWalker::next() {
    for (;;) {
        if (!m_dir && !openNextFolder())
            return false;
        errno = 0;
        const dirent *entry = ::readdir(m_dir);
        if (!entry) {
            if (errno != 0)
                m_onError(m_dirPath, errno);
            ::closedir(m_dir);
            m_dir = nullptr;
            continue;
        }
        const char *name = entry->d_name;
        if (name[0] == '.')
            continue; // hidden, and also "." and ".."
        m_path.assign(m_dirPath);
        m_path.push_back('/');
        m_nameOffset = m_path.size();
        m_path.append(name);
        m_type = entry->d_type;
        if (m_type == DT_UNKNOWN) {
            // Some file systems leave the type out of the listing.
            if (auto a = FileAttributes::readAt(::dirfd(m_dir), name))
                m_type = a->isDirectory      ? DT_DIR
                         : a->isSymbolicLink ? DT_LNK
                         : a->isRegularFile  ? DT_REG
                                             : DT_UNKNOWN;
        }
        if (m_type == DT_DIR && !isPackageName(name))
            m_pending.push_back({m_path, m_dirDevice});
        return true;
    }
}

Result<FileAttributes> FolderWalker::attributes() const {
    if (m_type == DT_DIR || m_type == DT_LNK || m_type == DT_FIFO || m_type == DT_SOCK ||
        m_type == DT_CHR || m_type == DT_BLK) {
        FileAttributes a;
        a.isDirectory = m_type == DT_DIR;
        a.isSymbolicLink = m_type == DT_LNK;
        return a;
    }
    return FileAttributes::readAt(::dirfd(m_dir), m_path.c_str() + m_nameOffset);
}

} // namespace twinsift
