#include "digestcache.h"

#include <condition_variable>
#include <deque>
#include <malloc.h>
#include <mutex>
#include <openssl/crypto.h>
#include <thread>

namespace twinsift {
namespace {

// The one thread that writes the files handed over by saveLater. Its
// destructor, at the end of the process, waits for the last of them.
class Writer {
public:
    static Writer &instance() {
        static Writer writer;
        return writer;
    }

    // OpenSSL starts, configuration and all, before the thread: begun on
    // the thread, its start kept state that nothing freed at exit.
    Writer() { OPENSSL_init_crypto(OPENSSL_INIT_LOAD_CONFIG, nullptr); }

    void add(const DigestCache &cache, std::string root, DigestCache::Kept kept) {
        {
            std::lock_guard lock(m_mutex);
            m_saves.push_back({cache, std::move(root), std::move(kept)});
            ++m_handedOver;
            if (!m_thread.joinable())
                m_thread = std::thread([this] { run(); });
        }
        m_wake.notify_all();
    }

    void wait() {
        std::unique_lock lock(m_mutex);
        const auto until = m_handedOver;
        m_wake.wait(lock, [&] { return m_done >= until; });
    }

    ~Writer() {
        {
            std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    struct Save {
        DigestCache cache;
        std::string root;
        DigestCache::Kept kept;
    };

    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_quit || !m_saves.empty(); });
            if (m_saves.empty())
                return; // quitting, with nothing left to write
            Save save = std::move(m_saves.front());
            m_saves.pop_front();
            lock.unlock();
            save.cache.save(save.root, std::move(save.kept));
            // The digests just freed sat in the arena of the scan that handed
            // them over: give their pages back rather than keep them resident.
            ::malloc_trim(0);
            lock.lock();
            ++m_done;
            m_wake.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Save> m_saves;
    std::uint64_t m_handedOver = 0, m_done = 0;
    bool m_quit = false;
    std::thread m_thread;
};

} // namespace

void DigestCache::saveLater(std::string root, Kept kept) const {
    Writer::instance().add(*this, std::move(root), std::move(kept));
}

void DigestCache::waitForSaves() {
    Writer::instance().wait();
}

} // namespace twinsift
