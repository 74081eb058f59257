#pragma once

// Scan results built by hand, for rules that only look at paths and sizes.

#include "duplicatescanresult.h"
#include "resultreview.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace twinsift::testing {

inline DuplicateFile file(std::string path, std::uint64_t size) {
    return {std::move(path), size};
}

inline DuplicateGroup group(std::string hash, std::uint64_t size,
                            std::initializer_list<std::string> paths) {
    DuplicateGroup g;
    g.hash = std::move(hash);
    g.size = size;
    for (const auto &p : paths)
        g.files.push_back({p, size});
    return g;
}

// A result whose scanned files are the files of its groups plus extra.
inline DuplicateScanResult resultOf(std::vector<DuplicateGroup> groups,
                                    std::vector<DuplicateFile> extra = {}) {
    DuplicateScanResult r;
    r.rootURL = "/data";
    for (const auto &g : groups)
        for (const auto &f : g.files)
            r.scannedFiles.push_back(f);
    for (const auto &f : extra)
        r.scannedFiles.push_back(f);
    r.filesScanned = static_cast<std::int64_t>(r.scannedFiles.size());
    r.groups = std::move(groups);
    return r;
}

template <typename Files> std::vector<std::string> pathsOf(const Files &files) {
    std::vector<std::string> out;
    for (const auto &f : files)
        out.push_back(f.url);
    return out;
}

// Marks path through the group the grouped table would show it in, looked up
// again by id as a row does.
inline void toggle(ResultReview &review, const std::string &path) {
    for (const auto &shown : review.searchedGroups())
        for (const auto &f : shown.files)
            if (f.url == path)
                return review.toggleTrash(f, review.fullGroup(shown));
    FAIL() << path << " is not shown";
}

} // namespace twinsift::testing
