#pragma once

#include "matchcategory.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Texts of the results screen that follow a rule rather than a fixed string.
namespace twinsift::ReviewTexts {

// "Exact Duplicates (12)"; the planned category reads "Similar Files · Planned".
std::string categoryLabel(MatchCategory category, std::optional<std::int64_t> count);

// Tooltip of a row's verification text; an unknown text is its own tooltip.
std::string verificationHelp(std::string_view verification);

// Tooltip of a summary card; an unknown title is its own tooltip.
std::string metricCardTooltip(std::string_view title);

// The folder of path as the review list shows it: "Selected folder" for the
// scanned folder itself, the part below the scanned folder for its
// sub-folders, the full folder otherwise. Still bytes: decode it with
// paths::displayText to show it.
std::string relativeFolder(std::string_view rootPath, std::string_view filePath);

} // namespace twinsift::ReviewTexts
