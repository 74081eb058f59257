#pragma once

#include "mainthreadmailbox.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stop_token>
#include <utility>

namespace twinsift {

// Where background work runs, and so what becomes of it when the app quits.
enum class WorkerKind {
    // A thread of its own, detached. For work that may sit for minutes in a
    // read from a hung mount (scans, probes, reading a result's file times):
    // nothing ever waits for it, so neither does the app at exit. Work still
    // running then is asked to stop and abandoned; the process ends under it
    // and its answer is never delivered.
    ownThread,
    // Qt's global thread pool. For work that must not end halfway (moving
    // files to the Trash or back, writing their journal): the application
    // object waits for the pool when it is destroyed, so at exit such work
    // runs to its end first. Its answer is dropped, as its owner is gone.
    pooled,
};

namespace backgroundwork {
// Runs work on a worker of the given kind. Returns false, having run
// nothing, when no thread can be had.
bool start(WorkerKind kind, std::function<void()> work);
} // namespace backgroundwork

// The one way the Qt layer runs work off the main thread for a QObject that
// lives there. Each start() begins a new piece of work and makes every
// earlier one stale: the earlier work is asked to stop through its
// stop_token, and whatever it answers afterwards is dropped on arrival, so an
// owner only ever hears the answers of its newest start. Answers are
// delivered on the owner's thread, never after the owner is gone.
//
// Keep one as a member of the owner, constructed with `this`. At the owner's
// destruction the running work is asked to stop and can deliver nothing
// more; see WorkerKind for what happens at exit.
template <typename Owner> class BackgroundTask {
    struct State {
        explicit State(Owner *owner) : mailbox(owner) {}
        MainThreadMailbox<Owner> mailbox;
        // Written and compared on the owner's thread; read on workers only
        // to say whether they are still wanted.
        std::atomic<std::uint64_t> current{0};
    };

public:
    // What a worker holds: its stop token, and the way its answers go back.
    class Reply {
    public:
        std::stop_token stopToken() const { return m_stop; }
        bool stopRequested() const { return m_stop.stop_requested(); }
        // Whether a newer start has replaced this work; only a hint on a
        // worker, as the owner may start again at any moment.
        bool isStale() const { return m_state->current.load() != m_generation; }

        // Runs deliver(owner) on the owner's thread, if this work is then
        // still the newest and the owner still there.
        template <typename Deliver> void operator()(Deliver deliver) const {
            (*this)(std::move(deliver), [](Owner *) {});
        }
        // The same, but runs dropped(owner) instead when the answer arrives
        // stale: for letting go of what waits on the work, never for
        // changing what the owner shows.
        template <typename Deliver, typename Dropped>
        void operator()(Deliver deliver, Dropped dropped) const {
            m_state->mailbox.post([state = m_state, generation = m_generation,
                                   deliver = std::move(deliver),
                                   dropped = std::move(dropped)](Owner *owner) mutable {
                if (state->current.load() == generation)
                    deliver(owner);
                else
                    dropped(owner);
            });
        }

    private:
        friend class BackgroundTask;
        Reply(std::shared_ptr<State> state, std::uint64_t generation, std::stop_token stop)
            : m_state(std::move(state)), m_generation(generation), m_stop(std::move(stop)) {}

        std::shared_ptr<State> m_state;
        std::uint64_t m_generation;
        std::stop_token m_stop;
    };

    BackgroundTask(Owner *owner, WorkerKind kind)
        : m_state(std::make_shared<State>(owner)), m_kind(kind) {}
    BackgroundTask(const BackgroundTask &) = delete;
    BackgroundTask &operator=(const BackgroundTask &) = delete;
    ~BackgroundTask() {
        m_stop.request_stop();
        m_state->mailbox.close();
    }

    // Makes earlier work stale, asks it to stop, and runs work(Reply) on a
    // worker. Returns false when no worker could start; the earlier work is
    // stale all the same.
    template <typename Work> bool start(Work work) {
        cancel();
        Reply reply(m_state, m_state->current.load(), m_stop.get_token());
        return backgroundwork::start(
            m_kind, [work = std::move(work), reply = std::move(reply)]() mutable { work(reply); });
    }

    // The stop token of the newest work, for telling on the owner's thread
    // whether it was asked to stop.
    std::stop_token stopToken() const { return m_stop.get_token(); }

    // Asks the running work to stop; its answers still count.
    void requestStop() { m_stop.request_stop(); }

    // Asks the running work to stop and drops its answers from now on.
    void cancel() {
        m_stop.request_stop();
        m_stop = std::stop_source();
        m_state->current.fetch_add(1);
    }

private:
    std::shared_ptr<State> m_state;
    std::stop_source m_stop;
    const WorkerKind m_kind;
};

} // namespace twinsift
