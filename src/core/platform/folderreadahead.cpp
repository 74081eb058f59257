#include "folderreadahead.h"

#include <algorithm>
#include <unistd.h>

namespace twinsift {
namespace {

// Entries a thread claims at a time.
constexpr std::size_t claimSize = 8;
// Folders listed ahead of the walk, each held with one open stream and at
// most one batch; as many again may wait while the walk goes deeper.
constexpr std::size_t aheadDepth = 4;

} // namespace

FolderReadAhead::FolderReadAhead(const std::vector<folderlisting::Inode> &trash)
    : m_trash(trash), m_thread([this] { run(); }) {}

FolderReadAhead::~FolderReadAhead() {
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
    for (const Ahead &ahead : m_ahead)
        if (ahead.opened.dir)
            ::closedir(ahead.opened.dir);
}

void FolderReadAhead::readAll(int dirFd, const std::string &names, std::vector<Listed> &batch) {
    {
        std::lock_guard lock(m_mutex);
        m_dirFd = dirFd;
        m_names = &names;
        m_batch = &batch;
        m_claimed = 0;
        m_open = true;
        ++m_generation;
    }
    m_wake.notify_one();
    share();
    // A helper that has not begun by now is not waited for: the walk never
    // stands still while the other thread waits for a core or lists a
    // folder.
    std::unique_lock lock(m_mutex);
    m_open = false;
    m_done.wait(lock, [this] { return !m_helping; });
}

void FolderReadAhead::lookAhead(const std::vector<Pending> &pending) {
    const std::size_t from = pending.size() - std::min(pending.size(), aheadDepth);
    const auto reach = [&](std::uint64_t id) {
        for (std::size_t i = from; i < pending.size(); ++i)
            if (pending[i].id == id)
                return true;
        return false;
    };
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_ahead, [&](const Ahead &a) { return !a.claimed && !reach(a.id); });
        auto waiting = static_cast<std::size_t>(std::count_if(
            m_ahead.begin(), m_ahead.end(), [&](const Ahead &a) { return !reach(a.id); }));
        for (auto it = m_ahead.begin(); waiting > aheadDepth && it != m_ahead.end();) {
            if (it->done && !reach(it->id)) {
                if (it->opened.dir)
                    ::closedir(it->opened.dir);
                it = m_ahead.erase(it);
                --waiting;
            } else {
                ++it;
            }
        }
        std::size_t near = m_ahead.size() - waiting;
        for (std::size_t i = pending.size(); i-- > from && near < aheadDepth;) {
            if (std::none_of(m_ahead.begin(), m_ahead.end(),
                             [&](const Ahead &a) { return a.id == pending[i].id; })) {
                m_ahead.push_back({pending[i].id,
                                   pending[i].path,
                                   pending[i].parentDevice,
                                   false,
                                   false,
                                   false,
                                   {}});
                ++near;
            }
        }
    }
    m_wake.notify_one();
}

std::optional<FolderReadAhead::Opened> FolderReadAhead::take(std::uint64_t id) {
    std::unique_lock lock(m_mutex);
    auto it =
        std::find_if(m_ahead.begin(), m_ahead.end(), [&](const Ahead &a) { return a.id == id; });
    if (it == m_ahead.end())
        return std::nullopt;
    if (!it->claimed) {
        m_ahead.erase(it);
        return std::nullopt;
    }
    m_done.wait(lock, [&] { return it->done; });
    std::optional<Opened> opened;
    if (!it->failed)
        opened = std::move(it->opened);
    m_ahead.erase(it);
    return opened;
}

void FolderReadAhead::share() {
    const std::size_t count = m_batch->size();
    for (;;) {
        const std::size_t from = m_claimed.fetch_add(claimSize, std::memory_order_relaxed);
        if (from >= count)
            return;
        for (std::size_t i = from; i < std::min(count, from + claimSize); ++i)
            folderlisting::read(m_dirFd, *m_names, (*m_batch)[i]);
    }
}

FolderReadAhead::Ahead *FolderReadAhead::unclaimed() {
    for (auto it = m_ahead.rbegin(); it != m_ahead.rend(); ++it)
        if (!it->claimed)
            return &*it;
    return nullptr;
}

bool FolderReadAhead::listAhead(const Ahead &ahead, Opened &opened) {
    try {
        opened = folderlisting::open(ahead.path, &ahead.parentDevice, m_trash);
        if (opened.state != Opened::State::open)
            return true;
        std::size_t toRead = 0;
        if (const auto listing =
                folderlisting::list(opened.dir, opened.batch, opened.names, opened.listed, toRead);
            !listing)
            opened.listError = listing.error();
        const int fd = ::dirfd(opened.dir);
        for (auto &listed : opened.batch)
            folderlisting::read(fd, opened.names, listed);
        folderlisting::classify(opened.batch);
        return true;
    } catch (...) {
        // Out of memory: the walk lists this folder itself, and meets the
        // failure on its own thread.
        if (opened.dir)
            ::closedir(opened.dir);
        opened = Opened{};
        return false;
    }
}

void FolderReadAhead::run() {
    std::uint64_t seen = 0;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [&] { return m_quit || m_generation != seen || unclaimed() != nullptr; });
        if (m_quit)
            return;
        if (m_generation != seen) {
            seen = m_generation;
            if (!m_open)
                continue;
            m_helping = true;
            lock.unlock();
            share();
            lock.lock();
            m_helping = false;
            m_done.notify_one();
            continue;
        }
        // A claimed entry stays where it is, and until it is done only this
        // thread changes it.
        Ahead &ahead = *unclaimed();
        ahead.claimed = true;
        lock.unlock();
        Opened opened;
        const bool failed = !listAhead(ahead, opened);
        lock.lock();
        ahead.opened = std::move(opened);
        ahead.failed = failed;
        ahead.done = true;
        m_done.notify_one();
    }
}

} // namespace twinsift
