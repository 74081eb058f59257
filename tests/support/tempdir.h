#pragma once

// Temporary folders and files for tests that work on real disks.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace twinsift::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return m_path; }
    // path() + "/" + relative, as raw bytes.
    std::string operator/(std::string_view relative) const;

private:
    std::string m_path;
};

// Writes bytes to path, creating parent folders.
void writeFile(const std::string &path, std::string_view bytes);
// A file of size bytes whose content is determined by seed.
void writePattern(const std::string &path, std::uint64_t size, std::uint32_t seed);
void makeDirs(const std::string &path);
std::string readFile(const std::string &path);

// Removes a tree even where a test took permissions away.
void removeTree(const std::string &path);

} // namespace twinsift::testing
