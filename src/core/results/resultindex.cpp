#include "resultindex.h"

#include "displaygroups.h"

#include <utility>

namespace twinsift {

namespace {
// Every file of every exact set in path order; the FileIds are the
// permutation itself, as the files are listed by FileId before sorting.
std::pair<std::vector<DuplicateFile>, std::vector<FileId>>
orderedFiles(const DuplicateScanResult &result, const PathOrder &order) {
    std::vector<const DuplicateFile *> byId;
    for (const auto &group : result.groups)
        for (const auto &f : group.files)
            byId.push_back(&f);
    std::vector<FileId> ids =
        order.order(byId.size(), [&](std::size_t i) -> std::string_view { return byId[i]->url; });
    std::vector<DuplicateFile> files;
    files.reserve(ids.size());
    for (const FileId id : ids)
        files.push_back(*byId[id]);
    return {std::move(files), std::move(ids)};
}
} // namespace

ResultIndex::ResultIndex(std::shared_ptr<const DuplicateScanResult> result)
    : m_order(std::make_unique<PathOrder>()) {
    setResult(std::move(result));
}

ResultIndex::~ResultIndex() = default;

void ResultIndex::setResult(std::shared_ptr<const DuplicateScanResult> result) {
    m_result = result ? std::move(result) : std::make_shared<const DuplicateScanResult>();
    m_exactGroups.reset();
    m_sameNameSizeGroups.reset();
    m_sameNameGroups.reset();
    m_idOfPath.reset();
    m_duplicateFiles.reset();
    m_duplicateFileIds.clear();
    indexFiles();
}

void ResultIndex::indexFiles() {
    m_groupStart.clear();
    m_files.clear();
    m_groupStart.reserve(m_result->groups.size() + 1);
    for (const auto &group : m_result->groups) {
        m_groupStart.push_back(m_files.size());
        for (const auto &f : group.files)
            m_files.push_back(&f);
    }
    m_groupStart.push_back(m_files.size());
}

ResultIndex::Groupings ResultIndex::derive(const DuplicateScanResult &result) {
    const PathOrder order;
    auto [files, ids] = orderedFiles(result, order);
    return {DisplayGroups::sameNameSizeGroups(result, order),
            DisplayGroups::sameNameGroups(result, order), std::move(files), std::move(ids)};
}

void ResultIndex::adopt(Groupings groupings) {
    m_sameNameSizeGroups =
        std::make_shared<const std::vector<DisplayGroup>>(std::move(groupings.sameNameSize));
    m_sameNameGroups =
        std::make_shared<const std::vector<DisplayGroup>>(std::move(groupings.sameName));
    m_duplicateFiles =
        std::make_shared<const std::vector<DuplicateFile>>(std::move(groupings.duplicateFiles));
    m_duplicateFileIds = std::move(groupings.duplicateFileIds);
}

std::shared_ptr<const std::vector<DisplayGroup>>
ResultIndex::sharedGroups(MatchCategory category) const {
    const auto made = [](std::vector<DisplayGroup> groups) {
        return std::make_shared<const std::vector<DisplayGroup>>(std::move(groups));
    };
    switch (category.value()) {
    case MatchCategory::exact:
        if (!m_exactGroups)
            m_exactGroups = made(DisplayGroups::exactGroups(*m_result));
        return m_exactGroups;
    case MatchCategory::sameNameSize:
        if (!m_sameNameSizeGroups)
            m_sameNameSizeGroups = made(DisplayGroups::sameNameSizeGroups(*m_result, *m_order));
        return m_sameNameSizeGroups;
    case MatchCategory::sameName:
        if (!m_sameNameGroups)
            m_sameNameGroups = made(DisplayGroups::sameNameGroups(*m_result, *m_order));
        return m_sameNameGroups;
    case MatchCategory::similar:
        break;
    }
    static const auto none = std::make_shared<const std::vector<DisplayGroup>>();
    return none;
}

const std::vector<DisplayGroup> &ResultIndex::groups(MatchCategory category) const {
    return *sharedGroups(category);
}

std::optional<std::int64_t> ResultIndex::categoryCount(MatchCategory category) const {
    if (category == MatchCategory::similar)
        return std::nullopt;
    return static_cast<std::int64_t>(groups(category).size());
}

const std::shared_ptr<const std::vector<DuplicateFile>> &ResultIndex::sharedDuplicateFiles() const {
    if (!m_duplicateFiles) {
        auto [files, ids] = orderedFiles(*m_result, *m_order);
        m_duplicateFiles = std::make_shared<const std::vector<DuplicateFile>>(std::move(files));
        m_duplicateFileIds = std::move(ids);
    }
    return m_duplicateFiles;
}

const std::vector<FileId> &ResultIndex::duplicateFileIds() const {
    (void)sharedDuplicateFiles();
    return m_duplicateFileIds;
}

std::optional<FileId> ResultIndex::fileIdIn(const DisplayGroup &group,
                                            const std::string &path) const {
    const auto g = static_cast<std::size_t>(group.accentIndex);
    if (group.exact && group.accentIndex >= 0 && g < m_result->groups.size()) {
        const auto &files = m_result->groups[g].files;
        for (std::size_t i = 0; i < files.size(); ++i)
            if (files[i].url == path)
                return fileId(g, i);
    }
    return fileIdOf(path);
}

std::optional<FileId> ResultIndex::fileIdOf(const std::string &path) const {
    if (!m_idOfPath) {
        m_idOfPath.emplace();
        m_idOfPath->reserve(m_files.size());
        for (std::size_t i = 0; i < m_files.size(); ++i)
            m_idOfPath->try_emplace(m_files[i]->url, static_cast<FileId>(i));
    }
    const auto it = m_idOfPath->find(path);
    return it == m_idOfPath->end() ? std::nullopt : std::optional<FileId>(it->second);
}

} // namespace twinsift
