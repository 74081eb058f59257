#include "resulttexts.h"

#include "paths.h"
#include "relativefolder.h"

namespace twinsift {

QString ResultTexts::categoryTitle(MatchCategory category) {
    switch (category.value()) {
    case MatchCategory::exact:
        return tr("Exact Duplicates");
    case MatchCategory::sameNameSize:
        return tr("Same Name + Size");
    case MatchCategory::sameName:
        return tr("Same Name");
    case MatchCategory::similar:
        return tr("Similar Files");
    }
    return {};
}

QString ResultTexts::categoryLabel(MatchCategory category, std::optional<std::int64_t> count) {
    if (category == MatchCategory::similar)
        return tr("Similar Files \u00b7 Planned");
    if (!count)
        return categoryTitle(category);
    //: A category button: its title and how many sets it holds.
    return tr("%1 (%2)").arg(categoryTitle(category)).arg(*count);
}

QString ResultTexts::categoryDescription(MatchCategory category) {
    switch (category.value()) {
    case MatchCategory::exact:
        return tr("Same size + same SHA-256 content hash. Content-identical even when filenames "
                  "differ.");
    case MatchCategory::sameNameSize:
        return tr("Same filename + same file size. Review only; identical size does not prove "
                  "identical content.");
    case MatchCategory::sameName:
        return tr("Same filename found in multiple locations. Size and contents may differ.");
    case MatchCategory::similar:
        return tr("Planned similarity review. Similar files will remain separate from verified "
                  "duplicates.");
    }
    return {};
}

QString ResultTexts::categoryHelp(MatchCategory category) {
    switch (category.value()) {
    case MatchCategory::exact:
        return tr("Files verified as content-identical using matching size and SHA-256 hash.");
    case MatchCategory::sameNameSize:
        return tr("Files with the same filename and same size. Contents may still differ.");
    case MatchCategory::sameName:
        return tr("Files sharing a filename. They may have different sizes and contents.");
    case MatchCategory::similar:
        return tr("Planned near-duplicate and visual-similarity review.");
    }
    return {};
}

QString ResultTexts::verificationLabel(MatchCategory category) {
    switch (category.value()) {
    case MatchCategory::exact:
        return tr("Same Content");
    case MatchCategory::sameNameSize:
        return tr("Review");
    case MatchCategory::sameName:
        return tr("Name Match");
    case MatchCategory::similar:
        return tr("Similar");
    }
    return {};
}

QString ResultTexts::verificationHelp(MatchCategory category) {
    switch (category.value()) {
    case MatchCategory::exact:
        return tr("Verified exact duplicate: same file size and same SHA-256 content hash. "
                  "Filenames may differ.");
    case MatchCategory::sameNameSize:
        return tr("Same filename and same size. Content may still differ.");
    case MatchCategory::sameName:
        return tr("Same filename found elsewhere. Size and content may differ.");
    case MatchCategory::similar:
        // The planned category shows no rows; its label says all there is.
        return verificationLabel(category);
    }
    return {};
}

QString ResultTexts::duplicateFilesTitle() {
    return tr("All Exact Duplicate Files");
}

QString ResultTexts::sortLabel(GroupSort sort) {
    switch (sort.value()) {
    case GroupSort::reclaimable:
        return tr("Reclaimable Size");
    case GroupSort::fileCount:
        return tr("File Count");
    case GroupSort::fileSize:
        return tr("File Size");
    case GroupSort::filename:
        return tr("Filename");
    }
    return {};
}

QString ResultTexts::cardTitle(SummaryCardsModel::Card card) {
    switch (card) {
    case SummaryCardsModel::FilesScanned:
        return tr("Files Scanned");
    case SummaryCardsModel::DuplicateGroups:
        return tr("Duplicate Groups");
    case SummaryCardsModel::DuplicateFiles:
        return tr("Duplicate Files");
    case SummaryCardsModel::PotentialSavings:
        return tr("Potential Savings");
    }
    return {};
}

QString ResultTexts::cardTooltip(SummaryCardsModel::Card card) {
    switch (card) {
    case SummaryCardsModel::FilesScanned:
        return tr("All regular files meeting the selected minimum file size included in this "
                  "scan.");
    case SummaryCardsModel::DuplicateGroups:
        return tr("Sets of files verified as exact content duplicates.");
    case SummaryCardsModel::DuplicateFiles:
        return tr("Total files belonging to verified exact-duplicate sets.");
    case SummaryCardsModel::PotentialSavings:
        return tr("Estimated space that could be reclaimed by keeping one copy in each "
                  "exact-duplicate set.");
    }
    return {};
}

QString ResultTexts::relativeFolder(std::string_view rootPath, std::string_view filePath) {
    const auto folder = twinsift::relativeFolder(rootPath, filePath);
    if (!folder)
        return tr("Selected folder");
    return QString::fromStdString(paths::displayText(*folder));
}

} // namespace twinsift
