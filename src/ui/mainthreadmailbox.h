#pragma once

#include <QMetaObject>
#include <QObject>

#include <mutex>

namespace twinsift {

// How a worker thread reaches a QObject that lives on the main thread. The
// object may be destroyed while a worker still runs, so the worker posts
// only while the target is set; anything already posted is dropped with the
// object's event queue. Share it with workers through a shared_ptr and close
// it in the target's destructor.
template <typename Target> class MainThreadMailbox {
public:
    explicit MainThreadMailbox(Target *target) : m_target(target) {}

    // Runs deliver(target) on the target's thread, unless it has gone.
    template <typename F> void post(F deliver) {
        std::lock_guard lock(m_mutex);
        if (!m_target)
            return;
        Target *receiver = m_target;
        QMetaObject::invokeMethod(
            receiver, [receiver, deliver = std::move(deliver)]() mutable { deliver(receiver); },
            Qt::QueuedConnection);
    }

    void close() {
        std::lock_guard lock(m_mutex);
        m_target = nullptr;
    }

private:
    std::mutex m_mutex;
    Target *m_target;
};

} // namespace twinsift
