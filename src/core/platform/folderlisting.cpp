#include "folderlisting.h"

#include "filesystemtype.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace twinsift::folderlisting {

Opened open(const std::string &path, const dev_t *parentDevice, const std::vector<Inode> &trash) {
    Opened opened;
    // The root is opened following links: the user chose it, perhaps through
    // a link. Below it nothing is followed, and a folder swapped for a link
    // since it was listed is not entered.
    const int fd =
        ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (parentDevice ? O_NOFOLLOW : 0));
    if (fd < 0) {
        opened.state = Opened::State::failed;
        opened.error = WalkError::system(errno);
        return opened;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        opened.state = Opened::State::failed;
        opened.error = WalkError::system(errno);
    } else if (std::find(trash.begin(), trash.end(), Inode{st.st_dev, st.st_ino}) != trash.end()) {
        opened.state = Opened::State::trash;
    } else if ((!parentDevice || st.st_dev != *parentDevice) && isPseudoFilesystem(fd, st.st_dev)) {
        // Below the root only a mount point can change the filesystem; the
        // type is asked there.
        opened.state = Opened::State::failed;
        opened.error = {WalkError::Kind::pseudoFilesystem, 0};
    } else if (!(opened.dir = ::fdopendir(fd))) {
        opened.state = Opened::State::failed;
        opened.error = WalkError::system(errno);
    }
    if (opened.state != Opened::State::open)
        ::close(fd);
    else
        opened.device = st.st_dev;
    return opened;
}

Result<void, WalkError> list(DIR *dir, std::vector<Listed> &batch, std::string &names, bool &listed,
                             std::size_t &toRead) {
    batch.clear();
    names.clear();
    while (batch.size() < batchSize && !listed) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry) {
            listed = true;
            if (errno)
                return Failed{WalkError::system(errno)};
            return {};
        }
        if (entry->d_name[0] == '.')
            continue; // hidden, and also "." and ".."
        const unsigned char type = entry->d_type;
        // Some file systems leave the type out of the listing.
        const bool stat = type == DT_REG || type == DT_UNKNOWN;
        toRead += stat;
        batch.push_back({names.size(), type, stat});
        names.append(entry->d_name);
        names.push_back('\0');
    }
    return {};
}

void classify(std::vector<Listed> &batch) {
    for (auto &listed : batch) {
        if (listed.type != DT_UNKNOWN || !listed.attributes)
            continue;
        const auto &a = *listed.attributes;
        listed.type = a.isDirectory      ? DT_DIR
                      : a.isSymbolicLink ? DT_LNK
                      : a.isRegularFile  ? DT_REG
                                         : DT_UNKNOWN;
    }
}

} // namespace twinsift::folderlisting
