#pragma once

#include "displaygroup.h"
#include "duplicatescanresult.h"
#include "filemarks.h"
#include "matchcategory.h"
#include "pathorder.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace twinsift {

// One scan result as the review reads it: every file of an exact set by its
// FileId, and the groupings of each category, worked out when first asked
// (or handed over by a worker) and kept until the result is replaced. The
// result itself is never changed, only replaced.
class ResultIndex {
public:
    explicit ResultIndex(std::shared_ptr<const DuplicateScanResult> result = nullptr);
    ~ResultIndex();
    ResultIndex(const ResultIndex &) = delete;
    ResultIndex &operator=(const ResultIndex &) = delete;

    const DuplicateScanResult &result() const { return *m_result; }
    // Forgets everything worked out for the result before.
    void setResult(std::shared_ptr<const DuplicateScanResult> result);

    // The groupings that take long on a large result (the two review-only
    // categories over every scanned file, and the path-ordered list of
    // duplicates). derive() is a pure function of the result, safe on any
    // thread; adopt() hands its answer to the index of that same result.
    struct Groupings {
        std::vector<DisplayGroup> sameNameSize;
        std::vector<DisplayGroup> sameName;
        std::vector<DuplicateFile> duplicateFiles;
        std::vector<FileId> duplicateFileIds;
    };
    static Groupings derive(const DuplicateScanResult &result);
    void adopt(Groupings groupings);
    // Whether the review-only groupings are known without working them out.
    bool hasReviewGroupings() const { return m_sameNameSizeGroups && m_sameNameGroups; }

    // The groups of each category, unfiltered and unsorted; none for the
    // planned one.
    const std::vector<DisplayGroup> &groups(MatchCategory category) const;
    // The same, shared: kept alive by whoever holds it past a new result.
    std::shared_ptr<const std::vector<DisplayGroup>> sharedGroups(MatchCategory category) const;
    // The count on a category button, before any search; none for the
    // planned category.
    std::optional<std::int64_t> categoryCount(MatchCategory category) const;
    // Every file of every exact set, in path order, and the FileId of each.
    // The list is shared so that a view may keep it past a new result.
    const std::shared_ptr<const std::vector<DuplicateFile>> &sharedDuplicateFiles() const;
    const std::vector<FileId> &duplicateFileIds() const;
    const PathOrder &order() const { return *m_order; }

    // --- Files of exact sets, by FileId --------------------------------------
    std::size_t fileCount() const { return m_files.size(); }
    std::size_t setCount() const { return m_groupStart.size() - 1; }
    FileId fileId(std::size_t set, std::size_t copy) const {
        return static_cast<FileId>(m_groupStart[set] + copy);
    }
    // The FileIds of a set's copies: [first, end).
    FileId setBegin(std::size_t set) const { return static_cast<FileId>(m_groupStart[set]); }
    FileId setEnd(std::size_t set) const { return static_cast<FileId>(m_groupStart[set + 1]); }
    const DuplicateFile &file(FileId id) const { return *m_files[id]; }
    // Looks the path up in the set the group shows (cheap), or among all
    // exact sets when the group is not one of them.
    std::optional<FileId> fileIdIn(const DisplayGroup &group, const std::string &path) const;
    std::optional<FileId> fileIdOf(const std::string &path) const;

private:
    void indexFiles();

    std::shared_ptr<const DuplicateScanResult> m_result;
    std::unique_ptr<PathOrder> m_order;
    // Where each set's copies start among the FileIds, one entry more than
    // sets, and each file by its FileId.
    std::vector<std::size_t> m_groupStart;
    std::vector<const DuplicateFile *> m_files;

    // Derived from the immutable result alone, so computed once per result.
    using Groups = std::shared_ptr<const std::vector<DisplayGroup>>;
    mutable Groups m_exactGroups;
    mutable Groups m_sameNameSizeGroups;
    mutable Groups m_sameNameGroups;
    mutable std::shared_ptr<const std::vector<DuplicateFile>> m_duplicateFiles;
    mutable std::vector<FileId> m_duplicateFileIds;
    mutable std::optional<std::unordered_map<std::string_view, FileId>> m_idOfPath;
};

} // namespace twinsift
