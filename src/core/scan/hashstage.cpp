#include "hashstage.h"

#include "edgeverdicts.h"
#include "platform/spinningdisk.h"

#include <algorithm>
#include <fcntl.h>
#include <string>
#include <utility>

namespace twinsift {
namespace {

// Files started during the walk and not yet collected; each queued one
// holds a copy of its path, so this bounds that memory.
constexpr std::size_t earlyInFlight = 4096;
// Files handed to the workers at once, and collected from them at once.
constexpr std::size_t handOverBatch = 32;

} // namespace

HashStage::HashStage(const WalkOutput &w, DigestMemory *memory, const HashingOptions &options,
                     const std::stop_token &stop)
    : m_w(w), m_options(options), m_stop(stop), m_checking(HashWorkers::checksEdges()),
      m_remembered(w.files, memory, options.digestCache), m_sizes(w.files),
      m_workers({options.workers, options.oneFileAtATime ? 1u : 8u}, stop) {}

void HashStage::rooted(std::string_view root, int rootFd) {
    if (const int fd = ::fcntl(rootFd, F_DUPFD_CLOEXEC, 0); fd >= 0)
        m_workers.openBelow(fd, std::string(root));
    m_remembered.rooted(root, rootFd);
}

void HashStage::seen(std::uint32_t index, nlink_t links) {
    m_handled.push_back(false);
    m_linked.push_back(links > 1);
    m_checked.push_back(false);
    m_known.push_back(false);
    if (m_options.oneFileAtATime)
        return;
    const std::uint32_t first = m_sizes.note(index);
    if (first == SizesSeen::fresh)
        return;
    if (!m_deferred.empty() && !m_remembered.loading())
        for (const auto waited : std::exchange(m_deferred, {}))
            startEarly(waited);
    if (first != SizesSeen::again)
        startEarly(first);
    startEarly(index);
}

std::vector<Candidate> HashStage::candidates() const {
    // The sizes noted during the walk tell, unless some went untracked.
    if (!m_options.oneFileAtATime && m_sizes.complete())
        return candidatesAmong(m_w.files, m_sizes.shared());
    return candidatesAmong(m_w.files, sharedSizes(m_w.files));
}

std::optional<std::vector<Hashed>>
HashStage::finish(const std::vector<Candidate> &candidates,
                  const DuplicateScanner::ProgressCallback &progress, DuplicateScanProgress &report,
                  std::int64_t &skipped) {
    m_progress = &progress;
    m_report = &report;
    m_skipped = &skipped;
    m_workers.add(m_handOver);
    // Files still waiting for the disk's digests are the plan's, as any
    // not started.
    std::vector<std::uint32_t>().swap(m_deferred);
    plan(candidates);
    // What finished during the walk is in m_hashed, not reported yet.
    m_out = std::move(m_hashed);
    m_out.reserve(candidates.size());
    for (std::size_t i = 0, early = m_out.size(); i < early; ++i) {
        const Hashed done = m_out[i];
        others(done.index, &done.digest);
    }
    skipped += static_cast<std::int64_t>(m_failed.size());
    for (const auto index : m_failed)
        others(index, nullptr);
    for (const auto &[index, digest] : m_plan.remembered) {
        m_out.push_back({digest, m_w.files.fileSize(index), index});
        others(index, &digest);
    }
    if (!reportNew())
        return std::nullopt;
    // Sizes whose every file was checked during the walk.
    for (std::uint32_t set = 0; set < m_plan.sets.size(); ++set)
        if (m_plan.sets[set].pending == 0 && !resolve(set))
            return std::nullopt;
    if (m_unresolved == 0)
        m_workers.close();
    std::vector<HashWorkers::Done> batch;
    while (m_received < m_jobs) {
        batch.clear();
        if (!m_workers.take(batch, std::min(handOverBatch, m_jobs - m_received)))
            return std::nullopt;
        m_received += batch.size();
        for (const auto &done : batch) {
            if (done.check) {
                if (!checked(done))
                    return std::nullopt;
                continue;
            }
            keep(done, m_out);
            if (!done.ok())
                ++skipped;
            others(done.id, done.ok() ? &done.digest : nullptr);
            if (!reportNew())
                return std::nullopt;
        }
    }
    m_remembered.finish();
    return std::move(m_out);
}

// Reports every file verified and not reported yet. False when stopped.
bool HashStage::reportNew() {
    while (m_reported < m_out.size() || m_ruledOut > 0) {
        if (m_stop.stop_requested())
            return false;
        if (m_reported < m_out.size())
            ++m_reported;
        else
            --m_ruledOut;
        ++m_report->filesHashed;
        (*m_progress)(*m_report);
    }
    return !m_stop.stop_requested();
}

// The names of a read inode that were not read themselves.
void HashStage::others(std::uint32_t index, const Sha256Digest *digest) {
    const auto &links = m_plan.links;
    auto link = std::lower_bound(links.begin(), links.end(), std::pair{index, std::uint32_t{0}});
    for (; link != links.end() && link->first == index; ++link) {
        if (digest)
            m_out.push_back({*digest, m_w.files.fileSize(link->second), link->second});
        else
            ++*m_skipped;
    }
}

// A check came back after the walk. False when stopped.
bool HashStage::checked(const HashWorkers::Done &done) {
    noteEnds(done);
    m_checks.emplace(done.id, done);
    const std::uint32_t set = m_plan.setOf.at(done.id);
    return --m_plan.sets[set].pending > 0 || resolve(set);
}

// Every member of set is checked: rules out those whose ends no other
// member shares, and hands the others over to be read whole, once the
// ruled-out ones are reported. False when stopped.
bool HashStage::resolve(std::uint32_t set) {
    CheckedSize &size = m_plan.sets[set];
    std::vector<const HashWorkers::Done *> checks;
    checks.reserve(size.members.size());
    for (const auto index : size.members)
        checks.push_back(&m_checks.at(index));
    const EdgeVerdicts verdicts = judgeEdges(checks, size.remembered, m_plan.leads, m_known);
    for (const auto index : verdicts.failed) {
        ++*m_skipped;
        others(index, nullptr);
    }
    m_ruledOut += verdicts.ruledOut;
    std::vector<HashWorkers::Late> parallel, serial;
    for (const auto *check : verdicts.readWhole)
        (spins(check->device) ? serial : parallel)
            .push_back({check->id, m_w.files.fileSize(check->id), check->device, check->inode,
                        check->modifiedNanoseconds, check->changedNanoseconds});
    for (const auto index : size.members)
        m_checks.erase(index);
    std::vector<std::uint32_t>().swap(size.members);
    if (!reportNew())
        return false;
    m_jobs += parallel.size() + serial.size();
    m_workers.addLate(parallel, false);
    m_workers.addLate(serial, true);
    if (--m_unresolved == 0)
        m_workers.close();
    return true;
}

bool HashStage::spins(dev_t device) {
    if (m_options.oneFileAtATime)
        return true;
    for (const auto &[known, spinning] : m_devices)
        if (known == device)
            return spinning;
    return m_devices.emplace_back(device, isSpinningDisk(device)).second;
}

bool HashStage::checks(std::uint64_t size) const {
    return m_checking && HashWorkers::worthChecking(size);
}

// What came back of a job started during the walk.
void HashStage::collectEarly(const HashWorkers::Done &done) {
    if (done.check) {
        noteEnds(done);
        m_checks.emplace(done.id, done);
        return;
    }
    keep(done, m_hashed);
    if (!done.ok())
        m_failed.push_back(done.id);
}

void HashStage::startEarly(std::uint32_t index) {
    // Hard links wait for the end of the walk, where all names of an inode
    // are known and one read serves them all.
    if (m_handled[index] || m_linked[index] || spins(m_w.files.identity(index).device))
        return;
    // Nor is a file started while the digests kept on disk are on their
    // way: it may be one of them.
    if (m_remembered.loading()) {
        m_deferred.push_back(index);
        return;
    }
    // A digest the memory holds is taken now, so the end of the walk does
    // not look for it again.
    if (const auto digest = m_remembered.recall(index)) {
        m_plan.remembered.emplace_back(index, *digest);
        m_handled[index] = true;
        m_known[index] = true;
        knowEnds(index);
        return;
    }
    // So are the remembered ends, which spare the check.
    if (knowEnds(index)) {
        m_handled[index] = true;
        return;
    }
    if (m_jobs - m_received >= earlyInFlight) {
        std::vector<HashWorkers::Done> batch;
        m_workers.take(batch, 0);
        m_received += batch.size();
        for (const auto &done : batch)
            collectEarly(done);
        if (m_jobs - m_received >= earlyInFlight)
            return;
    }
    HashWorkers::Job &job = m_handOver.emplace_back();
    job.id = index;
    job.size = m_w.files.fileSize(index);
    job.check = checks(job.size);
    m_w.files.path(index, job.path);
    m_handled[index] = true;
    m_checked[index] = job.check;
    ++m_jobs;
    if (m_handOver.size() == handOverBatch)
        m_workers.add(m_handOver);
}

void HashStage::keep(const HashWorkers::Done &done, std::vector<Hashed> &hashed) {
    if (!done.ok())
        return;
    hashed.push_back({done.digest, m_w.files.fileSize(done.id), done.id});
    m_remembered.computed(done.id, done.digest);
}

// Sorts the candidates not started yet into names of an inode read for
// another name, remembered digests, files to check and files to read
// whole, gathers the checked files by size, and hands the reads over.
void HashStage::plan(const std::vector<Candidate> &candidates) {
    planReads(
        candidates, m_w.files, m_handled, m_linked,
        [this](std::uint32_t index) { return m_remembered.recall(index); }, m_plan);
    // Files whose ends are remembered join their size's checks as if
    // checked already; a remembered digest then serves only the others.
    for (const auto &[index, digest] : m_plan.remembered) {
        m_known[index] = true;
        knowEnds(index);
    }
    std::erase_if(m_plan.toRead, [this](std::uint32_t index) { return knowEnds(index); });
    if (m_checking) {
        const CheckRules rules{[this](std::uint64_t size) { return checks(size); }, &m_checked,
                               [this](std::uint32_t index) { return m_checks.contains(index); }};
        gatherChecks(candidates, m_w.files, rules, m_plan);
    }
    m_unresolved = m_plan.sets.size();
    std::vector<std::uint32_t> parallel, serial;
    for (const auto index : m_plan.toRead)
        (spins(m_w.files.identity(index).device) ? serial : parallel).push_back(index);
    std::vector<std::uint32_t>().swap(m_plan.toRead);
    parallel = parallelOrder(std::move(parallel), m_w.files, m_plan, HashWorkers::chunkSize);
    m_jobs += parallel.size() + serial.size();
    m_workers.finish(
        std::move(parallel), std::move(serial),
        [this](std::uint32_t index, HashWorkers::Job &job) {
            job.size = m_w.files.fileSize(index);
            m_w.files.path(index, job.path);
            job.identify = m_plan.leads[index];
            job.device = m_w.files.identity(index).device;
            job.inode = m_w.files.identity(index).inode;
            job.check = m_plan.setOf.contains(index);
        },
        m_unresolved > 0);
}

// Takes the remembered digest of the file's ends, if any, as its check:
// it joins its size's checks as checked, and is not read for them.
bool HashStage::knowEnds(std::uint32_t index) {
    if (m_checked[index] || !checks(m_w.files.fileSize(index)))
        return false;
    const auto ends = m_remembered.recallEnds(index);
    if (!ends)
        return false;
    const FileIdentity &id = m_w.files.identity(index);
    HashWorkers::Done done;
    done.id = index;
    done.status = HashStatus::digested;
    done.digest = *ends;
    done.check = true;
    done.device = id.device;
    done.inode = id.inode;
    done.modifiedNanoseconds = id.modifiedNanoseconds;
    done.changedNanoseconds = id.changedNanoseconds;
    m_checks.emplace(index, done);
    m_checked[index] = true;
    return true;
}

// Remembers the ends a check read, for the next scan.
void HashStage::noteEnds(const HashWorkers::Done &done) {
    if (done.ok())
        m_remembered.computedEnds(
            done.id, {done.device, done.inode, done.modifiedNanoseconds, done.changedNanoseconds},
            done.digest);
}

} // namespace twinsift
