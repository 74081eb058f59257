#pragma once

#include "displaygroup.h"
#include "duplicatefile.h"

#include <string>
#include <string_view>
#include <vector>

namespace twinsift {

// The results screen's search: a file matches when its own name, lower-cased,
// contains the trimmed, lower-cased search text. Folder names never match.
class FilenameSearch {
public:
    explicit FilenameSearch(std::string_view searchText);

    // A blank search keeps every file.
    bool isBlank() const { return m_query.empty(); }
    const std::string &query() const { return m_query; }

    bool matches(const DuplicateFile &file) const;

    // The matching files, in their order.
    std::vector<DuplicateFile> filterFiles(const std::vector<DuplicateFile> &files) const;

    // Each group keeps only its matching files and is dropped when none is
    // left. Everything else about a group stays, so an exact group still
    // reports what removing the whole set would free.
    std::vector<DisplayGroup> filterGroups(const std::vector<DisplayGroup> &groups) const;

private:
    std::string m_query;
};

} // namespace twinsift
