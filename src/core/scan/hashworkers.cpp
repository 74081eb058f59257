#include "hashworkers.h"

#include "folderhandle.h"
#include "platform/filereader.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace twinsift {
namespace {

// A worker takes no further file into its window once the files in it add
// up to this, so a few large files never wait behind one worker's window
// while another worker idles at the end.
constexpr std::uint64_t windowBytes = 2 * 1024 * 1024;

// Files in a row whose first chunk a worker found in the page cache before
// it stops reading ahead. Files fetched ahead count too, so on a disk that
// keeps up with the digests the worker stops now and then, and one file
// waits for the disk before it reads ahead again.
constexpr unsigned cachedToStopAhead = 64;

std::atomic<std::uint64_t> openedFiles = 0;
std::atomic<std::uint64_t> wholeFiles = 0;
std::atomic<bool> edgeChecks = true;

// How long a caller that waits for a batch of results waits once one is
// ready: the count on the screen moves at least this often while files are
// verified.
constexpr auto batchPatience = std::chrono::milliseconds(40);

// What a job adds to a worker's window of files on their way.
std::uint64_t weightOf(const HashWorkers::Job &job) {
    return job.check ? 2 * HashWorkers::edgeBytes : job.size;
}

} // namespace

struct HashWorkers::Open {
    Job job;
    bool serial = false;
    FileReader reader;
    // digested while the file is open and still the one meant
    HashStatus failure = HashStatus::digested;
};

unsigned HashWorkers::defaultWorkers() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

HashWorkers::HashWorkers(Options options, std::stop_token stop)
    : m_lookahead(std::max(1u, options.lookahead)),
      m_workerCount(options.workers ? std::min(options.workers, 8u) : defaultWorkers()),
      m_onStop(std::move(stop), std::function<void()>([this] { requestStop(); })) {
    const unsigned count = m_workerCount;
    m_threads.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        m_threads.emplace_back([this, i] { work(i); });
}

HashWorkers::~HashWorkers() {
    requestStop();
    for (auto &thread : m_threads)
        thread.join();
    if (m_rootFd >= 0)
        ::close(m_rootFd);
}

void HashWorkers::openBelow(int rootFd, std::string root) {
    std::lock_guard lock(m_jobsMutex);
    // Workers may be opening files from the first root already.
    if (m_rootFd >= 0) {
        ::close(rootFd);
        return;
    }
    m_rootFd = rootFd;
    m_root = std::move(root);
    m_root.push_back('/');
}

void HashWorkers::requestStop() {
    m_stopping = true;
    // Taking each lock once orders the flag before any waiter's next check.
    { std::lock_guard lock(m_jobsMutex); }
    { std::lock_guard lock(m_doneMutex); }
    m_jobsReady.notify_all();
    m_doneReady.notify_all();
}

std::uint64_t HashWorkers::filesOpened() {
    return openedFiles.load(std::memory_order_relaxed);
}

std::uint64_t HashWorkers::filesReadWhole() {
    return wholeFiles.load(std::memory_order_relaxed);
}

void HashWorkers::add(std::vector<Job> &jobs) {
    bool wake = false;
    {
        std::lock_guard lock(m_jobsMutex);
        for (auto &job : jobs)
            m_early.push_back(std::move(job));
        wake = m_idle > 0;
    }
    jobs.clear();
    if (wake)
        m_jobsReady.notify_all();
}

void HashWorkers::finish(std::vector<std::uint32_t> parallel, std::vector<std::uint32_t> serial,
                         Describe describe, bool lateJobsFollow) {
    {
        std::lock_guard lock(m_jobsMutex);
        m_parallel = std::move(parallel);
        m_serial = std::move(serial);
        m_describe = std::move(describe);
        m_finished = !lateJobsFollow;
    }
    m_jobsReady.notify_all();
}

void HashWorkers::addLate(const std::vector<Late> &late, bool serial) {
    if (late.empty())
        return;
    {
        std::lock_guard lock(m_jobsMutex);
        for (const Late &job : late) {
            if (serial)
                m_lateSerial.push_back(job);
            else
                m_late.emplace(job.size, job);
        }
    }
    m_jobsReady.notify_all();
}

void HashWorkers::close() {
    {
        std::lock_guard lock(m_jobsMutex);
        m_finished = true;
    }
    m_jobsReady.notify_all();
}

bool HashWorkers::checksEdges() {
    return edgeChecks.load(std::memory_order_relaxed);
}

void HashWorkers::setChecksEdges(bool on) {
    edgeChecks = on;
}

bool HashWorkers::take(std::vector<Done> &out, std::size_t atLeast) {
    std::unique_lock lock(m_doneMutex);
    if (m_done.size() < atLeast && !stopping()) {
        // Results are handed over in batches, which spares a wake-up per
        // file; but a batch of large files can take seconds to fill, so
        // whatever is ready after a moment goes.
        const auto enough = [&] { return stopping() || m_done.size() >= atLeast; };
        m_awaited = atLeast;
        m_doneReady.wait_for(lock, batchPatience, enough);
        if (m_done.empty()) {
            m_awaited = 1;
            m_doneReady.wait(lock, [&] { return stopping() || !m_done.empty(); });
        }
        m_awaited = 0;
    }
    if (stopping())
        return false;
    if (out.empty())
        out.swap(m_done);
    else
        out.insert(out.end(), m_done.begin(), m_done.end());
    m_done.clear();
    return true;
}

void HashWorkers::post(const Done &done) {
    bool wake = false;
    {
        std::lock_guard lock(m_doneMutex);
        m_done.push_back(done);
        wake = m_awaited > 0 && m_done.size() >= m_awaited;
    }
    if (wake)
        m_doneReady.notify_one();
}

bool HashWorkers::takeJob(unsigned index, bool mayWait, bool serialAllowed, Taken &taken) {
    std::unique_lock lock(m_jobsMutex);
    for (;;) {
        if (stopping())
            return false;
        std::uint32_t id = 0;
        bool listed = false;
        taken.serial = false;
        // Worker 0 alone reads the files of spinning disks, and nothing
        // else while any is left, so they are read one at a time, in order.
        if (index == 0 && m_nextSerial < m_serial.size()) {
            if (!serialAllowed)
                return false;
            id = m_serial[m_nextSerial++];
            listed = taken.serial = true;
        } else if (index == 0 && !m_lateSerial.empty() && m_nextSerial == m_serial.size()) {
            if (!serialAllowed)
                return false;
            const Late late = m_lateSerial.front();
            m_lateSerial.pop_front();
            lock.unlock();
            describeLate(late, taken.job);
            taken.serial = true;
            return true;
        } else if (!m_early.empty()) {
            taken.job = std::move(m_early.front());
            m_early.pop_front();
            return true;
        } else if (index == 0 && m_workerCount > 1 && !m_late.empty()) {
            // The first worker starts on the largest files at once, so that
            // none is left to finish alone at the end.
            const auto largest = std::prev(m_late.end());
            const Late late = largest->second;
            m_late.erase(largest);
            lock.unlock();
            describeLate(late, taken.job);
            return true;
        } else if (m_nextParallel < m_parallel.size()) {
            id = m_parallel[m_nextParallel++];
            listed = true;
        } else if (!m_late.empty()) {
            const Late late = m_late.begin()->second;
            m_late.erase(m_late.begin());
            lock.unlock();
            describeLate(late, taken.job);
            return true;
        }
        if (listed) {
            lock.unlock();
            m_describe(id, taken.job);
            taken.job.id = id;
            return true;
        }
        if (m_finished || !mayWait)
            return false;
        ++m_idle;
        m_jobsReady.wait(lock);
        --m_idle;
    }
}

void HashWorkers::describeLate(const Late &late, Job &job) {
    m_describe(late.id, job);
    job.id = late.id;
    job.size = late.size;
    job.check = false;
    job.identify = true;
    job.device = late.device;
    job.inode = late.inode;
    job.sameTimes = true;
    job.modifiedNanoseconds = late.modifiedNanoseconds;
    job.changedNanoseconds = late.changedNanoseconds;
}

void HashWorkers::work(unsigned index) {
    Sha256Hasher hasher;
    const ReadBuffer buffer(chunkSize);
    std::deque<Open> window;
    // The root is set before any job comes, and a job is taken under the
    // lock that set it.
    std::unique_ptr<FolderHandle> folder;
    std::uint64_t queued = 0;
    // Files are opened and fetched ahead only while reads find data
    // missing from the page cache: where the tree is cached, that is a
    // wasted system call per file, and the kernel's work of looking up
    // pages that are there already. A run of files found cached ends it.
    bool ahead = false;
    unsigned cachedInARow = 0;
    const bool mayPrefetch = m_lookahead > 1;
    while (!stopping()) {
        // Top up the window: open the next files and set their reads going.
        while (window.size() < (ahead ? m_lookahead : 1) && queued < windowBytes) {
            Taken taken;
            if (!takeJob(index, window.empty(), window.empty(), taken))
                break;
            Open &file = window.emplace_back();
            file.job = std::move(taken.job);
            file.serial = taken.serial;
            openedFiles.fetch_add(1, std::memory_order_relaxed);
            if (!folder)
                folder = std::make_unique<FolderHandle>(m_rootFd, m_root);
            if (!folder->openFile(file.reader, file.job.path, file.job.identify || file.job.check))
                file.failure = HashStatus::unopenable;
            // A name that leads to another inode than the walk saw was
            // replaced since: its bytes are not the walked file's. One whose
            // times moved since its check was written to in between: what
            // the check read of it may not be there any more.
            else if (file.job.identify &&
                     (file.reader.device() != file.job.device ||
                      file.reader.inode() != file.job.inode ||
                      (file.job.sameTimes &&
                       (file.reader.size() != file.job.size ||
                        file.reader.modifiedNanoseconds() != file.job.modifiedNanoseconds ||
                        file.reader.changedNanoseconds() != file.job.changedNanoseconds))))
                file.failure = HashStatus::replaced;
            const bool opened = file.failure == HashStatus::digested;
            queued += weightOf(file.job);
            if (file.serial)
                break;
            if (opened && ahead && file.job.check) {
                file.reader.prefetch(edgeBytes);
                file.reader.prefetch(edgeBytes, file.job.size - edgeBytes);
            } else if (opened && ahead) {
                file.reader.prefetch(std::min(file.job.size, prefetchBytes));
            }
        }
        if (window.empty())
            return;
        Open &front = window.front();
        const bool tryCached = mayPrefetch && !front.serial;
        const bool cached = read(front, buffer.get(), hasher, tryCached);
        if (tryCached && !cached) {
            ahead = true;
            cachedInARow = 0;
        } else if (tryCached && ahead && ++cachedInARow == cachedToStopAhead) {
            ahead = false;
        }
        queued -= weightOf(window.front().job);
        window.pop_front();
    }
}

bool HashWorkers::read(Open &file, unsigned char *buffer, Sha256Hasher &hasher, bool tryCached) {
    Done done;
    done.id = file.job.id;
    done.check = file.job.check;
    FileDigest read;
    read.status = file.failure;
    if (file.failure == HashStatus::digested) {
        if (file.job.check) {
            read = digestEdges(file.reader, file.job.size, edgeBytes, buffer, hasher, tryCached);
            done.device = file.reader.device();
            done.inode = file.reader.inode();
            done.modifiedNanoseconds = file.reader.modifiedNanoseconds();
            done.changedNanoseconds = file.reader.changedNanoseconds();
        } else {
            wholeFiles.fetch_add(1, std::memory_order_relaxed);
            read = digestWhole(file.reader, file.job.size, buffer, chunkSize, hasher, tryCached,
                               m_stopping);
        }
        file.reader.close();
    }
    done.status = read.status;
    done.digest = read.digest;
    if (read.status != HashStatus::stopped && !stopping())
        post(done);
    return read.cached;
}

} // namespace twinsift
