#include "folderwalker.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

namespace twinsift {

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

int FolderWalker::start() {
    // The root is opened following links: the user chose it, perhaps through
    // a link. Below it nothing is followed.
    const int fd = ::open(m_root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    m_dir = ::fdopendir(fd);
    if (!m_dir) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    m_dirPath = m_root == "/" ? std::string() : m_root;
    return 0;
}

bool FolderWalker::openNextFolder() {
    while (!m_pending.empty()) {
        m_dirPath = std::move(m_pending.back());
        m_pending.pop_back();
        // O_NOFOLLOW: a folder swapped for a link since it was listed is not entered.
        const int fd = ::open(m_dirPath.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) {
            m_onError(m_dirPath, errno);
            continue;
        }
        m_dir = ::fdopendir(fd);
        if (m_dir)
            return true;
        m_onError(m_dirPath, errno);
        ::close(fd);
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
            m_pending.push_back(m_path);
        return true;
    }
}

std::optional<FileAttributes> FolderWalker::attributes(int *error) const {
    if (m_type == DT_DIR || m_type == DT_LNK || m_type == DT_FIFO || m_type == DT_SOCK ||
        m_type == DT_CHR || m_type == DT_BLK) {
        FileAttributes a;
        a.isDirectory = m_type == DT_DIR;
        a.isSymbolicLink = m_type == DT_LNK;
        return a;
    }
    return FileAttributes::readAt(::dirfd(m_dir), m_path.c_str() + m_nameOffset, error);
}

} // namespace twinsift
