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

bool MarkHistory::undo(std::set<std::string> &marks) {
    if (m_steps.empty())
        return false;
    Step step = std::move(m_steps.back());
    m_steps.pop_back();
    for (const auto path : step.m_marked)
        marks.erase(std::string(path));
    for (const auto path : step.m_unmarked)
        marks.emplace(path);
    return true;
}

} // namespace twinsift
