#pragma once

#include "sha256hasher.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
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
// Jobs arrive one by one (while the walk still runs), then as two final
// lists: files read in parallel, and files of spinning disks, which one
// worker reads strictly one at a time in the order given. Results come back
// in the order they finish. Memory is one 1 MiB buffer per worker and a few
// open files, whatever the size or number of files.
class HashWorkers {
public:
    static constexpr std::size_t chunkSize = Sha256Hasher::chunkSize;

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
    };

    struct Done {
        std::uint32_t id = 0;
        bool ok = false;
        Sha256Digest digest{};
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
    // The last jobs. parallel is taken front first, so the caller puts large
    // files first; serial is read one file at a time, in this order.
    void finish(std::vector<std::uint32_t> parallel, std::vector<std::uint32_t> serial,
                Describe describe);
    // Appends every finished job to out, first waiting until at least
    // atLeast of them are ready. False once a stop was requested.
    bool take(std::vector<Done> &out, std::size_t atLeast);

    // Files that workers of this process have opened so far. Tests read it
    // to prove that a scan read no content.
    static std::uint64_t filesOpened();

private:
    struct Taken {
        Job job;
        bool serial = false;
    };
    struct Open;

    void work(unsigned index);
    bool takeJob(unsigned index, bool mayWait, bool serialAllowed, Taken &taken);
    // Digests file and posts the outcome. With tryCached the first read
    // takes only what the page cache holds; false when that was not all.
    bool digest(Open &file, unsigned char *buffer, Sha256Hasher &hasher, bool tryCached);
    void post(const Done &done);
    void requestStop();
    bool stopping() const { return m_stopping.load(std::memory_order_relaxed); }

    const unsigned m_lookahead;
    int m_rootFd = -1;
    std::string m_root; // with its closing "/"
    std::atomic<bool> m_stopping = false;

    std::mutex m_jobsMutex;
    std::condition_variable m_jobsReady;
    std::deque<Job> m_early;
    std::vector<std::uint32_t> m_parallel, m_serial;
    std::size_t m_nextParallel = 0, m_nextSerial = 0;
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
