#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace twinsift {

// The undo steps of the KEEP/TRASH marks: each step holds only the paths it
// marked and unmarked, so undoing a bulk mark over thousands of sets costs
// what the mark itself changed, not a copy of every mark.
//
// A step names most paths by views into the files of the result under
// review, which outlive every step: the history is cleared whenever the
// result is replaced. A path from anywhere else is copied into the step.
class MarkHistory {
public:
    static constexpr std::size_t depth = 20;

    class Step {
    public:
        // A stable path stays valid as long as the result under review;
        // any other is copied.
        void addMarked(std::string_view stable) { m_marked.push_back(stable); }
        void addUnmarked(std::string_view stable) { m_unmarked.push_back(stable); }
        void addMarkedCopy(const std::string &path) {
            m_marked.push_back(m_owned.emplace_back(path));
        }
        void addUnmarkedCopy(const std::string &path) {
            m_unmarked.push_back(m_owned.emplace_back(path));
        }
        // Undoes a mark made earlier in the same step; false when there was none.
        bool dropMarked(std::string_view path);
        void reserveMarked(std::size_t n) { m_marked.reserve(n); }
        bool empty() const { return m_marked.empty() && m_unmarked.empty(); }

    private:
        friend class MarkHistory;
        std::vector<std::string_view> m_marked;
        std::vector<std::string_view> m_unmarked;
        // Stable addresses: the views above point into these.
        std::deque<std::string> m_owned;
    };

    // Keeps the newest steps; the oldest falls off past the depth. An empty
    // step changed nothing and is not kept.
    void record(Step step);
    // Puts the marks back as they were before the newest step, and drops it.
    // False when there is nothing to undo.
    // Each path it changes is told to changed, with whether it was marked.
    bool undo(std::set<std::string> &marks,
              const std::function<void(const std::string &, bool wasMarked)> &changed = {});
    bool canUndo() const { return !m_steps.empty(); }
    std::size_t size() const { return m_steps.size(); }
    void clear() { m_steps.clear(); }

private:
    std::deque<Step> m_steps;
};

} // namespace twinsift
