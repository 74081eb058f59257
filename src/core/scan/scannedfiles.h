#pragma once

#include "duplicatefile.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace twinsift {

// A list of files held compactly: each folder's path once, and per file its
// folder, its name and its size. A million files under 45-byte paths take
// about 30 bytes each here, where a path string each took over 100. Storage
// grows in blocks, never by copying what it holds.
//
// Paths come back exactly as they went in, byte for byte. Files are read as
// DuplicateFile values, built on demand; code that only needs sizes or
// folders reads them without building a path.
class ScannedFiles {
public:
    class const_iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = DuplicateFile;
        using difference_type = std::ptrdiff_t;
        using reference = DuplicateFile;
        using pointer = void;

        const_iterator() = default;
        DuplicateFile operator*() const { return (*m_files)[m_at]; }
        const_iterator &operator++() {
            ++m_at;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator was = *this;
            ++m_at;
            return was;
        }
        friend bool operator==(const const_iterator &a, const const_iterator &b) {
            return a.m_at == b.m_at;
        }

    private:
        friend class ScannedFiles;
        const_iterator(const ScannedFiles *files, std::size_t at) : m_files(files), m_at(at) {}
        const ScannedFiles *m_files = nullptr;
        std::size_t m_at = 0;
    };

    ScannedFiles();
    ~ScannedFiles();
    ScannedFiles(const ScannedFiles &other);
    ScannedFiles &operator=(const ScannedFiles &other);
    ScannedFiles(ScannedFiles &&) noexcept;
    ScannedFiles &operator=(ScannedFiles &&) noexcept;

    // Files added with add() from now on lie in folder, a path without a
    // trailing slash ("" for the root of the file system). Before any
    // folder is entered, a name is the whole path.
    void enterFolder(std::string_view folder);
    void add(std::string_view name, std::uint64_t size);
    // Adds a file by its whole path; a run of files of one folder shares
    // that folder's entry.
    void push_back(const DuplicateFile &file);

    std::size_t size() const { return m_files.size(); }
    bool empty() const { return m_files.empty(); }
    std::size_t folderCount() const { return m_folders.size(); }
    std::uint64_t fileSize(std::size_t i) const { return m_files[i].size; }
    // The whole path.
    std::string path(std::size_t i) const;
    // Writes the path into out, reusing its storage.
    void path(std::size_t i, std::string &out) const;
    DuplicateFile operator[](std::size_t i) const { return {path(i), fileSize(i)}; }
    // The same, throwing std::out_of_range past the end.
    DuplicateFile at(std::size_t i) const;

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Moves file i to position target[i]; target must be a permutation of
    // 0..size()-1.
    void permute(const std::vector<std::uint32_t> &target);

    // Hands feed, in a few large pieces, bytes from which every path and
    // its place in the list follow: two lists that feed the same bytes hold
    // the same paths in the same order. Sizes are not part of it.
    void describePaths(const std::function<void(const char *, std::size_t)> &feed) const;

    friend bool operator==(const ScannedFiles &a, const ScannedFiles &b);

private:
    struct Folder {
        std::string path;        // with its closing "/"
        std::uint64_t firstName; // where its first file's name lies in the name store
    };
    struct File {
        std::uint64_t size;
        std::uint32_t folder;
        std::uint32_t name; // from the folder's firstName
    };
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };
    static constexpr std::size_t nameBlockSize = 1 << 20;

    const char *nameAt(std::uint64_t at) const;
    std::uint64_t storeName(std::string_view name);
    void addIn(std::string_view folderWithSlash, std::string_view name, std::uint64_t size);

    std::vector<Folder> m_folders;
    std::deque<File> m_files;
    // Names, each followed by a 0 byte, in blocks that never move once full;
    // name offset at lies in block at / nameBlockSize.
    std::vector<Block> m_nameBlocks;
    std::string m_pendingFolder; // with its closing "/"
    bool m_folderPending = false;
};

} // namespace twinsift
