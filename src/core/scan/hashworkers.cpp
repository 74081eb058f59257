#include "hashworkers.h"

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
// What the kernel is asked to fetch of a file ahead of its reading; past
// this its own read-ahead follows the reads.
constexpr std::uint64_t prefetchBytes = 1024 * 1024;

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

// The folder of the files being opened, kept open while its files follow
// one another, so the kernel resolves each folder once instead of every
// file's path. It is opened at the second file in a row from one folder:
// files from folders that alternate (an original and its copy elsewhere)
// are opened from the scan's root instead, which costs less than opening
// and closing their folders. When a folder cannot be opened the file is
// opened by its path, so the file's own open reports the real error.
class FolderHandle {
public:
    FolderHandle(int rootFd, std::string_view root) : m_rootFd(rootFd), m_root(root) {}
    FolderHandle(const FolderHandle &) = delete;
    FolderHandle &operator=(const FolderHandle &) = delete;
    ~FolderHandle() { close(); }

    Result<void> openFile(FileReader &reader, const std::string &path, bool identify) {
        const auto slash = path.rfind('/');
        if (slash == std::string::npos)
            return reader.openAt(AT_FDCWD, path.c_str(), identify);
        const std::string_view folder = slash == 0 ? "/" : std::string_view(path).substr(0, slash);
        if (folder != m_path) {
            const bool again = folder == m_previous;
            close();
            m_previous.assign(folder);
            if (again) {
                m_path.assign(folder);
                m_fd = below(m_path) ? ::openat(m_rootFd, m_path.c_str() + m_root.size(),
                                                O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                                     : ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            }
        }
        if (m_fd >= 0)
            return reader.openAt(m_fd, path.c_str() + slash + 1, identify);
        if (below(path))
            return reader.openAt(m_rootFd, path.c_str() + m_root.size(), identify);
        return reader.openAt(AT_FDCWD, path.c_str(), identify);
    }

private:
    bool below(std::string_view path) const {
        return m_rootFd >= 0 && path.size() > m_root.size() && path.starts_with(m_root);
    }

    void close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        m_path.clear();
    }

    const int m_rootFd;
    const std::string_view m_root; // with its closing "/"
    std::string m_path;            // the folder open as m_fd
    std::string m_previous;        // the folder of the file opened last
    int m_fd = -1;
};

// What a job adds to a worker's window of files on their way.
std::uint64_t weightOf(const HashWorkers::Job &job) {
    return job.check ? 2 * HashWorkers::edgeBytes : job.size;
}

} // namespace

struct HashWorkers::Open {
    Job job;
    bool serial = false;
    FileReader reader;
    bool opened = false;
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
            file.opened =
                folder->openFile(file.reader, file.job.path, file.job.identify || file.job.check)
                    .ok();
            // A name that leads to another inode than the walk saw was
            // replaced since: its bytes are not the walked file's. One whose
            // times moved since its check was written to in between: what
            // the check read of it may not be there any more.
            if (file.opened && file.job.identify &&
                (file.reader.device() != file.job.device || file.reader.inode() != file.job.inode ||
                 (file.job.sameTimes &&
                  (file.reader.size() != file.job.size ||
                   file.reader.modifiedNanoseconds() != file.job.modifiedNanoseconds ||
                   file.reader.changedNanoseconds() != file.job.changedNanoseconds))))
                file.opened = false;
            queued += weightOf(file.job);
            if (file.serial)
                break;
            if (file.opened && ahead && file.job.check) {
                file.reader.prefetch(edgeBytes);
                file.reader.prefetch(edgeBytes, file.job.size - edgeBytes);
            } else if (file.opened && ahead) {
                file.reader.prefetch(std::min(file.job.size, prefetchBytes));
            }
        }
        if (window.empty())
            return;
        Open &front = window.front();
        const bool tryCached = mayPrefetch && !front.serial;
        const bool cached = front.job.check ? check(front, buffer.get(), hasher, tryCached)
                                            : digest(front, buffer.get(), hasher, tryCached);
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

bool HashWorkers::check(Open &file, unsigned char *buffer, Sha256Hasher &hasher, bool tryCached) {
    bool cached = true;
    Done done;
    done.id = file.job.id;
    done.check = true;
    const std::uint64_t size = file.job.size;
    // A file that is no longer the size the walk saw changed since.
    if (file.opened && !stopping() && file.reader.size() == size && worthChecking(size)) {
        const auto edge = static_cast<std::size_t>(edgeBytes);
        // Whether the disk has to be waited for, as digest() finds out.
        if (tryCached) {
            const auto head = file.reader.readCached(buffer, edge);
            cached = head && *head == edge;
        }
        if (const auto head = file.reader.readAt(buffer, edge, 0); head && *head == edge) {
            const auto tail = file.reader.readAt(buffer + edge, edge, size - edge);
            if (tail && *tail == edge && hasher.begin()) {
                hasher.update(buffer, 2 * edge);
                done.ok = hasher.finish(done.digest);
            }
        }
        done.device = file.reader.device();
        done.inode = file.reader.inode();
        done.modifiedNanoseconds = file.reader.modifiedNanoseconds();
        done.changedNanoseconds = file.reader.changedNanoseconds();
    }
    file.reader.close();
    if (stopping())
        return cached;
    post(done);
    return cached;
}

bool HashWorkers::digest(Open &file, unsigned char *buffer, Sha256Hasher &hasher, bool tryCached) {
    Done done;
    done.id = file.job.id;
    const std::uint64_t size = file.job.size;
    bool cached = true;
    if (file.opened) {
        wholeFiles.fetch_add(1, std::memory_order_relaxed);
        bool ok = hasher.begin();
        std::uint64_t total = 0;
        for (;;) {
            // The stop is seen before every read and after every digest
            // update, so it costs at most one chunk.
            if (stopping())
                return cached;
            // One byte more than the walk's size is asked for: a read that
            // stops short right at that size found the end of the file,
            // which spares the read that would return nothing.
            const auto want = static_cast<std::size_t>(
                std::min<std::uint64_t>(chunkSize, size - std::min(total, size) + 1));
            auto read =
                tryCached ? file.reader.readCached(buffer, want) : file.reader.read(buffer, want);
            if (tryCached) {
                tryCached = false;
                // Some or all of the first chunk is not in memory yet: the
                // rest is fetched while the cached part is digested.
                if (!read && read.error() == EAGAIN) {
                    cached = false;
                    file.reader.prefetch(std::min(size, prefetchBytes));
                    read = file.reader.read(buffer, want);
                } else if (read && *read < want && total + *read < size) {
                    cached = false;
                    file.reader.prefetch(std::min(size, prefetchBytes));
                }
            }
            if (!read) {
                ok = false;
                break;
            }
            const std::size_t n = *read;
            if (n == 0)
                break;
            total += n;
            // A file that grew or shrank since the walk holds bytes other
            // than the size it is grouped by: its digest proves nothing.
            if (total > size) {
                ok = false;
                break;
            }
            hasher.update(buffer, n);
            if (stopping())
                return cached;
            if (n < want && total == size)
                break;
        }
        file.reader.close();
        done.ok = ok && total == size && hasher.finish(done.digest);
    }
    post(done);
    return cached;
}

} // namespace twinsift
