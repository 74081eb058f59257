#include "cleanuprun.h"

#include "cleanupprotection.h"
#include "platform/fileattributes.h"
#include "platform/paths.h"
#include "platform/trash.h"
#include "scan/sha256hasher.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace twinsift {
namespace {

// Where a file lives on disk. Two paths with the same identity are one file
// (a hard link, a bind mount, another alias of the same folder), so moving one
// of them never leaves the other behind as a surviving copy.
struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    std::uint64_t size = 0;

    bool sameFile(const FileAttributes &a) const { return a.device == device && a.inode == inode; }
};

std::optional<std::string> digestOf(Sha256Hasher &hasher, const std::string &path) {
    HashOutcome outcome = hasher.hashFile(path);
    if (outcome.status != HashOutcome::Status::ok)
        return std::nullopt;
    return std::move(outcome.digest);
}

bool isScannedShape(const FileAttributes &a, std::uint64_t size) {
    return a.isRegularFile && !a.isSymbolicLink && a.fileSize && *a.fileSize == size;
}

// The kept copy that let a set pass, as it was when it was hashed. Only the
// very same file, unchanged since, still vouches for the set.
struct KeptCopy {
    std::string path;
    FileAttributes attributes;

    bool isUnchanged() const {
        const auto now = FileAttributes::read(path);
        return now && isScannedShape(*now, *attributes.fileSize) &&
               now->device == attributes.device && now->inode == attributes.inode &&
               now->changeSeconds == attributes.changeSeconds &&
               now->changeNanoseconds == attributes.changeNanoseconds;
    }
};

// Cleanup runs of one user never overlap, within this process or across
// processes: two runs with opposite marks on one set would otherwise each
// find the other's marked copy still in place and both move theirs. The
// lock is held for the whole run, so a waiting run validates only after the
// one before it has finished moving.
class RunLock {
public:
    RunLock() : m_inProcess(processMutex()) {
        // The per-user runtime folder, else the history's own folder.
        if (const char *runtime = std::getenv("XDG_RUNTIME_DIR"); isAbsolute(runtime))
            m_fd = openLockFile(paths::appending(runtime, "ambrivo-twinsift-cleanup.lock"));
        if (m_fd < 0) {
            const char *data = std::getenv("XDG_DATA_HOME");
            const std::string dataHome =
                isAbsolute(data) ? std::string(data)
                                 : paths::appending(paths::homeDirectory(), ".local/share");
            const std::string folder = paths::appending(dataHome, "Ambrivo/Twinsift");
            makeFolders(folder);
            m_fd = openLockFile(paths::appending(folder, "cleanup.lock"));
        }
        // Without a lock file the in-process lock still holds, and every
        // move is preceded by a check of its set's kept copy.
        if (m_fd >= 0)
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~RunLock() {
        if (m_fd >= 0)
            ::close(m_fd); // releases the lock
    }
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

private:
    static std::mutex &processMutex() {
        static std::mutex mutex;
        return mutex;
    }

    static bool isAbsolute(const char *path) { return path && path[0] == '/'; }

    static int openLockFile(const std::string &path) {
        return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    }

    static void makeFolders(const std::string &folder) {
        for (std::size_t slash = 1; slash != std::string::npos;) {
            slash = folder.find('/', slash + 1);
            ::mkdir(folder.substr(0, slash).c_str(), 0755);
        }
    }

    std::lock_guard<std::mutex> m_inProcess;
    int m_fd = -1;
};

class Validation {
public:
    explicit Validation(const std::unordered_set<std::string> &selectedPaths)
        : m_selectedPaths(selectedPaths) {}

    // Checks one set that holds a marked file: every marked file must still be
    // what the scan found, and one kept copy that is a different file on disk
    // must still match. Returns the stop message, or nothing when it passes.
    std::optional<std::string> check(const DuplicateGroup &group) {
        std::vector<const DuplicateFile *> marked;
        std::vector<const DuplicateFile *> kept;
        for (const DuplicateFile &f : group.files)
            (m_selectedPaths.contains(f.url) ? marked : kept).push_back(&f);
        if (kept.empty())
            return CleanupRun::noKeepCopyMessage;

        std::vector<Identity> markedIdentities;
        for (const DuplicateFile *f : marked) {
            const auto attributes = FileAttributes::read(f->url);
            if (!attributes)
                return CleanupRun::notRevalidatedMessage;
            if (!isScannedShape(*attributes, group.size))
                return CleanupRun::changedMessage;
            const auto digest = digestOf(m_hasher, f->url);
            if (!digest)
                return CleanupRun::notRevalidatedMessage;
            if (*digest != group.hash)
                return CleanupRun::changedMessage;
            const Identity identity{attributes->device, attributes->inode, group.size};
            markedIdentities.push_back(identity);
            m_identities.insert_or_assign(f->url, identity);
        }

        for (const DuplicateFile *k : kept) {
            const auto attributes = FileAttributes::read(k->url);
            if (!attributes || !isScannedShape(*attributes, group.size))
                continue;
            const bool aliasOfMarked =
                std::any_of(markedIdentities.begin(), markedIdentities.end(),
                            [&](const Identity &m) { return m.sameFile(*attributes); });
            if (aliasOfMarked)
                continue;
            const auto digest = digestOf(m_hasher, k->url);
            if (digest && *digest == group.hash) {
                m_keptCopies.push_back({k->url, *attributes});
                for (const DuplicateFile *f : marked)
                    m_keptCopyOf.insert_or_assign(f->url, m_keptCopies.size() - 1);
                return std::nullopt;
            }
        }
        return CleanupRun::noUnchangedKeepCopyMessage;
    }

    // The kept copy that let the set of a validated marked file pass.
    const KeptCopy &keptCopyOf(const std::string &path) const {
        return m_keptCopies[m_keptCopyOf.at(path)];
    }

    // The identity each validated marked file had, to compare again right
    // before it moves.
    const Identity *identityOf(const std::string &path) const {
        const auto it = m_identities.find(path);
        return it == m_identities.end() ? nullptr : &it->second;
    }

private:
    const std::unordered_set<std::string> &m_selectedPaths;
    Sha256Hasher m_hasher;
    std::unordered_map<std::string, Identity> m_identities;
    std::vector<KeptCopy> m_keptCopies;
    std::unordered_map<std::string, std::size_t> m_keptCopyOf;
};

} // namespace

namespace CleanupRun {

CleanupOutcome run(const DuplicateScanResult &result, const std::vector<DuplicateFile> &selected,
                   const std::function<bool(const std::string &path)> &isProtected) {
    const RunLock lock;
    std::unordered_set<std::string> selectedPaths;
    for (const DuplicateFile &f : selected)
        selectedPaths.insert(f.url);

    Validation validation(selectedPaths);
    for (const DuplicateGroup &group : result.groups) {
        const bool affected =
            std::any_of(group.files.begin(), group.files.end(),
                        [&](const auto &f) { return selectedPaths.contains(f.url); });
        if (!affected)
            continue;
        if (auto stop = validation.check(group))
            return CleanupStop{std::move(*stop)};
    }
    // A selected file that belongs to no set was never checked against a
    // surviving copy, so nothing may move.
    for (const DuplicateFile &f : selected) {
        if (!validation.identityOf(f.url))
            return CleanupStop{notRevalidatedMessage};
    }

    CleanupReport report;
    for (const DuplicateFile &f : selected) {
        // The second guard never lapses: without a test of its own the run
        // asks the classifier itself.
        if (isProtected ? isProtected(f.url) : CleanupProtection::isProtected(f.url)) {
            report.failures.push_back({f.url, protectedMessage});
            continue;
        }
        const Identity *validated = validation.identityOf(f.url);
        const auto now = FileAttributes::read(f.url);
        if (!now || !validated->sameFile(*now) || !isScannedShape(*now, validated->size)) {
            report.failures.push_back({f.url, changedMessage});
            continue;
        }
        // Its set passed on a kept copy that may have gone or changed since,
        // while later sets were hashed. Without it, this copy may be the last.
        if (!validation.keptCopyOf(f.url).isUnchanged()) {
            report.failures.push_back({f.url, noUnchangedKeepCopyMessage});
            continue;
        }
        if (const auto moved = Trash::moveToTrash(f.url); !moved) {
            report.failures.push_back({f.url, moved.error()});
            continue;
        }
        report.movedPaths.push_back(f.url);
        report.movedBytes += f.size;
    }
    return report;
}

} // namespace CleanupRun
} // namespace twinsift
