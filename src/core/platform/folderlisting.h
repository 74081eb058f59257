#pragma once

#include "fileattributes.h"
#include "result.h"

#include <cstddef>
#include <cstdint>
#include <dirent.h>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace twinsift {

// Why the walk passed over a folder or could not read an entry.
struct WalkError {
    enum class Kind {
        systemError,      // the system refused; systemError says why
        pseudoFilesystem, // proc, sysfs and the like: never entered
    };
    Kind kind = Kind::systemError;
    int systemError = 0; // the errno, for systemError

    static WalkError system(int error) { return {Kind::systemError, error}; }
    friend bool operator==(const WalkError &, const WalkError &) = default;
};

// The pieces of a folder's listing that the walk and its read-ahead share.
namespace folderlisting {

using Inode = std::pair<dev_t, ino_t>;

// Entries listed at once. A batch's attributes are read before any of its
// entries is handed on, so this bounds how long a stop waits.
constexpr std::size_t batchSize = 256;

// A folder the walk will enter.
struct Pending {
    std::string path;
    dev_t parentDevice;
    std::uint64_t id; // tells the read-ahead which folder it is
};

struct Listed {
    std::size_t name; // offset into the names, which end each with a 0
    unsigned char type;
    bool stat; // its attributes are to be read
    Result<FileAttributes> attributes = Failed<int>{0};
};

// A folder opened to be walked; when the read-ahead opened it, with its
// first entries listed and their attributes read.
struct Opened {
    enum class State {
        open,
        trash, // a Trash folder, passed over without an error
        failed,
    };
    State state = State::open;
    WalkError error; // when failed
    DIR *dir = nullptr;
    dev_t device = 0;
    std::vector<Listed> batch;
    std::string names;
    bool listed = false;
    std::optional<WalkError> listError;
};

// Opens the folder at path. parentDevice: the device of the folder that
// listed it; null for the root. trash: the home Trash's folders, never
// entered.
Opened open(const std::string &path, const dev_t *parentDevice, const std::vector<Inode> &trash);

// Lists up to one batch of dir's entries, without attributes, counting in
// toRead those whose attributes are to be read; listed once there are no
// more. Fails with what ended the listing early.
Result<void, WalkError> list(DIR *dir, std::vector<Listed> &batch, std::string &names, bool &listed,
                             std::size_t &toRead);

// Reads the attributes of one listed entry of the folder open as dirFd.
inline void read(int dirFd, const std::string &names, Listed &entry) {
    if (entry.stat)
        entry.attributes = FileAttributes::readAt(dirFd, names.c_str() + entry.name);
}

// Names the type of entries the listing left unknown from their attributes.
void classify(std::vector<Listed> &batch);

} // namespace folderlisting
} // namespace twinsift
