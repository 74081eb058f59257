#pragma once

// A photo library of many small exact sets, the shape the bulk marks are
// benched on: two to five copies a set spread over a few folders, about one
// file in a thousand in a protected place, and a modification time for each.
// The same seed gives the same library in every bench.

#include "duplicatescanresult.h"
#include "modificationtimes.h"

#include <cstdint>
#include <random>
#include <string>
#include <unordered_set>

namespace twinsift::bench {

struct PhotoLibrary {
    DuplicateScanResult result;
    std::unordered_set<std::string> protectedPaths;
    ModificationTimes times;
};

inline PhotoLibrary photoLibrary(int sets) {
    std::mt19937 random(7);
    const char *folders[] = {"/home/user/Pictures/2019/Summer trip", "/home/user/Pictures/Imports",
                             "/media/user/Old drive/Backup/Pictures",
                             "/home/user/Documents/Scans/Receipts", "/home/user/Downloads"};
    PhotoLibrary library;
    DuplicateScanResult &result = library.result;
    result.rootURL = "/home/user";
    for (int s = 0; s < sets; ++s) {
        DuplicateGroup group;
        group.hash = std::to_string(s);
        group.size = 1'000'000 + static_cast<std::uint64_t>(s);
        const int copies = 2 + static_cast<int>(random() % 4);
        for (int c = 0; c < copies; ++c) {
            std::string path = std::string(folders[random() % 5]) + "/IMG_" + std::to_string(s) +
                               (c ? " copy " + std::to_string(c) : std::string()) + ".jpg";
            if (random() % 1000 == 0)
                library.protectedPaths.insert(path);
            group.files.push_back({std::move(path), group.size});
        }
        for (const auto &file : group.files)
            result.scannedFiles.push_back(file);
        result.groups.push_back(std::move(group));
    }
    result.filesScanned = static_cast<std::int64_t>(result.scannedFiles.size());
    library.times = ModificationTimes(result);
    for (std::size_t g = 0; g < result.groups.size(); ++g)
        for (std::size_t i = 0; i < result.groups[g].files.size(); ++i)
            library.times.set(g, i,
                              1'500'000'000'000'000'000 + static_cast<std::int64_t>(random()));
    return library;
}

} // namespace twinsift::bench
