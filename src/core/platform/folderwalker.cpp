#include "folderwalker.h"

#include "filesystemtype.h"

#include "paths.h"
#include "trash.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <list>
#include <mutex>
#include <optional>
#include <string_view>
#include <strings.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace twinsift {
namespace {

// Whether name is all digits, as a user's folder in a mount's .Trash is named.
bool isUserId(std::string_view name) {
    return !name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos;
}

// Entries listed at once. A batch's attributes are read before any of its
// entries is handed on, so this bounds how long a stop waits.
constexpr std::size_t batchSize = 256;
// Fewer files than this to read attributes of in a batch are not worth
// waking the helper thread for.
constexpr std::size_t helpFrom = 48;
// Entries a thread claims at a time.
constexpr std::size_t claimSize = 8;
// Folders the helper lists ahead of the walk, each held with one open stream
// and at most one batch; as many again may wait while the walk goes deeper.
constexpr std::size_t aheadDepth = 4;

} // namespace

// A second thread for the walk: reading entries' attributes is most of its
// time, and a cold disk serves two requests no slower than one. It shares
// the attribute reads of a long batch, and otherwise opens and lists the
// folders the walk will enter next, farthest first, so that the walk and
// the helper each list folders of their own.
class FolderWalker::Helper {
public:
    explicit Helper(const std::vector<Inode> &trash)
        : m_trash(trash), m_thread([this] { run(); }) {}
    Helper(const Helper &) = delete;
    Helper &operator=(const Helper &) = delete;
    ~Helper() {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_one();
        m_thread.join();
        for (const Ahead &ahead : m_ahead)
            if (ahead.opened.dir)
                ::closedir(ahead.opened.dir);
    }

    void readAll(int dirFd, const std::string &names, std::vector<Listed> &batch) {
        {
            std::lock_guard lock(m_mutex);
            m_dirFd = dirFd;
            m_names = &names;
            m_batch = &batch;
            m_claimed = 0;
            m_open = true;
            ++m_generation;
        }
        m_wake.notify_one();
        share();
        // A helper that has not begun by now is not waited for: the walk
        // never stands still while the other thread waits for a core or
        // lists a folder.
        std::unique_lock lock(m_mutex);
        m_open = false;
        m_done.wait(lock, [this] { return !m_helping; });
    }

    // What either thread does for one entry.
    static void read(int dirFd, const std::string &names, Listed &entry) {
        if (entry.stat)
            entry.attributes = FileAttributes::readAt(dirFd, names.c_str() + entry.name);
    }

    // The walk's next folders are the last of pending: up to aheadDepth of
    // them are listed ahead. Those not begun that fell out of reach are
    // dropped, and the walk lists them itself. Those listed already wait
    // for the walk while it enters a deeper folder first, but only a few:
    // beyond that the oldest are let go, to be listed again when reached.
    void lookAhead(const std::vector<Pending> &pending) {
        const std::size_t from = pending.size() - std::min(pending.size(), aheadDepth);
        const auto reach = [&](std::uint64_t id) {
            for (std::size_t i = from; i < pending.size(); ++i)
                if (pending[i].id == id)
                    return true;
            return false;
        };
        {
            std::lock_guard lock(m_mutex);
            std::erase_if(m_ahead, [&](const Ahead &a) { return !a.claimed && !reach(a.id); });
            auto waiting = static_cast<std::size_t>(std::count_if(
                m_ahead.begin(), m_ahead.end(), [&](const Ahead &a) { return !reach(a.id); }));
            for (auto it = m_ahead.begin(); waiting > aheadDepth && it != m_ahead.end();) {
                if (it->done && !reach(it->id)) {
                    if (it->opened.dir)
                        ::closedir(it->opened.dir);
                    it = m_ahead.erase(it);
                    --waiting;
                } else {
                    ++it;
                }
            }
            std::size_t near = m_ahead.size() - waiting;
            for (std::size_t i = pending.size(); i-- > from && near < aheadDepth;) {
                if (std::none_of(m_ahead.begin(), m_ahead.end(),
                                 [&](const Ahead &a) { return a.id == pending[i].id; })) {
                    m_ahead.push_back({pending[i].id,
                                       pending[i].path,
                                       pending[i].parentDevice,
                                       false,
                                       false,
                                       false,
                                       {}});
                    ++near;
                }
            }
        }
        m_wake.notify_one();
    }

    // The folder as the helper opened it, once it is done with it; nullopt
    // when the walk is to open it itself: the helper had not begun it, and
    // now never will, or could not finish it.
    std::optional<Opened> take(std::uint64_t id) {
        std::unique_lock lock(m_mutex);
        const auto find = [&] {
            return std::find_if(m_ahead.begin(), m_ahead.end(),
                                [&](const Ahead &a) { return a.id == id; });
        };
        auto it = find();
        if (it == m_ahead.end())
            return std::nullopt;
        if (!it->claimed) {
            m_ahead.erase(it);
            return std::nullopt;
        }
        m_done.wait(lock, [&] { return it->done; });
        std::optional<Opened> opened;
        if (!it->failed)
            opened = std::move(it->opened);
        m_ahead.erase(it);
        return opened;
    }

private:
    struct Ahead {
        std::uint64_t id;
        std::string path;
        dev_t parentDevice;
        bool claimed = false, done = false, failed = false;
        Opened opened;
    };

    void share() {
        const std::size_t count = m_batch->size();
        for (;;) {
            const std::size_t from = m_claimed.fetch_add(claimSize, std::memory_order_relaxed);
            if (from >= count)
                return;
            for (std::size_t i = from; i < std::min(count, from + claimSize); ++i)
                read(m_dirFd, *m_names, (*m_batch)[i]);
        }
    }

    Ahead *unclaimed() {
        for (auto it = m_ahead.rbegin(); it != m_ahead.rend(); ++it)
            if (!it->claimed)
                return &*it;
        return nullptr;
    }

    void run() {
        std::uint64_t seen = 0;
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock,
                        [&] { return m_quit || m_generation != seen || unclaimed() != nullptr; });
            if (m_quit)
                return;
            if (m_generation != seen) {
                seen = m_generation;
                if (!m_open)
                    continue;
                m_helping = true;
                lock.unlock();
                share();
                lock.lock();
                m_helping = false;
                m_done.notify_one();
                continue;
            }
            // A claimed entry stays where it is, and until it is done only
            // this thread changes it.
            Ahead &ahead = *unclaimed();
            ahead.claimed = true;
            lock.unlock();
            Opened opened;
            bool failed = false;
            try {
                opened = FolderWalker::open(ahead.path, &ahead.parentDevice, m_trash);
                if (!opened.error) {
                    std::size_t toRead = 0;
                    opened.listError =
                        list(opened.dir, opened.batch, opened.names, opened.listed, toRead);
                    const int fd = ::dirfd(opened.dir);
                    for (auto &listed : opened.batch)
                        read(fd, opened.names, listed);
                    classify(opened.batch);
                }
            } catch (...) {
                // Out of memory: the walk lists this folder itself, and
                // meets the failure on its own thread.
                if (opened.dir)
                    ::closedir(opened.dir);
                opened = Opened{};
                failed = true;
            }
            lock.lock();
            ahead.opened = std::move(opened);
            ahead.failed = failed;
            ahead.done = true;
            m_done.notify_one();
        }
    }

    const std::vector<Inode> &m_trash; // the walk's, which outlives this
    std::mutex m_mutex;
    std::condition_variable m_wake, m_done;
    int m_dirFd = -1;
    const std::string *m_names = nullptr;
    std::vector<Listed> *m_batch = nullptr;
    std::atomic<std::size_t> m_claimed = 0;
    std::uint64_t m_generation = 0;
    bool m_open = false, m_helping = false, m_quit = false;
    std::list<Ahead> m_ahead; // a list: the helper keeps a reference into it
    std::thread m_thread;     // last: it starts once the rest is set up
};

FolderWalker::FolderWalker(std::string root, ErrorCallback onError)
    : m_root(std::move(root)), m_onError(std::move(onError)) {
    while (m_root.size() > 1 && m_root.back() == '/')
        m_root.pop_back();
}

FolderWalker::~FolderWalker() {
    m_helper.reset();
    if (m_dir)
        ::closedir(m_dir);
}

bool FolderWalker::isPackageName(std::string_view name) {
    static constexpr std::array<std::string_view, 18> suffixes{
        ".app",           ".bundle",       ".framework",     ".plugin",    ".kext",
        ".photoslibrary", ".musiclibrary", ".imovielibrary", ".fcpbundle", ".xcodeproj",
        ".xcworkspace",   ".xcarchive",    ".playground",    ".pages",     ".numbers",
        ".key",           ".rtfd",         ".sparsebundle"};
    for (std::string_view s : suffixes) {
        if (name.size() > s.size() &&
            ::strncasecmp(name.data() + name.size() - s.size(), s.data(), s.size()) == 0)
            return true;
    }
    return false;
}

Result<void> FolderWalker::start() {
    // The home Trash and its two folders, whatever their names below the
    // root: a bind mount or a link taken as the root is caught as well.
    const std::string trash = Trash::homeFolder();
    for (const std::string &folder : {trash, trash + "/files", trash + "/info"}) {
        struct stat st;
        if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            m_trash.emplace_back(st.st_dev, st.st_ino);
    }
    const std::string resolvedRoot = paths::resolvingSymlinks(m_root);
    if (Trash::isInsideTrash(resolvedRoot))
        return {};
    m_rootHoldsTrash = paths::lastComponent(resolvedRoot) == ".Trash";

    Opened root = open(m_root, nullptr, m_trash);
    if (root.error == trashFolder)
        return {};
    if (root.error == pseudoFilesystem) {
        // Nothing to walk, which is no reason to fail the scan.
        m_onError(m_root, pseudoFilesystem);
        return {};
    }
    if (root.error)
        return Failed{root.error};
    m_dir = root.dir;
    m_dirDevice = root.device;
    m_dirPath = m_root == "/" ? std::string() : m_root;
    ++m_foldersEntered;
    return {};
}

int FolderWalker::rootFd() const {
    return m_dir && m_foldersEntered == 1 ? ::dirfd(m_dir) : -1;
}

FolderWalker::Opened FolderWalker::open(const std::string &path, const dev_t *parentDevice,
                                        const std::vector<Inode> &trash) {
    Opened opened;
    // The root is opened following links: the user chose it, perhaps through
    // a link. Below it nothing is followed, and a folder swapped for a link
    // since it was listed is not entered.
    const int fd =
        ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (parentDevice ? O_NOFOLLOW : 0));
    if (fd < 0) {
        opened.error = errno;
        return opened;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0)
        opened.error = errno;
    else if (std::find(trash.begin(), trash.end(), Inode{st.st_dev, st.st_ino}) != trash.end())
        opened.error = trashFolder;
    // Below the root only a mount point can change the filesystem; the type
    // is asked there.
    else if ((!parentDevice || st.st_dev != *parentDevice) && isPseudoFilesystem(fd, st.st_dev))
        opened.error = pseudoFilesystem;
    else if (!(opened.dir = ::fdopendir(fd)))
        opened.error = errno;
    if (opened.error)
        ::close(fd);
    else
        opened.device = st.st_dev;
    return opened;
}

bool FolderWalker::openNextFolder() {
    while (!m_pending.empty()) {
        Pending next = std::move(m_pending.back());
        m_pending.pop_back();
        m_dirPath = std::move(next.path);
        if (!m_helper && !m_pending.empty()) {
            try {
                m_helper = std::make_unique<Helper>(m_trash);
            } catch (const std::system_error &) {
                // No thread to spare: this thread lists every folder.
            }
        }
        std::optional<Opened> ahead;
        if (m_helper) {
            ahead = m_helper->take(next.id);
            m_helper->lookAhead(m_pending);
        }
        Opened opened = ahead ? std::move(*ahead) : open(m_dirPath, &next.parentDevice, m_trash);
        if (opened.error == trashFolder)
            continue;
        if (opened.error) {
            m_onError(m_dirPath, opened.error);
            continue;
        }
        m_dir = opened.dir;
        m_dirDevice = opened.device;
        ++m_foldersEntered;
        if (ahead) {
            m_batch = std::move(opened.batch);
            m_names = std::move(opened.names);
            m_listed = opened.listed;
            m_current = 0;
            if (opened.listError)
                m_onError(m_dirPath, opened.listError);
        }
        return true;
    }
    return false;
}

int FolderWalker::list(DIR *dir, std::vector<Listed> &batch, std::string &names, bool &listed,
                       std::size_t &toRead) {
    batch.clear();
    names.clear();
    while (batch.size() < batchSize && !listed) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry) {
            listed = true;
            return errno;
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
    return 0;
}

void FolderWalker::classify(std::vector<Listed> &batch) {
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

bool FolderWalker::listBatch() {
    m_current = 0;
    std::size_t toRead = 0;
    if (const int error = list(m_dir, m_batch, m_names, m_listed, toRead))
        m_onError(m_dirPath, error);
    if (m_batch.empty())
        return false;
    const int fd = ::dirfd(m_dir);
    if (toRead >= helpFrom && !m_helper) {
        try {
            m_helper = std::make_unique<Helper>(m_trash);
        } catch (const std::system_error &) {
            // No thread to spare: this thread reads them all.
        }
    }
    if (toRead >= helpFrom && m_helper) {
        m_helper->readAll(fd, m_names, m_batch);
    } else {
        for (auto &listed : m_batch)
            Helper::read(fd, m_names, listed);
    }
    classify(m_batch);
    return true;
}

bool FolderWalker::next() {
    for (;;) {
        if (!m_dir && !openNextFolder())
            return false;
        if (m_current == m_batch.size() && !listBatch()) {
            ::closedir(m_dir);
            m_dir = nullptr;
            m_listed = false;
            continue;
        }
        const Listed &listed = m_batch[m_current++];
        const char *name = m_names.c_str() + listed.name;
        m_path.assign(m_dirPath);
        m_path.push_back('/');
        m_nameOffset = m_path.size();
        m_path.append(name);
        m_type = listed.type;
        if (m_type == DT_DIR && !isPackageName(name) &&
            !(m_rootHoldsTrash && m_foldersEntered == 1 && isUserId(name)))
            m_pending.push_back({m_path, m_dirDevice, m_nextId++});
        return true;
    }
}

Result<FileAttributes> FolderWalker::attributes() const {
    if (m_type == DT_DIR || m_type == DT_LNK || m_type == DT_FIFO || m_type == DT_SOCK ||
        m_type == DT_CHR || m_type == DT_BLK) {
        FileAttributes a;
        a.isDirectory = m_type == DT_DIR;
        a.isSymbolicLink = m_type == DT_LNK;
        return a;
    }
    return m_batch[m_current - 1].attributes;
}

} // namespace twinsift
