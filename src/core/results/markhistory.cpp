#include "markhistory.h"

namespace twinsift {

void MarkHistory::record(Step step) {
    if (step.empty())
        return;
    m_steps.push_back(std::move(step));
    while (m_steps.size() > depth)
        m_steps.pop_front();
}

bool MarkHistory::undo(std::set<std::string> &marks) {
    if (m_steps.empty())
        return false;
    Step step = std::move(m_steps.back());
    m_steps.pop_back();
    for (const auto &path : step.marked)
        marks.erase(path);
    for (auto &path : step.unmarked)
        marks.insert(std::move(path));
    return true;
}

} // namespace twinsift
