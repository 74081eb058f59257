#pragma once

#include "fileidentity.h"
#include "scannedfiles.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace twinsift {

// The eligible files of one walk, in the order the walk met them: the
// compact list the result will keep, plus the identity hashing needs and
// where each folder's files begin.
//
// A folder's files are added right after it, so each folder is one run of
// consecutive indices.
class WalkedFiles {
public:
    // Files added from now on lie in folder, a path without a trailing
    // slash ("" for the root of the file system).
    void enterFolder(std::string_view folder) { m_files.enterFolder(folder); }
    void add(std::string_view name, std::uint64_t size, const FileIdentity &identity);

    std::size_t size() const { return m_files.size(); }
    std::uint64_t fileSize(std::size_t i) const { return m_files.fileSize(i); }
    const FileIdentity &identity(std::size_t i) const { return m_identities[i]; }
    // The whole path, exactly the bytes the walk met.
    std::string path(std::size_t i) const { return m_files.path(i); }
    // Writes the path into out, reusing its storage.
    void path(std::size_t i, std::string &out) const { m_files.path(i, out); }

    // See ScannedFiles::describePaths.
    void describePaths(const std::function<void(const char *, std::size_t)> &feed) const {
        m_files.describePaths(feed);
    }

    // Where each run of files of one folder begins, ascending, the first 0.
    const std::vector<std::uint32_t> &runStarts() const { return m_runStarts; }

    // Frees the identities once hashing is done with them.
    void dropIdentities();
    // Hands the files over, still in walk order; nothing is left behind.
    ScannedFiles take();

private:
    ScannedFiles m_files;
    std::deque<FileIdentity> m_identities;
    std::vector<std::uint32_t> m_runStarts;
};

} // namespace twinsift
