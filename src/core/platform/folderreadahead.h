#pragma once

#include "folderlisting.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace twinsift {

// A second thread for the walk: reading entries' attributes is most of its
// time, and a cold disk serves two requests no slower than one. It shares
// the attribute reads of a long batch, and otherwise opens and lists the
// folders the walk will enter next, farthest first, so that the walk and
// the read-ahead each list folders of their own.
class FolderReadAhead {
public:
    using Listed = folderlisting::Listed;
    using Opened = folderlisting::Opened;
    using Pending = folderlisting::Pending;

    // trash: the walk's, which outlives this.
    explicit FolderReadAhead(const std::vector<folderlisting::Inode> &trash);
    FolderReadAhead(const FolderReadAhead &) = delete;
    FolderReadAhead &operator=(const FolderReadAhead &) = delete;
    ~FolderReadAhead();

    // Reads the attributes of batch, the entries of the folder open as
    // dirFd, on both threads; the other thread helps if it is free soon.
    void readAll(int dirFd, const std::string &names, std::vector<Listed> &batch);

    // The walk's next folders are the last of pending: up to a few of
    // them are listed ahead. Those not begun that fell out of reach are
    // dropped, and the walk lists them itself. Those listed already wait
    // for the walk while it enters a deeper folder first, but only a few:
    // beyond that the oldest are let go, to be listed again when reached.
    void lookAhead(const std::vector<Pending> &pending);

    // The folder as this thread opened it, once it is done with it; nullopt
    // when the walk is to open it itself: it had not been begun, and now
    // never will, or could not be finished.
    std::optional<Opened> take(std::uint64_t id);

private:
    struct Ahead {
        std::uint64_t id;
        std::string path;
        dev_t parentDevice;
        bool claimed = false, done = false, failed = false;
        Opened opened;
    };

    void share();
    Ahead *unclaimed();
    void run();
    // Opens and lists one folder ahead; false when out of memory.
    bool listAhead(const Ahead &ahead, Opened &opened);

    const std::vector<folderlisting::Inode> &m_trash;
    std::mutex m_mutex;
    std::condition_variable m_wake, m_done;
    int m_dirFd = -1;
    const std::string *m_names = nullptr;
    std::vector<Listed> *m_batch = nullptr;
    std::atomic<std::size_t> m_claimed = 0;
    std::uint64_t m_generation = 0;
    bool m_open = false, m_helping = false, m_quit = false;
    std::list<Ahead> m_ahead; // a list: the thread keeps a reference into it
    std::thread m_thread;     // last: it starts once the rest is set up
};

} // namespace twinsift
