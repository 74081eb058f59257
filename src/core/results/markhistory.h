#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace twinsift {

// The undo steps of the KEEP/TRASH marks: each step holds only the paths it
// marked and unmarked, so undoing a bulk mark over thousands of sets costs
// what the mark itself changed, not a copy of every mark.
class MarkHistory {
public:
    static constexpr std::size_t depth = 20;

    struct Step {
        std::vector<std::string> marked;
        std::vector<std::string> unmarked;
        bool empty() const { return marked.empty() && unmarked.empty(); }
    };

    // Keeps the newest steps; the oldest falls off past the depth. An empty
    // step changed nothing and is not kept.
    void record(Step step);
    // Puts the marks back as they were before the newest step, and drops it.
    // False when there is nothing to undo.
    bool undo(std::set<std::string> &marks);
    bool canUndo() const { return !m_steps.empty(); }
    std::size_t size() const { return m_steps.size(); }
    void clear() { m_steps.clear(); }

private:
    std::deque<Step> m_steps;
};

} // namespace twinsift
