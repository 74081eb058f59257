#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace twinsift {

// The threads that ask the disk whether remembered folders are there,
// shared by every FolderAvailability of the process. A probe can hang for
// good on a dead network mount, and every visit of the screen asks again, so
// a thread per question would pile up without end. Here there are never
// more than a few; a folder already asked about is not asked again while
// that question is open, its askers wait for the one answer; and folders
// asked about while every thread is busy wait their turn.
class ProbeThreads : public std::enable_shared_from_this<ProbeThreads> {
public:
    // Whether path names an existing folder.
    using Probe = std::function<bool(const std::string &path)>;
    // Hears the answer, on whichever thread has it.
    using Answer = std::function<void(bool available)>;
    // Runs work on a thread of its own; false when none could start.
    using Starter = std::function<bool(std::function<void()> work)>;

    static constexpr std::size_t defaultLimit = 4;

    explicit ProbeThreads(std::size_t limit = defaultLimit, Starter starter = startDetached);
    ProbeThreads(const ProbeThreads &) = delete;
    ProbeThreads &operator=(const ProbeThreads &) = delete;

    // The threads every screen of the process shares.
    static std::shared_ptr<ProbeThreads> shared();

    // Asks probe about path and hands the answer to answer. Where no thread
    // can be started for the question, the answer is "unavailable", given at
    // once on the calling thread.
    void ask(const std::string &path, Probe probe, Answer answer);

    // A detached thread of the Qt layer's background work: a probe hung
    // on a dead mount is abandoned at exit.
    static bool startDetached(std::function<void()> work);

private:
    struct Question {
        Probe probe;
        std::vector<Answer> answers;
    };

    // Answers path's question, then those waiting, until none is left.
    void work(std::string path);

    const std::size_t m_limit;
    const Starter m_starter;
    std::mutex m_mutex;
    std::unordered_map<std::string, Question> m_questions; // asked or waiting
    std::deque<std::string> m_waiting;
    std::size_t m_running = 0;
};

} // namespace twinsift
