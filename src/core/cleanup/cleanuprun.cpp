#include "cleanuprun.h"

#include "cleanuplock.h"
#include "cleanupprotection.h"
#include "cleanuptree.h"
#include "platform/fileattributes.h"
#include "platform/filereader.h"
#include "platform/filesystemtype.h"
#include "platform/folderdescriptors.h"
#include "platform/paths.h"
#include "platform/trash.h"
#include "platform/uniquefd.h"
#include "scan/sha256hasher.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace twinsift {
namespace {

using namespace cleanuptree;

// A set may hold more files than a process may open by default.
void allowManyOpenFiles() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct rlimit limit;
        if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
            limit.rlim_cur = limit.rlim_max;
            ::setrlimit(RLIMIT_NOFILE, &limit);
        }
    });
}

class Validation {
public:
    Validation(const Tree &tree, const std::unordered_set<std::string> &selectedPaths)
        : m_tree(tree), m_selectedPaths(selectedPaths) {}

    // Checks one set that holds a marked file: every marked file must still be
    // what the scan found, and one kept copy that is a different file on disk,
    // outside any Trash, must still match. Returns why the run stops, or
    // nothing when it passes.
    std::optional<CleanupStopReason> check(const DuplicateGroup &group) {
        std::vector<const DuplicateFile *> marked;
        std::vector<const DuplicateFile *> kept;
        for (const DuplicateFile &f : group.files)
            (m_selectedPaths.contains(f.url) ? marked : kept).push_back(&f);
        if (kept.empty())
            return CleanupStopReason::noKeepCopy;

        std::vector<Identity> markedIdentities;
        for (const DuplicateFile *f : marked) {
            const auto place = m_tree.place(f->url);
            if (!place)
                return isPathChange(place.error()) ? CleanupStopReason::changedAfterScan
                                                   : CleanupStopReason::notRevalidated;
            auto file = openScanned(*place, group.size);
            if (!file)
                return file.error() == ESTALE ? CleanupStopReason::changedAfterScan
                                              : CleanupStopReason::notRevalidated;
            const HashOutcome digest = m_hasher.hash(file->reader);
            if (digest.status != HashOutcome::Status::ok)
                return CleanupStopReason::notRevalidated;
            if (digest.digest != group.hash)
                return CleanupStopReason::changedAfterScan;
            const Identity identity{file->attributes.device, file->attributes.inode};
            markedIdentities.push_back(identity);
            m_validated.insert_or_assign(f->url, file->attributes);
        }

        for (const DuplicateFile *k : kept) {
            const auto place = m_tree.place(k->url);
            if (!place)
                continue;
            auto file = openScanned(*place, group.size);
            if (!file)
                continue;
            const FileAttributes &attributes = file->attributes;
            const bool aliasOfMarked =
                std::any_of(markedIdentities.begin(), markedIdentities.end(),
                            [&](const Identity &m) { return m.sameFile(attributes); });
            // What is in a Trash is already on its way out.
            if (aliasOfMarked || Trash::isInsideTrash(Tree::realPath(*place, k->url)))
                continue;
            // A FUSE or overlay view may show a marked file again as
            // another device and inode: it vouches only for files it holds.
            if (isViewFilesystem(place->folder.get()) &&
                std::any_of(markedIdentities.begin(), markedIdentities.end(),
                            [&](const Identity &m) { return m.device != attributes.device; }))
                continue;
            const HashOutcome digest = m_hasher.hash(file->reader);
            if (digest.status == HashOutcome::Status::ok && digest.digest == group.hash) {
                m_keptCopies.push_back({k->url, attributes});
                for (const DuplicateFile *f : marked)
                    m_keptCopyOf.insert_or_assign(f->url, m_keptCopies.size() - 1);
                return std::nullopt;
            }
        }
        return CleanupStopReason::noUnchangedKeepCopy;
    }

    // The kept copy that let the set of a validated marked file pass.
    const KeptCopy &keptCopyOf(const std::string &path) const {
        return m_keptCopies[m_keptCopyOf.at(path)];
    }

    // What each validated marked file was, to compare again right before it
    // moves; none for a file that was never validated.
    const FileAttributes *validatedAs(const std::string &path) const {
        const auto it = m_validated.find(path);
        return it == m_validated.end() ? nullptr : &it->second;
    }

    // Whether the marked file at path is still the one validated: an inode
    // number freed by a deleted file is soon given to a new one, whose
    // change time is its own.
    bool isAsValidated(const std::string &path, const FileAttributes &now) const {
        const auto it = m_validated.find(path);
        return it != m_validated.end() && it->second.device == now.device &&
               it->second.inode == now.inode && it->second.fileSize == now.fileSize &&
               it->second.changeSeconds == now.changeSeconds &&
               it->second.changeNanoseconds == now.changeNanoseconds;
    }

    Sha256Hasher &hasher() { return m_hasher; }

private:
    const Tree &m_tree;
    const std::unordered_set<std::string> &m_selectedPaths;
    Sha256Hasher m_hasher;
    std::unordered_map<std::string, FileAttributes> m_validated;
    std::vector<KeptCopy> m_keptCopies;
    std::unordered_map<std::string, std::size_t> m_keptCopyOf;
};

// Moves the marked files of sets that passed, one set at a time.
class Mover {
public:
    Mover(const Tree &tree, Validation &validation,
          const std::function<bool(const std::string &path)> &isProtected)
        : m_tree(tree), m_validation(validation), m_isProtected(isProtected) {}

    void moveSet(const DuplicateGroup &group, const std::vector<const DuplicateFile *> &marked) {
        const SetLock lock(m_tree, group);
        struct Moved {
            const DuplicateFile *file;
            Tree::Place place;
        };
        std::vector<Moved> moved;
        for (const DuplicateFile *f : marked) {
            auto place = moveOne(*f);
            m_done.insert(f->url);
            if (place)
                moved.push_back({f, std::move(*place)});
        }
        if (moved.empty())
            return;
        // The set's kept copy must have come through its marked copies'
        // moves: an alias of one of them went with it, and a rewrite under a
        // clock too coarse to show it would leave no copy outside the Trash.
        const KeptCopy &kept = m_validation.keptCopyOf(moved.front().file->url);
        if (kept.stillHolds(m_tree, m_validation.hasher(), group.hash))
            return;
        for (auto it = moved.rbegin(); it != moved.rend(); ++it)
            putBack(*it->file, it->place);
    }

    // Whatever was not handled yet when the run had to end.
    void abandon(const std::vector<DuplicateFile> &selected) {
        for (const DuplicateFile &f : selected)
            if (!m_done.contains(f.url))
                m_report.failures.push_back({f.url, CleanupFailureReason::internalError, {}});
    }

    CleanupReport take() { return std::move(m_report); }

private:
    std::optional<Tree::Place> moveOne(const DuplicateFile &f) {
        auto place = m_tree.place(f.url);
        // The second guard never lapses: without a test of its own the run
        // asks the classifier itself, about the path as scanned and about
        // the place the kernel says the file is.
        const auto isProtected = [&](const std::string &path) {
            return m_isProtected ? m_isProtected(path) : CleanupProtection::isProtected(path);
        };
        const std::string real = place ? Tree::realPath(*place, f.url) : f.url;
        if (isProtected(f.url) || (real != f.url && isProtected(real))) {
            m_report.failures.push_back({f.url, CleanupFailureReason::protectedLocation, {}});
            return std::nullopt;
        }
        const FileAttributes *validated = m_validation.validatedAs(f.url);
        const auto now = place ? FileAttributes::readAt(place->folder.get(), place->name.c_str())
                               : Result<FileAttributes>(Failed{place.error()});
        if (!now || !isScannedShape(*now, f.size) || !m_validation.isAsValidated(f.url, *now)) {
            m_report.failures.push_back({f.url, CleanupFailureReason::changedAfterScan, {}});
            return std::nullopt;
        }
        // Its set passed on a kept copy that may have gone or changed since,
        // while later sets were hashed. Without it, this copy may be the last.
        if (!m_validation.keptCopyOf(f.url).isUnchanged(m_tree)) {
            m_report.failures.push_back({f.url, CleanupFailureReason::keptCopyGone, {}});
            return std::nullopt;
        }
        auto entry = Trash::moveAt(place->folder.get(), place->name,
                                   Trash::Expected{validated->device, validated->inode});
        if (!entry) {
            if (entry.error().problem == Trash::Problem::changed)
                m_report.failures.push_back({f.url, CleanupFailureReason::changedAfterScan, {}});
            else
                m_report.failures.push_back({f.url, CleanupFailureReason::trash, entry.error()});
            return std::nullopt;
        }
        m_report.movedPaths.push_back(f.url);
        m_report.movedBytes += f.size;
        m_report.trashed.push_back(std::move(*entry));
        return std::move(*place);
    }

    void putBack(const DuplicateFile &f, const Tree::Place &place) {
        auto &paths = m_report.movedPaths;
        const auto at = std::find(paths.begin(), paths.end(), f.url);
        const auto index = static_cast<std::size_t>(at - paths.begin());
        const Trash::Entry entry = m_report.trashed[index];
        if (const auto back = Trash::putBackAt(entry, place.folder.get(), place.name); !back) {
            // It stays in the Trash, where a file manager can still restore it.
            m_report.failures.push_back({f.url, CleanupFailureReason::stillInTrash, back.error()});
            return;
        }
        paths.erase(at);
        m_report.trashed.erase(m_report.trashed.begin() + static_cast<std::ptrdiff_t>(index));
        m_report.movedBytes -= f.size;
        m_report.failures.push_back({f.url, CleanupFailureReason::putBack, {}});
    }

    const Tree &m_tree;
    Validation &m_validation;
    const std::function<bool(const std::string &path)> &m_isProtected;
    CleanupReport m_report;
    std::unordered_set<std::string> m_done;
};

} // namespace

namespace CleanupRun {

CleanupOutcome run(const DuplicateScanResult &result, const std::vector<DuplicateFile> &selected,
                   const std::function<bool(const std::string &path)> &isProtected) {
    const CleanupLock lock;
    allowManyOpenFiles();
    std::unordered_set<std::string> selectedPaths;
    for (const DuplicateFile &f : selected)
        selectedPaths.insert(f.url);

    const Tree tree(result.rootURL);
    Validation validation(tree, selectedPaths);
    std::vector<std::pair<const DuplicateGroup *, std::vector<const DuplicateFile *>>> affected;
    for (const DuplicateGroup &group : result.groups) {
        std::vector<const DuplicateFile *> marked;
        for (const DuplicateFile &f : group.files)
            if (selectedPaths.contains(f.url))
                marked.push_back(&f);
        if (marked.empty())
            continue;
        if (auto stop = validation.check(group))
            return CleanupStop{*stop};
        affected.emplace_back(&group, std::move(marked));
    }
    // A selected file that belongs to no set was never checked against a
    // surviving copy, so nothing may move.
    for (const DuplicateFile &f : selected) {
        if (!validation.validatedAs(f.url))
            return CleanupStop{CleanupStopReason::notRevalidated};
    }

    Mover mover(tree, validation, isProtected);
    try {
        for (const auto &[group, marked] : affected)
            mover.moveSet(*group, marked);
    } catch (...) {
        // What moved stays listed as moved: the report must say where every
        // file is, even when the run could not finish.
        mover.abandon(selected);
    }
    return mover.take();
}

} // namespace CleanupRun
} // namespace twinsift
