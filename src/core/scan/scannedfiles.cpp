#include "scannedfiles.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

namespace twinsift {

ScannedFiles::ScannedFiles() = default;
ScannedFiles::~ScannedFiles() = default;
ScannedFiles::ScannedFiles(ScannedFiles &&) noexcept = default;
ScannedFiles &ScannedFiles::operator=(ScannedFiles &&) noexcept = default;

ScannedFiles::ScannedFiles(const ScannedFiles &other)
    : m_folders(other.m_folders), m_files(other.m_files), m_pendingFolder(other.m_pendingFolder),
      m_folderPending(other.m_folderPending) {
    m_nameBlocks.reserve(other.m_nameBlocks.size());
    for (const Block &block : other.m_nameBlocks) {
        Block &copy = m_nameBlocks.emplace_back();
        copy.capacity = block.capacity;
        copy.used = block.used;
        copy.bytes = std::make_unique_for_overwrite<char[]>(block.capacity);
        std::memcpy(copy.bytes.get(), block.bytes.get(), block.used);
    }
}

ScannedFiles &ScannedFiles::operator=(const ScannedFiles &other) {
    if (this != &other)
        *this = ScannedFiles(other);
    return *this;
}

void ScannedFiles::enterFolder(std::string_view folder) {
    // A folder is kept only once a file of it is added: most folders of a
    // tree may hold none that count.
    m_pendingFolder.assign(folder);
    m_pendingFolder.push_back('/');
    m_folderPending = true;
}

std::uint64_t ScannedFiles::storeName(std::string_view name) {
    // A name never straddles two blocks (names are at most 255 bytes).
    const std::size_t need = name.size() + 1;
    if (need > nameBlockSize)
        throw std::length_error("file name too long");
    if (m_nameBlocks.empty() || m_nameBlocks.back().used + need > m_nameBlocks.back().capacity) {
        if (!m_nameBlocks.empty() && m_nameBlocks.back().capacity < nameBlockSize) {
            // A small list starts with a small first block and lets it grow
            // to the full size; the copy this costs is bounded by one block.
            Block &last = m_nameBlocks.back();
            const std::size_t capacity =
                std::min(nameBlockSize, std::max(2 * last.capacity, last.used + need));
            auto grown = std::make_unique_for_overwrite<char[]>(capacity);
            std::memcpy(grown.get(), last.bytes.get(), last.used);
            last.bytes = std::move(grown);
            last.capacity = capacity;
        }
        if (m_nameBlocks.empty() ||
            m_nameBlocks.back().used + need > m_nameBlocks.back().capacity) {
            const std::size_t capacity =
                m_nameBlocks.empty() ? std::max<std::size_t>(4096, need) : nameBlockSize;
            m_nameBlocks.push_back({std::make_unique_for_overwrite<char[]>(capacity), capacity, 0});
        }
    }
    Block &block = m_nameBlocks.back();
    char *at = block.bytes.get() + block.used;
    std::memcpy(at, name.data(), name.size());
    at[name.size()] = '\0';
    const std::uint64_t start = (m_nameBlocks.size() - 1) * nameBlockSize + block.used;
    block.used += need;
    return start;
}

const char *ScannedFiles::nameAt(std::uint64_t at) const {
    return m_nameBlocks[at / nameBlockSize].bytes.get() + at % nameBlockSize;
}

void ScannedFiles::add(std::string_view name, std::uint64_t size) {
    const std::uint64_t at = storeName(name);
    // A folder whose names outgrow a 32-bit offset simply goes on as a
    // second entry of the same path.
    if (m_folderPending || m_folders.empty() ||
        at - m_folders.back().firstName > std::numeric_limits<std::uint32_t>::max()) {
        if (!m_folderPending)
            m_pendingFolder = m_folders.empty() ? std::string() : m_folders.back().path;
        m_folders.push_back({std::move(m_pendingFolder), at});
        m_pendingFolder.clear();
        m_folderPending = false;
    }
    const Folder &folder = m_folders.back();
    m_files.push_back({size, static_cast<std::uint32_t>(m_folders.size() - 1),
                       static_cast<std::uint32_t>(at - folder.firstName)});
}

void ScannedFiles::push_back(const DuplicateFile &file) {
    const std::string_view path = file.url;
    const std::size_t cut = path.rfind('/') + 1; // 0 when there is no "/"
    const std::string_view folder = path.substr(0, cut);
    const std::string_view current =
        m_folderPending ? m_pendingFolder
                        : (m_folders.empty() ? std::string_view() : m_folders.back().path);
    if (m_folders.empty() || folder != current) {
        m_pendingFolder.assign(folder);
        m_folderPending = true;
    }
    add(path.substr(cut), file.size);
}

void ScannedFiles::path(std::size_t i, std::string &out) const {
    const File &file = m_files[i];
    const Folder &folder = m_folders[file.folder];
    const char *name = nameAt(folder.firstName + file.name);
    const std::size_t nameLength = std::strlen(name);
    out.resize(folder.path.size() + nameLength);
    std::memcpy(out.data(), folder.path.data(), folder.path.size());
    std::memcpy(out.data() + folder.path.size(), name, nameLength);
}

std::string ScannedFiles::path(std::size_t i) const {
    std::string out;
    path(i, out);
    return out;
}

DuplicateFile ScannedFiles::at(std::size_t i) const {
    if (i >= size())
        throw std::out_of_range("ScannedFiles::at");
    return (*this)[i];
}

void ScannedFiles::permute(const std::vector<std::uint32_t> &target) {
    if (target.size() != m_files.size())
        throw std::invalid_argument("ScannedFiles::permute: wrong length");
    // Each cycle of the permutation is followed once, a bit per file
    // marking where it has been, so no second list of files is needed and
    // target stays as it was for the caller.
    std::vector<bool> placed(target.size());
    for (std::size_t start = 0; start < target.size(); ++start) {
        if (placed[start])
            continue;
        placed[start] = true;
        // m_files[start] holds, in turn, each file that waits for its place.
        for (std::uint32_t from = static_cast<std::uint32_t>(start); target[from] != start;) {
            const std::uint32_t to = target[from];
            if (to >= target.size() || placed[to])
                throw std::invalid_argument("ScannedFiles::permute: not a permutation");
            std::swap(m_files[start], m_files[to]);
            placed[to] = true;
            from = to;
        }
    }
}

void ScannedFiles::describePaths(const std::function<void(const char *, std::size_t)> &feed) const {
    // Names are stored in list order, each ended by a 0 byte, so the name
    // blocks give every name and its place; each folder adds its path and
    // where its names begin.
    for (const Folder &folder : m_folders) {
        feed(folder.path.data(), folder.path.size() + 1); // with its 0 byte
        feed(reinterpret_cast<const char *>(&folder.firstName), sizeof folder.firstName);
    }
    const std::uint64_t files = m_files.size();
    feed(reinterpret_cast<const char *>(&files), sizeof files);
    for (const Block &block : m_nameBlocks)
        feed(block.bytes.get(), block.used);
}

bool operator==(const ScannedFiles &a, const ScannedFiles &b) {
    if (a.size() != b.size())
        return false;
    std::string pa, pb;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a.fileSize(i) != b.fileSize(i))
            return false;
        a.path(i, pa);
        b.path(i, pb);
        if (pa != pb)
            return false;
    }
    return true;
}

} // namespace twinsift
