#include "cleanuprun.h"

#include "cleanupprotection.h"
#include "platform/fileattributes.h"
#include "platform/trash.h"
#include "scan/sha256hasher.h"

#include <algorithm>
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
            if (digest && *digest == group.hash)
                return std::nullopt;
        }
        return CleanupRun::noUnchangedKeepCopyMessage;
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
};

} // namespace

std::optional<std::string> cleanupSHA256(const std::string &path) {
    Sha256Hasher hasher;
    return digestOf(hasher, path);
}

namespace CleanupRun {

CleanupOutcome run(const DuplicateScanResult &result, const std::vector<DuplicateFile> &selected,
                   const std::function<bool(const std::string &path)> &isProtected) {
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
        if (auto refusal = Trash::moveToTrash(f.url)) {
            report.failures.push_back({f.url, std::move(*refusal)});
            continue;
        }
        report.movedPaths.push_back(f.url);
        report.movedBytes += f.size;
    }
    return report;
}

} // namespace CleanupRun
} // namespace twinsift
