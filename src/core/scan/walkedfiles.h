#pragma once

#include "fileidentity.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace twinsift {

// The eligible files of one walk, in the order the walk met them, held
// compactly: each folder's path once, and per file its folder, its name and
// its size, plus the identity hashing needs. A million files under
// 45-byte paths take about 60 bytes each here, where a path string each
// took over 100. Storage grows in blocks, never by copying what it holds.
//
// A folder's files are added right after it, so each folder is one run of
// consecutive indices.
class WalkedFiles {
public:
    WalkedFiles();
    ~WalkedFiles();
    WalkedFiles(const WalkedFiles &) = delete;
    WalkedFiles &operator=(const WalkedFiles &) = delete;

    // Files added from now on lie in folder, a path without a trailing
    // slash ("" for the root of the file system).
    void enterFolder(std::string_view folder);
    void add(std::string_view name, std::uint64_t size, const FileIdentity &identity);

    std::size_t size() const { return m_files.size(); }
    std::uint64_t fileSize(std::size_t i) const { return m_files[i].size; }
    const FileIdentity &identity(std::size_t i) const { return m_identities[i]; }
    // The whole path, exactly the bytes the walk met.
    std::string path(std::size_t i) const;
    // Writes the path into out, reusing its storage.
    void path(std::size_t i, std::string &out) const;

    // Where each run of files of one folder begins, ascending, the first 0.
    std::vector<std::uint32_t> runStarts() const;

    // Frees the identities once hashing is done with them.
    void dropIdentities();
    // Hands every file over in walk order, path and size, freeing the
    // storage behind as it goes; the list is empty afterwards.
    void drain(const std::function<void(std::string &&path, std::uint64_t size)> &take);

private:
    struct Folder {
        std::string path;
        std::uint64_t firstName; // where its first file's name lies in the name store
        std::uint32_t firstFile;
    };
    struct File {
        std::uint64_t size;
        std::uint32_t folder;
        std::uint32_t name; // from the folder's firstName
    };
    static constexpr std::size_t nameBlockSize = 1 << 20;

    const char *nameAt(std::uint64_t at) const;
    std::uint64_t storeName(std::string_view name);

    std::vector<Folder> m_folders;
    std::deque<File> m_files;
    std::deque<FileIdentity> m_identities;
    // Names, each followed by a 0 byte, in blocks that never move.
    std::vector<std::unique_ptr<char[]>> m_nameBlocks;
    std::uint64_t m_nameEnd = 0;
    std::string m_pendingFolder;
    bool m_folderPending = false;
};

} // namespace twinsift
