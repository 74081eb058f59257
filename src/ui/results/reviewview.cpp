#include "reviewview.h"

#include "resulttexts.h"

namespace twinsift {

QString ReviewView::sortLabel() const {
    return ResultTexts::sortLabel(m_review.sortMode());
}

QString ReviewView::folderToggleTooltip() const {
    return showFolderPaths() ? tr("Folder paths are visible. Click to turn them off.")
                             : tr("Folder paths are hidden. Click to turn them on.");
}

QString ReviewView::searchPlaceholder() const {
    return isGrouped() ? tr("Search filenames") : tr("Search duplicate files");
}

QStringList ReviewView::sortOptions() {
    QStringList options;
    for (auto s : GroupSort::allCases())
        options.push_back(ResultTexts::sortLabel(s));
    return options;
}

QString ReviewView::sectionTitle() const {
    return isGrouped() ? ResultTexts::categoryTitle(m_review.category())
                       : ResultTexts::duplicateFilesTitle();
}

QString ReviewView::categoryDescription() const {
    return ResultTexts::categoryDescription(m_review.category());
}

QString ReviewView::verificationLabel() const {
    return ResultTexts::verificationLabel(isGrouped() ? m_review.category()
                                                      : ResultMode::duplicateFilesCategory());
}

QString ReviewView::cleanupHeader() const {
    return cleanupEnabled() ? tr("Cleanup") : tr("Status");
}

ReviewView::Snapshot ReviewView::snapshot() const {
    return {m_review.category(), m_review.mode(), m_review.searchText(), m_review.sortMode(),
            m_review.showFolderPaths()};
}

ReviewView::Moves ReviewView::announce(const Snapshot &before) {
    const bool categoryMoved = before.category != m_review.category();
    const bool modeMoved = before.mode != m_review.mode();
    const bool searchMoved = before.search != m_review.searchText();
    const bool sortMoved = before.sort != m_review.sortMode();
    if (categoryMoved)
        emit categoryChanged();
    if (modeMoved)
        emit modeChanged();
    if (searchMoved)
        emit searchTextChanged();
    if (sortMoved)
        emit sortModeChanged();
    if (before.folders != m_review.showFolderPaths())
        emit showFolderPathsChanged();
    const bool kind = categoryMoved || modeMoved;
    if (kind)
        emit shownKindChanged();
    return {kind, kind || searchMoved || sortMoved};
}

} // namespace twinsift
