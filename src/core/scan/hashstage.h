#pragma once

#include "digestgroups.h"
#include "duplicatescanner.h"
#include "hashplan.h"
#include "hashworkers.h"
#include "remembereddigests.h"
#include "sizecandidates.h"
#include "treewalk.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stop_token>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>
#include <utility>
#include <vector>

namespace twinsift {

// The hash stage. It starts while the walk goes on: the moment a second
// file of some size is seen, both are certain candidates, and workers begin
// reading them; a file of more than two edge blocks only at its ends, to
// begin with. Once the walk is over, the other candidates follow: each
// inode is read once for all its names, a digest the memory still holds for
// an unchanged file is not read at all, and files of spinning disks are read
// one at a time. Once every checked file of a size is checked, a file whose
// first and last bytes no other file of its size shares cannot be a
// duplicate: it is verified without a digest. The others are read whole,
// and must still be the inode, size and times their check saw. The reports,
// one per verified file, all come from the scanning thread after the
// start-of-hashing report, in the order the files are verified.
class HashStage {
public:
    HashStage(const WalkOutput &w, DigestMemory *memory, const HashingOptions &options,
              const std::stop_token &stop);

    // Every file the walk finds is below root ("" for "/"), the folder open
    // as rootFd. The workers open files from a copy of it: the very folder
    // walked, even if its path has led elsewhere since.
    void rooted(std::string_view root, int rootFd);
    // The walk found the file at index, with links names.
    void seen(std::uint32_t index, nlink_t links);

    // Every file whose size the walk met at least twice, in walk order.
    std::vector<Candidate> candidates() const;

    // Verifies every candidate not verified yet and reports each one
    // verified. Returns the digests, or nullopt when stopped.
    std::optional<std::vector<Hashed>> finish(const std::vector<Candidate> &candidates,
                                              const DuplicateScanner::ProgressCallback &progress,
                                              DuplicateScanProgress &report, std::int64_t &skipped);

    RememberedDigests &remembered() { return m_remembered; }

private:
    bool reportNew();
    void others(std::uint32_t index, const Sha256Digest *digest);
    bool checked(const HashWorkers::Done &done);
    bool resolve(std::uint32_t set);
    bool spins(dev_t device);
    bool checks(std::uint64_t size) const;
    void collectEarly(const HashWorkers::Done &done);
    void startEarly(std::uint32_t index);
    void keep(const HashWorkers::Done &done, std::vector<Hashed> &hashed);
    void plan(const std::vector<Candidate> &candidates);
    bool knowEnds(std::uint32_t index);
    void noteEnds(const HashWorkers::Done &done);

    const WalkOutput &m_w;
    const HashingOptions m_options;
    const std::stop_token m_stop;
    const bool m_checking;

    RememberedDigests m_remembered;
    SizesSeen m_sizes;
    // Per eligible file: started early or found in the memory; seen by the
    // walk with several links; checked during the walk, or its ends
    // remembered; its whole digest remembered.
    std::vector<bool> m_handled, m_linked, m_checked, m_known;
    std::vector<std::pair<dev_t, bool>> m_devices; // spinning or not
    HashPlan m_plan;
    std::vector<Hashed> m_hashed;        // read during the walk
    std::vector<std::uint32_t> m_failed; // failed during the walk
    // Found while the digests kept on disk were still loading.
    std::vector<std::uint32_t> m_deferred;
    // Checks back and not yet resolved, and how many sets are unresolved.
    std::unordered_map<std::uint32_t, HashWorkers::Done> m_checks;
    std::size_t m_unresolved = 0;
    std::vector<HashWorkers::Job> m_handOver; // started, not yet handed over
    std::size_t m_jobs = 0, m_received = 0;
    // While finishing: the digests, what was reported of them, files ruled
    // out by their checks and not reported yet, and where reports go.
    std::vector<Hashed> m_out;
    std::size_t m_reported = 0, m_ruledOut = 0;
    const DuplicateScanner::ProgressCallback *m_progress = nullptr;
    DuplicateScanProgress *m_report = nullptr;
    std::int64_t *m_skipped = nullptr;
    HashWorkers m_workers; // last: its threads stop before the rest goes
};

} // namespace twinsift
