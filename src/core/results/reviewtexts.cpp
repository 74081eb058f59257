#include "reviewtexts.h"

#include "paths.h"

namespace twinsift::ReviewTexts {

std::string categoryLabel(MatchCategory category, std::optional<std::int64_t> count) {
    if (category == MatchCategory::similar)
        return "Similar Files · Planned";
    std::string label(category.title());
    if (count)
        label += " (" + std::to_string(*count) + ")";
    return label;
}

std::string verificationHelp(std::string_view verification) {
    if (verification == "Same Content")
        return "Verified exact duplicate: same file size and same SHA-256 content hash. Filenames "
               "may differ.";
    if (verification == "Review")
        return "Same filename and same size. Content may still differ.";
    if (verification == "Name Match")
        return "Same filename found elsewhere. Size and content may differ.";
    return std::string(verification);
}

std::string metricCardTooltip(std::string_view title) {
    if (title == "Files Scanned")
        return "All regular files meeting the selected minimum file size included in this scan.";
    if (title == "Duplicate Groups")
        return "Sets of files verified as exact content duplicates.";
    if (title == "Duplicate Files")
        return "Total files belonging to verified exact-duplicate sets.";
    if (title == "Potential Savings")
        return "Estimated space that could be reclaimed by keeping one copy in each "
               "exact-duplicate set.";
    return std::string(title);
}

std::string relativeFolder(std::string_view rootPath, std::string_view filePath) {
    const std::string root = paths::standardized(rootPath);
    const std::string folder = paths::standardized(paths::parent(filePath));
    const std::string rootPrefix = root.ends_with('/') ? root : root + "/";
    if (folder == root)
        return "Selected folder";
    if (folder.starts_with(rootPrefix))
        return folder.substr(rootPrefix.size());
    return folder;
}

} // namespace twinsift::ReviewTexts
