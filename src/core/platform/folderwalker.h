#pragma once

#include "fileattributes.h"
#include "folderlisting.h"

#include <cstdint>
#include <dirent.h>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace twinsift {

class FolderReadAhead;

// A recursive walk below one folder over raw path bytes. It never follows a
// symbolic link, never visits hidden entries (names starting with "."), and
// visits a package as one entry without entering it. Folders are entries too.
// A folder that cannot be opened or listed goes to the error callback and
// the walk goes on with the rest. So does a folder on a pseudo-filesystem
// (proc, sysfs, devtmpfs and the like), with the error of that kind: the
// walk never enters one, whose files claim sizes they do not hold and may
// block or act when read. Other filesystems mounted in the tree are walked.
// Nor does it ever enter a Trash folder, where a copy is no copy the user
// keeps: the home Trash (known by device and inode, so a second name for it
// is caught too) and a mount's ".Trash/<uid>" or ".Trash-<uid>". A root
// inside one has nothing to walk.
class FolderWalker {
public:
    using ErrorCallback = std::function<void(const std::string &path, const WalkError &error)>;

    FolderWalker(std::string root, ErrorCallback onError);
    FolderWalker(const FolderWalker &) = delete;
    FolderWalker &operator=(const FolderWalker &) = delete;
    ~FolderWalker();

    // Opens the root folder, or fails with what makes it unwalkable.
    Result<void, WalkError> start();

    // Advances to the next entry; false once the walk is over.
    bool next();

    // The current entry's full path bytes.
    const std::string &path() const { return m_path; }
    // The folder being listed, as path() begins ("" for the root of the file
    // system), and the entry's name within it.
    std::string_view folder() const { return m_dirPath; }
    // The root as every path begins with it, before its "/" ("" for "/").
    std::string_view root() const { return m_root == "/" ? std::string_view() : m_root; }
    // Right after start(), the open root folder, still the walk's own; -1
    // when there is nothing to walk.
    int rootFd() const;
    std::string_view name() const { return std::string_view(m_path).substr(m_nameOffset); }
    // Rises each time the walk starts listing another folder.
    std::uint64_t foldersEntered() const { return m_foldersEntered; }
    // Attributes of the current entry. Folders and links are known from the
    // listing; regular files and unknown types cost one fstatat, made when a
    // batch of the folder's entries is listed, on two threads for a long one.
    // A second thread also lists the next few folders ahead of the walk.
    Result<FileAttributes> attributes() const;

    // Folders whose name marks them as a document bundle from another system.
    static bool isPackageName(std::string_view name);

private:
    bool openNextFolder();
    // Lists the next entries of the open folder and reads their attributes;
    // false when it has no more.
    bool listBatch();
    // The read-ahead thread, started when first worth it; null when no
    // thread could be had.
    FolderReadAhead *readAhead();

    std::string m_root;
    ErrorCallback m_onError;
    std::vector<folderlisting::Inode> m_trash;
    // The root is a mount's shared ".Trash": each user's folder in it is Trash.
    bool m_rootHoldsTrash = false;
    std::vector<folderlisting::Pending> m_pending;
    DIR *m_dir = nullptr;
    dev_t m_dirDevice = 0;
    std::string m_dirPath;
    std::string m_path;
    std::size_t m_nameOffset = 0;
    unsigned char m_type = DT_UNKNOWN;
    std::uint64_t m_foldersEntered = 0;
    std::vector<folderlisting::Listed> m_batch;
    std::string m_names;
    std::size_t m_current = 0; // the entry after the current one in m_batch
    bool m_listed = false;     // the open folder has no more entries
    std::uint64_t m_nextId = 0;
    std::unique_ptr<FolderReadAhead> m_readAhead;
    bool m_noReadAhead = false; // no thread to spare
};

} // namespace twinsift
