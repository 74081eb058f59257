#include "filenamesearch.h"

#include "unicodetext.h"

namespace twinsift {

FilenameSearch::FilenameSearch(std::string_view searchText)
    : m_query(unicodetext::foldedLowercase(unicodetext::trimmed(searchText))) {}

bool FilenameSearch::matches(const DuplicateFile &file) const {
    if (isBlank())
        return true;
    return unicodetext::foldedFileName(file.url).find(m_query) != std::string::npos;
}

std::vector<DuplicateFile>
FilenameSearch::filterFiles(const std::vector<DuplicateFile> &files) const {
    if (isBlank())
        return files;
    std::vector<DuplicateFile> out;
    for (const auto &file : files)
        if (matches(file))
            out.push_back(file);
    return out;
}

std::vector<DisplayGroup>
FilenameSearch::filterGroups(const std::vector<DisplayGroup> &groups) const {
    if (isBlank())
        return groups;
    std::vector<DisplayGroup> out;
    for (const auto &group : groups) {
        DisplayGroup kept = group;
        kept.files = filterFiles(group.files);
        if (!kept.files.empty())
            out.push_back(std::move(kept));
    }
    return out;
}

} // namespace twinsift
