#include "reviewviewstate.h"

namespace twinsift {

void ReviewViewState::selectCategory(MatchCategory category) {
    if (category != m_category || m_mode != ResultMode::groups)
        m_searchText.clear();
    m_category = category;
    m_mode = ResultMode::groups;
    if (category != MatchCategory::exact && m_sortMode == GroupSort::reclaimable)
        m_sortMode = GroupSort::fileCount;
}

void ReviewViewState::showDuplicateGroups() {
    m_category = MatchCategory::exact;
    m_mode = ResultMode::groups;
}

void ReviewViewState::showDuplicateFiles() {
    m_mode = ResultMode::duplicateFiles;
}

void ReviewViewState::showPotentialSavings() {
    m_category = MatchCategory::exact;
    m_sortMode = GroupSort::reclaimable;
    m_mode = ResultMode::groups;
}

} // namespace twinsift
