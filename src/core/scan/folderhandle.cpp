#include "folderhandle.h"

#include <fcntl.h>
#include <unistd.h>

namespace twinsift {

Result<void> FolderHandle::openFile(FileReader &reader, const std::string &path, bool identify) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return reader.openAt(AT_FDCWD, path.c_str(), identify);
    const std::string_view folder = slash == 0 ? "/" : std::string_view(path).substr(0, slash);
    if (folder != m_path) {
        const bool again = folder == m_previous;
        close();
        m_previous.assign(folder);
        if (again) {
            m_path.assign(folder);
            m_fd = below(m_path) ? ::openat(m_rootFd, m_path.c_str() + m_root.size(),
                                            O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                                 : ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        }
    }
    if (m_fd >= 0)
        return reader.openAt(m_fd, path.c_str() + slash + 1, identify);
    if (below(path))
        return reader.openAt(m_rootFd, path.c_str() + m_root.size(), identify);
    return reader.openAt(AT_FDCWD, path.c_str(), identify);
}

bool FolderHandle::below(std::string_view path) const {
    return m_rootFd >= 0 && path.size() > m_root.size() && path.starts_with(m_root);
}

void FolderHandle::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

} // namespace twinsift
