#include "folderwalker.h"

#include "folderreadahead.h"
#include "paths.h"
#include "trash.h"

#include <array>
#include <strings.h>
#include <sys/stat.h>
#include <system_error>

namespace twinsift {
namespace {

using folderlisting::Opened;

// Whether name is all digits, as a user's folder in a mount's .Trash is named.
bool isUserId(std::string_view name) {
    return !name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos;
}

// Fewer files than this to read attributes of in a batch are not worth
// waking the read-ahead thread for.
constexpr std::size_t helpFrom = 48;

} // namespace

FolderWalker::FolderWalker(std::string root, ErrorCallback onError)
    : m_root(std::move(root)), m_onError(std::move(onError)) {
    while (m_root.size() > 1 && m_root.back() == '/')
        m_root.pop_back();
}

FolderWalker::~FolderWalker() {
    m_readAhead.reset();
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

Result<void, WalkError> FolderWalker::start() {
    // The home Trash and its two folders, whatever their names below the
    // root: a bind mount or a link taken as the root is caught as well.
    const std::string trash = Trash::homeFolder();
    for (const std::string &folder : {trash, trash + "/files", trash + "/info"}) {
        struct stat st;
        if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            m_trash.emplace_back(st.st_dev, st.st_ino);
    }
    const std::string resolvedRoot = paths::resolvingSymlinks(m_root);
    if (Trash::isInsideTrash(resolvedRoot))
        return {};
    m_rootHoldsTrash = paths::lastComponent(resolvedRoot) == ".Trash";

    Opened root = folderlisting::open(m_root, nullptr, m_trash);
    if (root.state == Opened::State::trash)
        return {};
    if (root.state == Opened::State::failed) {
        if (root.error.kind != WalkError::Kind::pseudoFilesystem)
            return Failed{root.error};
        // Nothing to walk, which is no reason to fail the scan.
        m_onError(m_root, root.error);
        return {};
    }
    m_dir = root.dir;
    m_dirDevice = root.device;
    m_dirPath = m_root == "/" ? std::string() : m_root;
    ++m_foldersEntered;
    return {};
}

int FolderWalker::rootFd() const {
    return m_dir && m_foldersEntered == 1 ? ::dirfd(m_dir) : -1;
}

FolderReadAhead *FolderWalker::readAhead() {
    if (!m_readAhead && !m_noReadAhead) {
        try {
            m_readAhead = std::make_unique<FolderReadAhead>(m_trash);
        } catch (const std::system_error &) {
            // No thread to spare: this thread lists and reads everything.
            m_noReadAhead = true;
        }
    }
    return m_readAhead.get();
}

bool FolderWalker::openNextFolder() {
    while (!m_pending.empty()) {
        folderlisting::Pending next = std::move(m_pending.back());
        m_pending.pop_back();
        m_dirPath = std::move(next.path);
        FolderReadAhead *const ahead = m_pending.empty() ? m_readAhead.get() : readAhead();
        std::optional<Opened> listed;
        if (ahead) {
            listed = ahead->take(next.id);
            ahead->lookAhead(m_pending);
        }
        Opened opened = listed ? std::move(*listed)
                               : folderlisting::open(m_dirPath, &next.parentDevice, m_trash);
        if (opened.state == Opened::State::trash)
            continue;
        if (opened.state == Opened::State::failed) {
            m_onError(m_dirPath, opened.error);
            continue;
        }
        m_dir = opened.dir;
        m_dirDevice = opened.device;
        ++m_foldersEntered;
        if (listed) {
            m_batch = std::move(opened.batch);
            m_names = std::move(opened.names);
            m_listed = opened.listed;
            m_current = 0;
            if (opened.listError)
                m_onError(m_dirPath, *opened.listError);
        }
        return true;
    }
    return false;
}

bool FolderWalker::listBatch() {
    m_current = 0;
    std::size_t toRead = 0;
    if (const auto listing = folderlisting::list(m_dir, m_batch, m_names, m_listed, toRead);
        !listing)
        m_onError(m_dirPath, listing.error());
    if (m_batch.empty())
        return false;
    const int fd = ::dirfd(m_dir);
    if (FolderReadAhead *ahead = toRead >= helpFrom ? readAhead() : nullptr) {
        ahead->readAll(fd, m_names, m_batch);
    } else {
        for (auto &listed : m_batch)
            folderlisting::read(fd, m_names, listed);
    }
    folderlisting::classify(m_batch);
    return true;
}

bool FolderWalker::next() {
    for (;;) {
        if (!m_dir && !openNextFolder())
            return false;
        if (m_current == m_batch.size() && !listBatch()) {
            ::closedir(m_dir);
            m_dir = nullptr;
            m_listed = false;
            continue;
        }
        const auto &listed = m_batch[m_current++];
        const char *name = m_names.c_str() + listed.name;
        m_path.assign(m_dirPath);
        m_path.push_back('/');
        m_nameOffset = m_path.size();
        m_path.append(name);
        m_type = listed.type;
        if (m_type == DT_DIR && !isPackageName(name) &&
            !(m_rootHoldsTrash && m_foldersEntered == 1 && isUserId(name)))
            m_pending.push_back({m_path, m_dirDevice, m_nextId++});
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
    return m_batch[m_current - 1].attributes;
}

} // namespace twinsift
