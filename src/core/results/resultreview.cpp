#include "resultreview.h"

#include "cleanupprotection.h"
#include "displaygroups.h"
#include "filenamesearch.h"

#include <algorithm>
#include <utility>

namespace twinsift {

ResultReview::ResultReview(DuplicateScanResult result, ProtectionTest isProtected)
    : m_result(std::make_shared<const DuplicateScanResult>(std::move(result))),
      m_isProtected(isProtected ? std::move(isProtected)
                                : ProtectionTest(CleanupProtection::isProtected)),
      m_order(std::make_unique<PathOrder>()) {
    indexFiles();
    m_marks = FileMarks(fileCount());
    m_committed.marks = m_reported = m_marks;
}

ResultReview::~ResultReview() = default;

void ResultReview::setResult(DuplicateScanResult result) {
    setResult(std::make_shared<const DuplicateScanResult>(std::move(result)));
}

void ResultReview::setResult(std::shared_ptr<const DuplicateScanResult> result) {
    if (!result)
        result = std::make_shared<const DuplicateScanResult>();
    // Marks follow paths from one result to the next.
    std::vector<std::string> marked(m_marksElsewhere.begin(), m_marksElsewhere.end());
    m_marks.forEach([&](FileId id) { marked.push_back(file(id).url); });
    m_result = std::move(result);
    resetDerived();
    indexFiles();
    m_marks = FileMarks(fileCount());
    m_marksElsewhere.clear();
    for (auto &path : marked) {
        if (const auto id = fileIdOf(path))
            m_marks.set(*id, true);
        else
            m_marksElsewhere.insert(std::move(path));
    }
    m_committed = {m_marks, m_marksElsewhere};
    m_reported = m_marks;
    marksChanged();
}

void ResultReview::indexFiles() {
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

ResultReview::Groupings ResultReview::derive(const DuplicateScanResult &result) {
    const PathOrder order;
    auto [files, ids] = orderedFiles(result, order);
    return {DisplayGroups::sameNameSizeGroups(result, order),
            DisplayGroups::sameNameGroups(result, order), std::move(files), std::move(ids)};
}

void ResultReview::adopt(Groupings groupings) {
    m_sameNameSizeGroups = std::move(groupings.sameNameSize);
    m_sameNameGroups = std::move(groupings.sameName);
    m_duplicateFiles =
        std::make_shared<const std::vector<DuplicateFile>>(std::move(groupings.duplicateFiles));
    m_duplicateFileIds = std::move(groupings.duplicateFileIds);
}

void ResultReview::resetDerived() {
    // Its steps name files by their place in the result about to go.
    m_history.clear();
    m_exactGroups.reset();
    m_sameNameSizeGroups.reset();
    m_sameNameGroups.reset();
    m_idOfPath.reset();
    m_duplicateFiles.reset();
    m_duplicateFileIds.clear();
}

void ResultReview::selectCategory(MatchCategory category) {
    if (category != m_category || m_mode != ResultMode::groups)
        m_searchText.clear();
    m_category = category;
    m_mode = ResultMode::groups;
    if (category != MatchCategory::exact && m_sortMode == GroupSort::reclaimable)
        m_sortMode = GroupSort::fileCount;
}

void ResultReview::showDuplicateGroups() {
    m_category = MatchCategory::exact;
    m_mode = ResultMode::groups;
}

void ResultReview::showDuplicateFiles() {
    m_mode = ResultMode::duplicateFiles;
}

void ResultReview::showPotentialSavings() {
    m_category = MatchCategory::exact;
    m_sortMode = GroupSort::reclaimable;
    m_mode = ResultMode::groups;
}

const std::vector<DisplayGroup> &ResultReview::exactGroups() const {
    if (!m_exactGroups)
        m_exactGroups = DisplayGroups::exactGroups(*m_result);
    return *m_exactGroups;
}

const std::vector<DisplayGroup> &ResultReview::sameNameSizeGroups() const {
    if (!m_sameNameSizeGroups)
        m_sameNameSizeGroups = DisplayGroups::sameNameSizeGroups(*m_result, *m_order);
    return *m_sameNameSizeGroups;
}

const std::vector<DisplayGroup> &ResultReview::sameNameGroups() const {
    if (!m_sameNameGroups)
        m_sameNameGroups = DisplayGroups::sameNameGroups(*m_result, *m_order);
    return *m_sameNameGroups;
}

const std::vector<DisplayGroup> &ResultReview::activeGroups() const {
    static const std::vector<DisplayGroup> none;
    switch (m_category.value()) {
    case MatchCategory::exact:
        return exactGroups();
    case MatchCategory::sameNameSize:
        return sameNameSizeGroups();
    case MatchCategory::sameName:
        return sameNameGroups();
    case MatchCategory::similar:
        break;
    }
    return none;
}

std::vector<DisplayGroup> ResultReview::searchedGroups() const {
    std::vector<DisplayGroup> groups = FilenameSearch(m_searchText).filterGroups(activeGroups());
    DisplayGroups::sort(groups, m_sortMode, *m_order);
    return groups;
}

const std::shared_ptr<const std::vector<DuplicateFile>> &
ResultReview::sharedDuplicateFiles() const {
    if (!m_duplicateFiles) {
        auto [files, ids] = orderedFiles(*m_result, *m_order);
        m_duplicateFiles = std::make_shared<const std::vector<DuplicateFile>>(std::move(files));
        m_duplicateFileIds = std::move(ids);
    }
    return m_duplicateFiles;
}

const std::vector<DuplicateFile> &ResultReview::duplicateFiles() const {
    return *sharedDuplicateFiles();
}

const std::vector<FileId> &ResultReview::duplicateFileIds() const {
    (void)sharedDuplicateFiles();
    return m_duplicateFileIds;
}

std::optional<FileId> ResultReview::fileIdIn(const DisplayGroup &group,
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

std::optional<FileId> ResultReview::fileIdOf(const std::string &path) const {
    if (!m_idOfPath) {
        m_idOfPath.emplace();
        m_idOfPath->reserve(m_files.size());
        for (std::size_t i = 0; i < m_files.size(); ++i)
            m_idOfPath->try_emplace(m_files[i]->url, static_cast<FileId>(i));
    }
    const auto it = m_idOfPath->find(path);
    return it == m_idOfPath->end() ? std::nullopt : std::optional<FileId>(it->second);
}

std::vector<DuplicateFile>
ResultReview::filterFiles(const std::vector<DuplicateFile> &files) const {
    return FilenameSearch(m_searchText).filterFiles(files);
}

std::optional<std::int64_t> ResultReview::categoryCount(MatchCategory category) const {
    switch (category.value()) {
    case MatchCategory::exact:
        return static_cast<std::int64_t>(exactGroups().size());
    case MatchCategory::sameNameSize:
        return static_cast<std::int64_t>(sameNameSizeGroups().size());
    case MatchCategory::sameName:
        return static_cast<std::int64_t>(sameNameGroups().size());
    case MatchCategory::similar:
        break;
    }
    return std::nullopt;
}

bool ResultReview::isMarked(const DuplicateFile &file) const {
    if (const auto id = fileIdOf(file.url))
        return m_marks.test(*id);
    return m_marksElsewhere.contains(file.url);
}

const std::set<std::string> &ResultReview::selectedForTrash() const {
    if (!m_markedPaths) {
        m_markedPaths = m_marksElsewhere;
        m_marks.forEach([this](FileId id) { m_markedPaths->insert(file(id).url); });
    }
    return *m_markedPaths;
}

const DisplayGroup &ResultReview::fullGroup(const DisplayGroup &shown) const {
    const auto &groups = activeGroups();
    const auto it = std::find_if(groups.begin(), groups.end(),
                                 [&](const DisplayGroup &g) { return g.id == shown.id; });
    return it != groups.end() ? *it : shown;
}

void ResultReview::toggleTrash(const DuplicateFile &file, const DisplayGroup &group) {
    if (!group.exact)
        return;
    const auto id = fileIdIn(group, file.url);
    if (!id)
        return;
    if (m_marks.test(*id)) {
        m_marks.set(*id, false);
        commitMarks();
        return;
    }
    const auto marked =
        std::count_if(group.files.begin(), group.files.end(), [&](const DuplicateFile &f) {
            const auto other = fileIdIn(group, f.url);
            return other && m_marks.test(*other);
        });
    if (static_cast<std::size_t>(marked) + 1 < group.files.size()) {
        m_marks.set(*id, true);
        commitMarks();
    } else {
        m_cleanupGuard = Guard::keepOneCopy;
    }
}

void ResultReview::clearSelection() {
    m_marks.clear();
    m_marksElsewhere.clear();
    commitMarks();
}

std::optional<MarkRuleSummary> ResultReview::applyMarkRule(MarkRule rule,
                                                           const MarkRuleInputs &inputs) {
    if (m_mode != ResultMode::groups || m_category != MatchCategory::exact)
        return std::nullopt;
    // A set is shown when the search leaves any of its files; the rule then
    // looks at all of them.
    const FilenameSearch search(m_searchText);
    std::vector<const DisplayGroup *> shown;
    shown.reserve(exactGroups().size());
    for (const auto &group : exactGroups())
        if (search.isBlank() ||
            std::any_of(group.files.begin(), group.files.end(),
                        [&](const DuplicateFile &f) { return search.matches(f); }))
            shown.push_back(&group);

    const MarkRuleOutcome outcome =
        MarkRules::apply(rule, shown,
                         {m_marks,
                          [this](const DisplayGroup &set) {
                              return fileId(static_cast<std::size_t>(set.accentIndex), 0);
                          },
                          [this](FileId id) { return isProtected(id); }},
                         inputs);
    for (const FileId id : outcome.toUnmark)
        m_marks.set(id, false);
    for (const FileId id : outcome.toMark)
        m_marks.set(id, true);
    if (outcome.summary.protectedLeftAlone > 0)
        m_protectedLocationAlert = true;
    commitMarks();
    return outcome.summary;
}

void ResultReview::undoMarks() {
    auto step = m_history.takeNewest();
    if (!step)
        return;
    m_marks = std::move(step->marks);
    m_marksElsewhere = std::move(step->elsewhere);
    sweepProtected();
    // What the sweep takes away now is not a step of its own.
    m_committed = {m_marks, m_marksElsewhere};
    marksChanged();
}

void ResultReview::commitMarks() {
    sweepProtected();
    marksChanged();
    // A change the sweep took straight back changed nothing: no step.
    if (m_marks == m_committed.marks && m_marksElsewhere == m_committed.elsewhere)
        return;
    m_history.record(std::exchange(m_committed, {m_marks, m_marksElsewhere}));
}

bool ResultReview::isProtected(FileId id) const {
    return m_isFileProtected ? m_isFileProtected(id) : m_isProtected(file(id).url);
}

void ResultReview::sweepProtected() {
    std::vector<FileId> protectedFiles;
    m_marks.forEach([&](FileId id) {
        if (isProtected(id))
            protectedFiles.push_back(id);
    });
    if (protectedFiles.empty())
        return;
    for (const FileId id : protectedFiles)
        m_marks.set(id, false);
    m_protectedLocationAlert = true;
}

std::vector<FileId> ResultReview::takeMarkChanges() {
    std::vector<FileId> changed;
    m_marks.forEachDifference(m_reported, [&](FileId id) { changed.push_back(id); });
    m_reported = m_marks;
    return changed;
}

std::vector<DuplicateFile> ResultReview::selectedFiles() const {
    std::vector<DuplicateFile> files;
    if (m_marks.empty())
        return files;
    const auto &ordered = duplicateFiles();
    const auto &ids = duplicateFileIds();
    for (std::size_t k = 0; k < ordered.size(); ++k)
        if (m_marks.test(ids[k]) && !isProtected(ids[k]))
            files.push_back(ordered[k]);
    return files;
}

std::uint64_t ResultReview::selectedBytes() const {
    std::uint64_t total = 0;
    for (const auto &file : selectedFiles())
        total += file.size;
    return total;
}

std::optional<std::vector<DuplicateFile>> ResultReview::prepareCleanup() {
    std::vector<DuplicateFile> selected = selectedFiles();
    if (selected.empty())
        return std::nullopt;
    for (std::size_t g = 0; g < m_result->groups.size(); ++g) {
        bool everyCopy = m_groupStart[g] < m_groupStart[g + 1];
        for (std::size_t id = m_groupStart[g]; everyCopy && id < m_groupStart[g + 1]; ++id)
            everyCopy =
                m_marks.test(static_cast<FileId>(id)) && !isProtected(static_cast<FileId>(id));
        if (everyCopy) {
            m_cleanupGuard = Guard::wholeSetSelected;
            return std::nullopt;
        }
    }
    return selected;
}

} // namespace twinsift
