#pragma once

#include "digestmemory.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace twinsift {

// Digests remembered across runs of the app. After a scan, the digests of
// its files go to one file per scanned folder, under
// $XDG_CACHE_HOME/Ambrivo/Twinsift/digests (~/.cache when unset); the next
// scan of that folder, in whatever process, looks there after the process's
// own DigestMemory. The entries are DigestMemory's, under the same key (the
// device and inode, and a SHA-256 of the path, size, modification and
// change times in nanoseconds) and the same rules: only files settled when
// read, only on filesystems that keep their inode numbers.
//
// A file is written whole to a temporary file, flushed to the disk and
// renamed over the old one, so that a crash leaves the old one or the new
// one. It opens with a magic, a version and its layout, and ends with a
// SHA-256 of every byte before: a damaged or foreign file is ignored, and
// the next scan of its folder replaces it. Together the files stay within
// a budget; the folders scanned longest ago are dropped first. Nothing
// depends on them: deleting the folder costs time only. The cleanup never
// reads them.
class DigestCache {
public:
    static constexpr std::uint64_t defaultBudgetBytes = std::uint64_t{64} << 20;

    explicit DigestCache(std::string folder, std::uint64_t budgetBytes = defaultBudgetBytes);

    // $XDG_CACHE_HOME (when absolute) or ~/.cache, then Ambrivo/Twinsift/digests.
    static std::string defaultFolder();

    const std::string &folder() const { return m_folder; }
    // The file that holds the digests of the scans of root.
    std::string fileOf(std::string_view root) const;

    // What is kept for one folder: the digests, and the last scan's order
    // by path under the fingerprint of what it follows from (as
    // DigestMemory keeps it), so a fresh process need not collate again.
    struct Kept {
        DigestMemory::Entries entries; // sorted by inode once loaded
        DigestMemory::Entries ends;    // of the files' first and last bytes, the same
        Sha256Digest orderFingerprint{};
        std::vector<std::uint32_t> order;
    };

    // What is kept for root; nothing when there is no file, or one that is
    // damaged or not ours.
    Kept load(std::string_view root) const;
    // Replaces root's file with kept, then drops the files of the folders
    // scanned longest ago until the budget holds. False when the file
    // could not be written.
    bool save(std::string_view root, Kept kept) const;
    // The same on a thread of its own, saves one after the other in the
    // order given: a scan hands its result over without waiting for the
    // disk. Every save handed over is done before the process ends.
    void saveLater(std::string root, Kept kept) const;
    // Waits until every save handed over so far is done.
    static void waitForSaves();
    // Marks root's file as used now, for the budget's order, when a scan
    // would write back the very same entries and order.
    void markUsed(std::string_view root) const;

private:
    void trim(const std::string &kept) const;

    std::string m_folder;
    std::uint64_t m_budget;
};

} // namespace twinsift
