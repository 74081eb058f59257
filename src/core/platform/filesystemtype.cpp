#include "filesystemtype.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <sys/statfs.h>
#include <sys/sysmacros.h>

namespace twinsift {
namespace {

// statfs magic numbers of the kernel's pseudo-filesystems.
constexpr std::array<std::uint32_t, 16> pseudoMagics{
    0x9fa0,     // proc
    0x62656572, // sysfs
    0x1cd1,     // devpts
    0x27e0eb,   // cgroup
    0x63677270, // cgroup2
    0x64626720, // debugfs
    0x74726163, // tracefs
    0x73636673, // securityfs
    0x6165676c, // pstore
    0xcafe4a11, // bpf
    0x62656570, // configfs
    0x65735543, // fusectl
    0x19800202, // mqueue
    0x958458f6, // hugetlbfs
    0x0187,     // autofs
    0x42494e4d, // binfmt_misc
};
constexpr std::uint32_t tmpfsMagic = 0x01021994;
constexpr std::uint32_t ramfsMagic = 0x858458f6;

// devtmpfs reports itself as tmpfs or ramfs; only the mount table tells it
// from a real tmpfs. Without a readable table it counts as tmpfs.
bool isDevtmpfs(dev_t device) {
    FILE *table = std::fopen("/proc/self/mountinfo", "re");
    if (!table)
        return false;
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, " %u:%u ", ::major(device), ::minor(device));
    bool found = false;
    char *line = nullptr;
    std::size_t capacity = 0;
    while (!found && ::getline(&line, &capacity, table) > 0) {
        // id parent major:minor root mount-point options... - type source ...
        const std::string_view text(line);
        const auto at = text.find(wanted);
        const auto dash = text.find(" - ");
        if (at == std::string_view::npos || dash == std::string_view::npos || at > dash)
            continue;
        found = text.substr(dash + 3).starts_with("devtmpfs ");
    }
    std::free(line);
    std::fclose(table);
    return found;
}

} // namespace

bool isPseudoFilesystem(int fd, dev_t device) {
    struct statfs fs;
    if (::fstatfs(fd, &fs) != 0)
        return false;
    const auto magic = static_cast<std::uint32_t>(fs.f_type);
    for (const std::uint32_t pseudo : pseudoMagics)
        if (magic == pseudo)
            return true;
    return (magic == tmpfsMagic || magic == ramfsMagic) && isDevtmpfs(device);
}

bool isViewFilesystem(int fd) {
    constexpr std::uint32_t fuse = 0x65735546, overlay = 0x794c7630;
    struct statfs fs;
    // Unknown counts as a view: it then vouches for less, never for more.
    if (::fstatfs(fd, &fs) != 0)
        return true;
    const auto magic = static_cast<std::uint32_t>(fs.f_type);
    return magic == fuse || magic == overlay;
}

} // namespace twinsift
