#pragma once

#include "filemarks.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <set>
#include <string>

namespace twinsift {

// The undo steps of the KEEP/TRASH marks: each step is the marks as they
// stood before a click, a bulk mark or clearing them. The marks of the
// result's files are a bit each, so a step over tens of thousands of files
// costs a few kilobytes and no strings. The history is cleared whenever the
// result is replaced, as the bits name files by their place in it.
class MarkHistory {
public:
    static constexpr std::size_t depth = 20;

    struct Step {
        FileMarks marks;
        // Marks on paths no exact set of the result holds, kept from an
        // earlier result; almost always none.
        std::set<std::string> elsewhere;
    };

    // Keeps the newest steps; the oldest falls off past the depth.
    void record(Step step);
    // The marks before the newest step, which is dropped; nothing when there
    // is nothing to undo.
    std::optional<Step> takeNewest();
    bool canUndo() const { return !m_steps.empty(); }
    std::size_t size() const { return m_steps.size(); }
    void clear() { m_steps.clear(); }

private:
    std::deque<Step> m_steps;
};

} // namespace twinsift
