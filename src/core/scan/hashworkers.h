#pragma once

#include "filedigest.h"
#include "sha256hasher.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <stop_token>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace twinsift {

// Reads and digests files on several worker threads, one per core. While
// its reads find data missing from the page cache, each worker opens a few
// files ahead of the one it digests and asks the kernel to fetch them, so a
// cold disk always has several reads to serve, while the caller's thread
// stays free to walk and to report.
//
// Jobs arrive one by one (while the walk still runs), then as two lists:
// files read in parallel, and files of spinning disks, which one worker
// reads strictly one at a time in the order given. A job may be a check of
// a file's first and last bytes rather than a digest of all of them; files
// the checks could not tell apart follow as late jobs. Results come back in
// the order they finish. Memory is one 1 MiB buffer per worker and a few
// open files, whatever the size or number of files.
//
// Late jobs are read largest first by the first worker, smallest first by
// the others, and those after the checks and small files: the count of
// verified files keeps rising while the largest files are read.
class HashWorkers {
public:
    static constexpr std::size_t chunkSize = Sha256Hasher::chunkSize;
    // What a check reads at each end of a file.
    static constexpr std::uint64_t edgeBytes = 4096;
    // A file of at most this size is read whole at once, never checked
    // first: reading the rest of it costs less than the second open and
    // read that a check adds for a file it cannot rule out.
    static constexpr std::uint64_t readWholeUpTo = 32 * 1024;
    static bool worthChecking(std::uint64_t size) { return size > readWholeUpTo; }

    struct Options {
        unsigned workers = 0;   // 0: one per core, at most 8
        unsigned lookahead = 8; // files a worker keeps open and on their way
    };

    struct Job {
        std::uint32_t id = 0;
        std::uint64_t size = 0; // what the walk saw; any other byte count fails
        // With identify, the open file must be this inode: its digest is
        // given to other names of it that are not read.
        bool identify = false;
        dev_t device = 0;
        ino_t inode = 0;
        std::string path;
        // Reads only the first and last edgeBytes, and gives their digest
        // and what the open file is.
        bool check = false;
        // With identify: the open file must also have these times, the ones
        // its check saw.
        bool sameTimes = false;
        std::int64_t modifiedNanoseconds = 0;
        std::int64_t changedNanoseconds = 0;
    };

    struct Done {
        std::uint32_t id = 0;
        HashStatus status = HashStatus::unopenable;
        Sha256Digest digest{}; // of the whole file, or of its edges for a check
        bool check = false;
        // For a check: the inode read and its times.
        dev_t device = 0;
        ino_t inode = 0;
        std::int64_t modifiedNanoseconds = 0;
        std::int64_t changedNanoseconds = 0;

        bool ok() const { return status == HashStatus::digested; }
    };

    // A file to digest whole after its check, and the inode and times that
    // check saw.
    struct Late {
        std::uint32_t id = 0;
        std::uint64_t size = 0;
        dev_t device = 0;
        ino_t inode = 0;
        std::int64_t modifiedNanoseconds = 0;
        std::int64_t changedNanoseconds = 0;
    };

    // Fills in the job of id; called on the workers, so it may only read
    // what no other thread changes any more.
    using Describe = std::function<void(std::uint32_t id, Job &job)>;

    HashWorkers(Options options, std::stop_token stop);
    ~HashWorkers();
    HashWorkers(const HashWorkers &) = delete;
    HashWorkers &operator=(const HashWorkers &) = delete;

    static unsigned defaultWorkers();

    // Files below root are opened from there (root an open folder, taken
    // over), so the kernel does not look up the folders above it again for
    // every file. Called once, before the first job is added.
    void openBelow(int rootFd, std::string root);
    unsigned workers() const { return static_cast<unsigned>(m_threads.size()); }

    // Jobs to start now, read in parallel. Handing them over in batches
    // spares a wake-up of a worker per file.
    void add(std::vector<Job> &jobs);
    // The listed jobs. parallel is taken front first; serial is read one
    // file at a time, in this order. Unless lateJobsFollow, they are the
    // last.
    void finish(std::vector<std::uint32_t> parallel, std::vector<std::uint32_t> serial,
                Describe describe, bool lateJobsFollow = false);
    // After finish: files to digest whole, described as the listed ones
    // are, then given the identity in late. serial ones are read one at a
    // time after the serial list.
    void addLate(const std::vector<Late> &late, bool serial);
    // No job follows any more.
    void close();
    // Appends every finished job to out, first waiting until at least
    // atLeast of them are ready, or, once some are, until a moment passed.
    // False once a stop was requested.
    bool take(std::vector<Done> &out, std::size_t atLeast);

    // Whether scans check first and last bytes before reading a file whole.
    // Tests turn it off to compare a scan with and without the checks.
    static bool checksEdges();
    static void setChecksEdges(bool on);

    // Files that workers of this process have opened so far. Tests read it
    // to prove that a scan read no content.
    static std::uint64_t filesOpened();
    // Files whose every byte workers of this process have read and digested
    // so far: opened files but for those only checked.
    static std::uint64_t filesReadWhole();

private:
    struct Taken {
        Job job;
        bool serial = false;
    };
    struct Open;

    void work(unsigned index);
    bool takeJob(unsigned index, bool mayWait, bool serialAllowed, Taken &taken);
    // Digests the file, whole or at its ends, and posts the outcome unless
    // stopped. With tryCached the first read takes only what the page
    // cache holds; false when that was not all.
    bool read(Open &file, unsigned char *buffer, Sha256Hasher &hasher, bool tryCached);
    void describeLate(const Late &late, Job &job);
    void post(const Done &done);
    void requestStop();
    bool stopping() const { return m_stopping.load(std::memory_order_relaxed); }

    const unsigned m_lookahead;
    const unsigned m_workerCount;
    int m_rootFd = -1;
    std::string m_root; // with its closing "/"
    std::atomic<bool> m_stopping = false;

    std::mutex m_jobsMutex;
    std::condition_variable m_jobsReady;
    std::deque<Job> m_early;
    std::vector<std::uint32_t> m_parallel, m_serial;
    std::size_t m_nextParallel = 0, m_nextSerial = 0;
    std::multimap<std::uint64_t, Late> m_late; // by size
    std::deque<Late> m_lateSerial;
    Describe m_describe;
    bool m_finished = false;
    unsigned m_idle = 0; // workers waiting for a job

    std::mutex m_doneMutex;
    std::condition_variable m_doneReady;
    std::vector<Done> m_done;
    std::size_t m_awaited = 0; // what the waiting caller waits for, or 0

    std::stop_callback<std::function<void()>> m_onStop;
    std::vector<std::thread> m_threads;
};

} // namespace twinsift
