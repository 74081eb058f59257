#pragma once

#include "groupsort.h"
#include "matchcategory.h"
#include "summarycardsmodel.h"

#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>

namespace twinsift {

// Every word the results screen shows for the review's values: categories,
// sorts, summary cards and folders. Nothing here decides what is shown.
class ResultTexts {
    Q_DECLARE_TR_FUNCTIONS(ResultTexts)

public:
    static QString categoryTitle(MatchCategory category);
    // The category bar's button: "Exact Duplicates (12)", the title alone
    // while its count is unknown, "Similar Files · Planned" for the planned one.
    static QString categoryLabel(MatchCategory category, std::optional<std::int64_t> count);
    static QString categoryDescription(MatchCategory category);
    // Tooltip of the category's button.
    static QString categoryHelp(MatchCategory category);
    // A row's verification text and its tooltip.
    static QString verificationLabel(MatchCategory category);
    static QString verificationHelp(MatchCategory category);
    // The flat table's title.
    static QString duplicateFilesTitle();

    static QString sortLabel(GroupSort sort);

    static QString cardTitle(SummaryCardsModel::Card card);
    static QString cardTooltip(SummaryCardsModel::Card card);

    // The folder of filePath in the review list: the words for the scanned
    // folder itself, else the folder below it, or the whole folder.
    static QString relativeFolder(std::string_view rootPath, std::string_view filePath);
};

} // namespace twinsift
