#include "markhistory.h"

#include <algorithm>

namespace twinsift {

void MarkHistory::record(Step step) {
    if (step.empty())
        return;
    m_steps.push_back(std::move(step));
    while (m_steps.size() > depth)
        m_steps.pop_front();
}

bool MarkHistory::Step::dropMarked(std::string_view path) {
    const auto it = std::find(m_marked.rbegin(), m_marked.rend(), path);
    if (it == m_marked.rend())
        return false;
    m_marked.erase(std::next(it).base());
    return true;
}

bool MarkHistory::undo(std::set<std::string> &marks,
                       const std::function<void(const std::string &, bool)> &changed) {
    if (m_steps.empty())
        return false;
    Step step = std::move(m_steps.back());
    m_steps.pop_back();
    for (const auto path : step.m_marked) {
        const auto it = marks.find(std::string(path));
        if (it == marks.end())
            continue;
        if (changed)
            changed(*it, true);
        marks.erase(it);
    }
    for (const auto path : step.m_unmarked) {
        const auto [it, added] = marks.emplace(path);
        if (added && changed)
            changed(*it, false);
    }
    return true;
}

} // namespace twinsift
