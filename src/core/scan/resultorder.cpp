#include "resultorder.h"

#include "digestmemory.h"
#include "pathorder.h"
#include "sha256hasher.h"

#include <algorithm>
#include <optional>
#include <string>

namespace twinsift {
namespace {

// Everything the order by path of the walked files follows from: their
// paths in walk order and the collation locale.
std::optional<Sha256Digest> pathsFingerprint(const WalkedFiles &files) {
    Sha256Hasher hasher;
    if (!hasher.begin())
        return std::nullopt;
    const std::string locale = PathOrder::collationLocale();
    hasher.update(reinterpret_cast<const unsigned char *>(locale.c_str()), locale.size() + 1);
    files.describePaths([&hasher](const char *bytes, std::size_t size) {
        hasher.update(reinterpret_cast<const unsigned char *>(bytes), size);
    });
    Sha256Digest fingerprint;
    if (!hasher.finish(fingerprint))
        return std::nullopt;
    return fingerprint;
}

// Each file's place in the order by path: one collation pass over every
// eligible file orders both the scanned files and every group's files.
std::vector<std::uint32_t> pathRanks(const WalkedFiles &files) {
    std::vector<std::uint32_t> rank(files.size());
    const auto byPath =
        PathOrder().orderRuns(files.size(), files.runStarts(),
                              [&files](std::size_t i, std::string &path) { files.path(i, path); });
    for (std::uint32_t k = 0; k < byPath.size(); ++k)
        rank[byPath[k]] = k;
    return rank;
}

} // namespace

DuplicateScanResult orderResult(WalkedFiles &files, std::vector<DigestGroup> groups,
                                DigestMemory *memory, DigestCache::Kept *kept) {
    const std::size_t count = files.size();
    const auto fingerprint = memory ? pathsFingerprint(files) : std::nullopt;
    std::vector<std::uint32_t> rank;
    if (fingerprint)
        if (auto last = memory->takePathOrder(*fingerprint); last && last->size() == count)
            rank = std::move(*last);
    if (rank.size() != count)
        rank = pathRanks(files);

    DuplicateScanResult result;
    result.groups.reserve(groups.size());
    for (auto &source : groups) {
        auto &indices = source.indices;
        std::sort(indices.begin(), indices.end(),
                  [&](std::uint32_t x, std::uint32_t y) { return rank[x] < rank[y]; });
        DuplicateGroup group;
        group.hash = Sha256Hasher::hex(source.digest);
        group.size = files.fileSize(indices.front());
        group.sharedInodeFiles = source.sharedInodeFiles;
        group.files.reserve(indices.size());
        for (auto index : indices)
            group.files.push_back({files.path(index), files.fileSize(index)});
        result.groups.push_back(std::move(group));
    }
    std::vector<DigestGroup>().swap(groups);
    std::stable_sort(result.groups.begin(), result.groups.end(),
                     [](const DuplicateGroup &a, const DuplicateGroup &b) {
                         const auto ra = a.reclaimableBytes(), rb = b.reclaimableBytes();
                         if (ra != rb)
                             return ra > rb;
                         return a.files.size() > b.files.size();
                     });

    // The compact list the walk built becomes the result's own, put in
    // path order in place.
    result.scannedFiles = files.take();
    result.scannedFiles.permute(rank);
    if (fingerprint && kept) {
        kept->orderFingerprint = *fingerprint;
        kept->order = rank;
    }
    if (fingerprint)
        memory->keepPathOrder(*fingerprint, std::move(rank));
    return result;
}

} // namespace twinsift
