#include "displaygroups.h"

#include "unicodetext.h"

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace twinsift::DisplayGroups {

namespace {

// Keys are folded to NFC, so comparing their UTF-8 bytes orders them by
// normalised code points, independent of the user's collation.
//
// Every scanned file takes part, and on a large tree most names occur once:
// holding a key text and a path for each at once would cost more than the
// whole scan. So the files are first sorted by a hash of their key, and only
// files whose hash another file shares have their key made again and kept.
template <typename KeyOf>
std::vector<DisplayGroup> groupByKey(const DuplicateScanResult &result, const PathOrder &order,
                                     const std::string &idPrefix, KeyOf keyOf) {
    const ScannedFiles &scanned = result.scannedFiles;
    DuplicateFile file;
    const auto load = [&](std::size_t i) -> const DuplicateFile & {
        scanned.path(i, file.url);
        file.size = scanned.fileSize(i);
        return file;
    };

    std::vector<std::pair<std::size_t, std::size_t>> hashed; // key hash, file index
    hashed.reserve(scanned.size());
    for (std::size_t i = 0; i < scanned.size(); ++i)
        hashed.emplace_back(std::hash<std::string>{}(keyOf(load(i))), i);
    std::sort(hashed.begin(), hashed.end());

    // Equal hashes need not be equal keys, so the real keys decide.
    std::map<std::string, std::vector<std::size_t>> byKey;
    for (std::size_t from = 0; from < hashed.size();) {
        std::size_t to = from + 1;
        while (to < hashed.size() && hashed[to].first == hashed[from].first)
            ++to;
        if (to - from > 1)
            for (std::size_t at = from; at < to; ++at)
                byKey[keyOf(load(hashed[at].second))].push_back(hashed[at].second);
        from = to;
    }
    hashed = {};

    std::vector<DisplayGroup> groups;
    for (auto &[key, indices] : byKey) {
        if (indices.size() < 2)
            continue;
        std::vector<DuplicateFile> files;
        files.reserve(indices.size());
        for (std::size_t i : indices)
            files.push_back(scanned[i]);
        order.sort(files, [](const DuplicateFile &f) -> std::string_view { return f.url; });
        DisplayGroup group;
        group.id = idPrefix + key;
        group.files = std::move(files);
        group.accentIndex = static_cast<std::int64_t>(groups.size());
        group.exact = false;
        groups.push_back(std::move(group));
    }
    return groups;
}

} // namespace

std::vector<DisplayGroup> exactGroups(const DuplicateScanResult &result) {
    std::vector<DisplayGroup> groups;
    groups.reserve(result.groups.size());
    for (std::size_t i = 0; i < result.groups.size(); ++i) {
        const DuplicateGroup &source = result.groups[i];
        DisplayGroup group;
        group.id = "exact:" + source.hash;
        group.files = source.files;
        group.accentIndex = static_cast<std::int64_t>(i);
        group.reclaimableBytes = source.reclaimableBytes();
        group.exact = true;
        groups.push_back(std::move(group));
    }
    return groups;
}

std::vector<DisplayGroup> sameNameSizeGroups(const DuplicateScanResult &result,
                                             const PathOrder &order) {
    return groupByKey(result, order, "name-size:", [](const DuplicateFile &f) {
        return unicodetext::foldedFileName(f.url) + "|" + std::to_string(f.size);
    });
}

std::vector<DisplayGroup> sameNameGroups(const DuplicateScanResult &result,
                                         const PathOrder &order) {
    return groupByKey(result, order, "name:", [](const DuplicateFile &f) {
        return unicodetext::foldedFileName(f.url);
    });
}

std::vector<DuplicateFile> duplicateFiles(const DuplicateScanResult &result,
                                          const PathOrder &order) {
    std::vector<DuplicateFile> files;
    for (const auto &group : result.groups)
        files.insert(files.end(), group.files.begin(), group.files.end());
    order.sort(files, [](const DuplicateFile &f) -> std::string_view { return f.url; });
    return files;
}

void sort(std::vector<const DisplayGroup *> &groups, GroupSort sortMode, const PathOrder &order) {
    const auto firstSize = [](const DisplayGroup *g) -> std::uint64_t {
        return g->files.empty() ? 0 : g->files.front().size;
    };
    switch (sortMode.value()) {
    case GroupSort::reclaimable:
        std::stable_sort(groups.begin(), groups.end(), [](const auto *a, const auto *b) {
            return a->reclaimableBytes.value_or(0) > b->reclaimableBytes.value_or(0);
        });
        break;
    case GroupSort::fileCount:
        std::stable_sort(groups.begin(), groups.end(), [](const auto *a, const auto *b) {
            return a->files.size() > b->files.size();
        });
        break;
    case GroupSort::fileSize:
        std::stable_sort(groups.begin(), groups.end(),
                         [&](const auto *a, const auto *b) { return firstSize(a) > firstSize(b); });
        break;
    case GroupSort::filename: {
        std::vector<std::string> names;
        names.reserve(groups.size());
        for (const auto *g : groups)
            names.push_back(g->files.empty() ? std::string()
                                             : unicodetext::foldedFileName(g->files.front().url));
        std::vector<std::string_view> keys(names.begin(), names.end());
        const auto perm = order.order(keys);
        std::vector<const DisplayGroup *> sorted;
        sorted.reserve(groups.size());
        for (auto i : perm)
            sorted.push_back(groups[i]);
        groups = std::move(sorted);
        break;
    }
    }
}

} // namespace twinsift::DisplayGroups
