#include "walkedfiles.h"

#include <cstring>
#include <limits>

namespace twinsift {

WalkedFiles::WalkedFiles() = default;
WalkedFiles::~WalkedFiles() = default;

void WalkedFiles::enterFolder(std::string_view folder) {
    // A folder is kept only once a file of it is added: most folders of a
    // tree may hold none that count.
    m_pendingFolder.assign(folder);
    m_folderPending = true;
}

std::uint64_t WalkedFiles::storeName(std::string_view name) {
    // A name never straddles two blocks (names are at most 255 bytes).
    const std::size_t need = name.size() + 1;
    std::size_t offset = m_nameEnd % nameBlockSize;
    if (m_nameBlocks.empty() || offset + need > nameBlockSize) {
        m_nameBlocks.push_back(std::make_unique_for_overwrite<char[]>(nameBlockSize));
        m_nameEnd = (m_nameBlocks.size() - 1) * nameBlockSize;
        offset = 0;
    }
    char *at = m_nameBlocks.back().get() + offset;
    std::memcpy(at, name.data(), name.size());
    at[name.size()] = '\0';
    const std::uint64_t start = m_nameEnd;
    m_nameEnd += need;
    return start;
}

const char *WalkedFiles::nameAt(std::uint64_t at) const {
    return m_nameBlocks[at / nameBlockSize].get() + at % nameBlockSize;
}

void WalkedFiles::add(std::string_view name, std::uint64_t size, const FileIdentity &identity) {
    const std::uint64_t at = storeName(name);
    // A folder whose names outgrow a 32-bit offset simply goes on as a
    // second run of the same path.
    if (m_folderPending ||
        at - m_folders.back().firstName > std::numeric_limits<std::uint32_t>::max()) {
        if (!m_folderPending)
            m_pendingFolder = m_folders.back().path;
        m_folders.push_back(
            {std::move(m_pendingFolder), at, static_cast<std::uint32_t>(m_files.size())});
        m_pendingFolder.clear();
        m_folderPending = false;
    }
    const auto folder = static_cast<std::uint32_t>(m_folders.size() - 1);
    m_files.push_back({size, folder, static_cast<std::uint32_t>(at - m_folders.back().firstName)});
    m_identities.push_back(identity);
}

void WalkedFiles::path(std::size_t i, std::string &out) const {
    const File &file = m_files[i];
    const Folder &folder = m_folders[file.folder];
    const char *name = nameAt(folder.firstName + file.name);
    const std::size_t nameLength = std::strlen(name);
    out.resize(folder.path.size() + 1 + nameLength);
    std::memcpy(out.data(), folder.path.data(), folder.path.size());
    out[folder.path.size()] = '/';
    std::memcpy(out.data() + folder.path.size() + 1, name, nameLength);
}

std::string WalkedFiles::path(std::size_t i) const {
    std::string out;
    path(i, out);
    return out;
}

std::vector<std::uint32_t> WalkedFiles::runStarts() const {
    std::vector<std::uint32_t> starts;
    starts.reserve(m_folders.size());
    for (const Folder &folder : m_folders)
        starts.push_back(folder.firstFile);
    return starts;
}

void WalkedFiles::dropIdentities() {
    std::deque<FileIdentity>().swap(m_identities);
}

void WalkedFiles::drain(const std::function<void(std::string &&, std::uint64_t)> &take) {
    std::size_t freedBlocks = 0;
    while (!m_files.empty()) {
        const File file = m_files.front();
        const Folder &folder = m_folders[file.folder];
        const std::uint64_t at = folder.firstName + file.name;
        const char *name = nameAt(at);
        const std::size_t nameLength = std::strlen(name);
        // Sized exactly: these strings are what the result keeps.
        std::string path(folder.path.size() + 1 + nameLength, '/');
        std::memcpy(path.data(), folder.path.data(), folder.path.size());
        std::memcpy(path.data() + folder.path.size() + 1, name, nameLength);
        m_files.pop_front();
        // Names lie in walk order, so every block before this one is done.
        for (const std::size_t block = at / nameBlockSize; freedBlocks < block; ++freedBlocks)
            m_nameBlocks[freedBlocks].reset();
        take(std::move(path), file.size);
    }
    std::deque<File>().swap(m_files);
    std::vector<std::unique_ptr<char[]>>().swap(m_nameBlocks);
    std::vector<Folder>().swap(m_folders);
    m_nameEnd = 0;
}

} // namespace twinsift
