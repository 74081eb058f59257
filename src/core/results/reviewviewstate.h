#pragma once

#include "groupsort.h"
#include "matchcategory.h"
#include "resultmode.h"

#include <string>

namespace twinsift {

// What the results screen shows: the category and view, the search and sort,
// and the folder column, with the moves the category buttons and summary
// cards make between them.
class ReviewViewState {
public:
    MatchCategory category() const { return m_category; }
    ResultMode mode() const { return m_mode; }
    const std::string &searchText() const { return m_searchText; }
    void setSearchText(std::string text) { m_searchText = std::move(text); }
    GroupSort sortMode() const { return m_sortMode; }
    void setSortMode(GroupSort sort) { m_sortMode = sort; }
    bool showFolderPaths() const { return m_showFolderPaths; }
    void setShowFolderPaths(bool show) { m_showFolderPaths = show; }
    // The grouped view of exact sets, the only one that takes marks.
    bool showsExactGroups() const {
        return m_mode == ResultMode::groups && m_category == MatchCategory::exact;
    }

    // The category button: clears the search unless the same category is
    // clicked again in the grouped view, and leaves the reclaimable-size sort
    // for categories that have no reclaimable size.
    void selectCategory(MatchCategory category);
    // The summary cards. None of them touches the search.
    void showDuplicateGroups();
    void showDuplicateFiles();
    void showPotentialSavings();

private:
    MatchCategory m_category = MatchCategory::exact;
    ResultMode m_mode = ResultMode::groups;
    std::string m_searchText;
    GroupSort m_sortMode = GroupSort::reclaimable;
    bool m_showFolderPaths = false;
};

} // namespace twinsift
