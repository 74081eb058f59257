#pragma once

#include "duplicatescanner.h"
#include "walkedfiles.h"

#include <cstdint>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace twinsift {

// What the walk of a scan hands on.
struct WalkOutput {
    WalkedFiles files; // the eligible files, in the order the walk met them
    std::int64_t skipped = 0;
    std::int64_t filesScanned = 0;
    std::int64_t ignoredSmallFiles = 0;
};

enum class WalkEnd { complete, cancelled, folderUnavailable };

// Who hears of the walk as it goes: of the root once it is open, with its
// descriptor (the walk's own, to copy), and of each eligible file as soon
// as it is listed.
struct WalkListener {
    std::function<void(std::string_view root, int rootFd)> rooted;
    std::function<void(std::uint32_t index, nlink_t links)> found;
};

// Walks folder for the scan: every regular file of at least
// minimumFileSizeBytes goes to out.files, named below the folder's absolute
// form. Reports the count every few files and once at the end.
WalkEnd walkTree(const std::string &folder, std::uint64_t minimumFileSizeBytes,
                 const DuplicateScanner::ProgressCallback &progress, const std::stop_token &stop,
                 const WalkListener &listener, WalkOutput &out);

} // namespace twinsift
