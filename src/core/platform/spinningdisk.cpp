#include "spinningdisk.h"

#include <dirent.h>
#include <fstream>
#include <limits.h>
#include <string_view>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace twinsift {
namespace {

std::string firstLine(const std::string &path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

bool exists(const std::string &path) {
    return ::access(path.c_str(), F_OK) == 0;
}

// Paravirtual drivers and the model names that emulated disks give.
bool isVirtual(const std::string &disk) {
    char target[PATH_MAX];
    const ssize_t n = ::readlink((disk + "/device/driver").c_str(), target, sizeof target - 1);
    if (n > 0) {
        const std::string_view driver(target, static_cast<std::size_t>(n));
        const auto name = driver.substr(driver.rfind('/') + 1);
        if (name == "virtio_blk" || name == "vbd" || name == "xen_blkfront")
            return true;
    }
    const std::string model = firstLine(disk + "/device/model");
    for (const char *word : {"Virtual", "QEMU", "VBOX", "VMware"})
        if (model.find(word) != std::string::npos)
            return true;
    return false;
}

bool spins(const std::string &disk, const std::string &sysRoot, int depth) {
    // Mapped and RAID devices: ask the disks they are made of.
    if (DIR *below = ::opendir((disk + "/slaves").c_str())) {
        bool any = false, anySpinning = false;
        while (const dirent *entry = ::readdir(below)) {
            if (entry->d_name[0] == '.')
                continue;
            any = true;
            if (depth < 8 && spins(sysRoot + "/class/block/" + entry->d_name, sysRoot, depth + 1))
                anySpinning = true;
        }
        ::closedir(below);
        if (any)
            return anySpinning;
    }
    if (exists(disk + "/partition"))
        return spins(disk + "/..", sysRoot, depth + 1);
    return firstLine(disk + "/queue/rotational") == "1" && !isVirtual(disk);
}

} // namespace

bool isSpinningDisk(dev_t device, const std::string &sysRoot) {
    const std::string disk = sysRoot + "/dev/block/" + std::to_string(major(device)) + ":" +
                             std::to_string(minor(device));
    if (major(device) == 0 || !exists(disk))
        return false;
    return spins(disk, sysRoot, 0);
}

} // namespace twinsift
