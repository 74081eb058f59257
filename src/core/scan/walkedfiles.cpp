#include "walkedfiles.h"

#include <utility>

namespace twinsift {

void WalkedFiles::add(std::string_view name, std::uint64_t size, const FileIdentity &identity) {
    const std::size_t folders = m_files.folderCount();
    m_files.add(name, size);
    if (m_files.folderCount() != folders)
        m_runStarts.push_back(static_cast<std::uint32_t>(m_files.size() - 1));
    m_identities.push_back(identity);
}

void WalkedFiles::dropIdentities() {
    std::deque<FileIdentity>().swap(m_identities);
}

ScannedFiles WalkedFiles::take() {
    dropIdentities();
    std::vector<std::uint32_t>().swap(m_runStarts);
    return std::exchange(m_files, ScannedFiles());
}

} // namespace twinsift
