#include "probethreads.h"

#include "backgroundtask.h"

#include <utility>

namespace twinsift {

ProbeThreads::ProbeThreads(std::size_t limit, Starter starter)
    : m_limit(limit > 0 ? limit : 1), m_starter(std::move(starter)) {}

std::shared_ptr<ProbeThreads> ProbeThreads::shared() {
    static const auto threads = std::make_shared<ProbeThreads>();
    return threads;
}

bool ProbeThreads::startDetached(std::function<void()> work) {
    return backgroundwork::start(WorkerKind::ownThread, std::move(work));
}

void ProbeThreads::ask(const std::string &path, Probe probe, Answer answer) {
    {
        std::lock_guard lock(m_mutex);
        if (const auto open = m_questions.find(path); open != m_questions.end()) {
            open->second.answers.push_back(std::move(answer));
            return;
        }
        m_questions.emplace(path, Question{std::move(probe), {std::move(answer)}});
        if (m_running >= m_limit) {
            m_waiting.push_back(path);
            return;
        }
        ++m_running;
    }
    if (m_starter([self = shared_from_this(), path] { self->work(path); }))
        return;
    // Out of threads or memory: no answer can come from the disk.
    std::vector<Answer> answers;
    {
        std::lock_guard lock(m_mutex);
        --m_running;
        answers = std::move(m_questions.extract(path).mapped().answers);
    }
    for (const Answer &each : answers)
        each(false);
}

void ProbeThreads::work(std::string path) {
    for (;;) {
        Probe probe;
        {
            std::lock_guard lock(m_mutex);
            probe = m_questions.at(path).probe;
        }
        bool available = false;
        try {
            available = probe(path);
        } catch (...) {
            // A probe that fails says nothing is there.
        }
        std::vector<Answer> answers;
        bool more = false;
        {
            std::lock_guard lock(m_mutex);
            answers = std::move(m_questions.extract(path).mapped().answers);
            if (m_waiting.empty()) {
                --m_running;
            } else {
                more = true;
                path = std::move(m_waiting.front());
                m_waiting.pop_front();
            }
        }
        for (const Answer &each : answers)
            each(available);
        if (!more)
            return;
    }
}

} // namespace twinsift
