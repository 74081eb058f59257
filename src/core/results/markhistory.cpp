#include "markhistory.h"

namespace twinsift {

void MarkHistory::record(Step step) {
    m_steps.push_back(std::move(step));
    while (m_steps.size() > depth)
        m_steps.pop_front();
}

std::optional<MarkHistory::Step> MarkHistory::takeNewest() {
    if (m_steps.empty())
        return std::nullopt;
    Step step = std::move(m_steps.back());
    m_steps.pop_back();
    return step;
}

} // namespace twinsift
