#include "resultreview.h"

#include "cleanupprotection.h"
#include "displaygroups.h"
#include "filenamesearch.h"
#include "reviewtexts.h"

#include <algorithm>
#include <unordered_set>

namespace twinsift {

ResultReview::ResultReview(DuplicateScanResult result, ProtectionTest isProtected)
    : m_result(std::move(result)),
      m_isProtected(isProtected ? std::move(isProtected)
                                : ProtectionTest(CleanupProtection::isProtected)),
      m_order(std::make_unique<PathOrder>()) {}

ResultReview::~ResultReview() = default;

void ResultReview::setResult(DuplicateScanResult result) {
    m_result = std::move(result);
    resetDerived();
}

ResultReview::Groupings ResultReview::derive(const DuplicateScanResult &result) {
    const PathOrder order;
    return {DisplayGroups::sameNameSizeGroups(result, order),
            DisplayGroups::sameNameGroups(result, order),
            DisplayGroups::duplicateFiles(result, order)};
}

void ResultReview::adopt(Groupings groupings) {
    m_sameNameSizeGroups = std::move(groupings.sameNameSize);
    m_sameNameGroups = std::move(groupings.sameName);
    m_duplicateFiles = std::move(groupings.duplicateFiles);
}

void ResultReview::resetDerived() {
    // Its steps hold views into the groups about to go.
    m_history.clear();
    m_pendingStep = {};
    m_exactGroups.reset();
    m_sameNameSizeGroups.reset();
    m_sameNameGroups.reset();
    m_exactPaths.reset();
    m_duplicateFiles.reset();
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
        m_exactGroups = DisplayGroups::exactGroups(m_result);
    return *m_exactGroups;
}

const std::vector<DisplayGroup> &ResultReview::sameNameSizeGroups() const {
    if (!m_sameNameSizeGroups)
        m_sameNameSizeGroups = DisplayGroups::sameNameSizeGroups(m_result, *m_order);
    return *m_sameNameSizeGroups;
}

const std::vector<DisplayGroup> &ResultReview::sameNameGroups() const {
    if (!m_sameNameGroups)
        m_sameNameGroups = DisplayGroups::sameNameGroups(m_result, *m_order);
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

const std::vector<DuplicateFile> &ResultReview::duplicateFiles() const {
    if (!m_duplicateFiles)
        m_duplicateFiles = DisplayGroups::duplicateFiles(m_result, *m_order);
    return *m_duplicateFiles;
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

std::string ResultReview::categoryLabel(MatchCategory category) const {
    return ReviewTexts::categoryLabel(category, categoryCount(category));
}

bool ResultReview::isMarked(const DuplicateFile &file) const {
    return m_selectedForTrash.contains(file.url);
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
    if (m_selectedForTrash.contains(file.url)) {
        unmark(file.url);
        commitMarks();
        return;
    }
    const auto marked = std::count_if(group.files.begin(), group.files.end(),
                                      [&](const DuplicateFile &f) { return isMarked(f); });
    if (static_cast<std::size_t>(marked) + 1 < group.files.size()) {
        mark(file.url);
        commitMarks();
    } else {
        m_cleanupGuardMessage = std::string(keepOneCopyMessage);
    }
}

void ResultReview::clearSelection() {
    for (const auto &path : m_selectedForTrash) {
        noteMarkChange(path, true);
        if (const auto stable = stablePath(path))
            m_pendingStep.addUnmarked(*stable);
        else
            m_pendingStep.addUnmarkedCopy(path);
    }
    m_selectedForTrash.clear();
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

    MarkRuleOutcome outcome =
        MarkRules::apply(rule, shown, m_selectedForTrash, m_isProtected, inputs);
    for (const std::string *path : outcome.toUnmark)
        unmark(*path);
    m_pendingStep.reserveMarked(outcome.toMark.size());
    // The outcome points into exactGroups(), which lives as long as the
    // result.
    for (const std::string *path : outcome.toMark)
        mark(*path, true);
    if (outcome.summary.protectedLeftAlone > 0)
        m_protectedLocationMessage = std::string(protectedLocationText);
    commitMarks();
    return outcome.summary;
}

void ResultReview::undoMarks() {
    if (!m_history.undo(m_selectedForTrash, [this](const std::string &path, bool wasMarked) {
            noteMarkChange(path, wasMarked);
        }))
        return;
    sweepProtected();
    // What the sweep takes away now is not a step of its own.
    m_pendingStep = {};
}

void ResultReview::mark(const std::string &path, bool stable) {
    if (!m_selectedForTrash.insert(path).second)
        return;
    noteMarkChange(path, false);
    if (stable)
        m_pendingStep.addMarked(path);
    else if (const auto view = stablePath(path))
        m_pendingStep.addMarked(*view);
    else
        m_pendingStep.addMarkedCopy(path);
}

void ResultReview::unmark(const std::string &path) {
    const auto it = m_selectedForTrash.find(path);
    if (it == m_selectedForTrash.end())
        return;
    noteMarkChange(path, true);
    const auto view = stablePath(path);
    // Marked and unmarked within one step: undoing it must leave the path as
    // it was before, unmarked.
    if (!m_pendingStep.dropMarked(view.value_or(std::string_view(path)))) {
        if (view)
            m_pendingStep.addUnmarked(*view);
        else
            m_pendingStep.addUnmarkedCopy(path);
    }
    m_selectedForTrash.erase(it);
}

std::optional<std::string_view> ResultReview::stablePath(const std::string &path) const {
    if (!m_exactPaths) {
        m_exactPaths.emplace();
        m_exactPaths->reserve(duplicateFiles().size());
        for (const auto &file : duplicateFiles())
            m_exactPaths->insert(file.url);
    }
    const auto it = m_exactPaths->find(path);
    return it == m_exactPaths->end() ? std::nullopt : std::optional<std::string_view>(*it);
}

void ResultReview::commitMarks() {
    sweepProtected();
    m_history.record(std::move(m_pendingStep));
    m_pendingStep = {};
}

void ResultReview::sweepProtected() {
    if (m_selectedForTrash.empty())
        return;
    std::vector<std::string> protectedPaths;
    for (const auto &path : m_selectedForTrash)
        if (m_isProtected(path) && stablePath(path))
            protectedPaths.push_back(path);
    if (protectedPaths.empty())
        return;
    for (const auto &path : protectedPaths)
        unmark(path);
    m_protectedLocationMessage = std::string(protectedLocationText);
}

void ResultReview::noteMarkChange(const std::string &path, bool wasMarked) {
    m_markChanges.try_emplace(path, wasMarked);
}

std::vector<std::string> ResultReview::takeMarkChanges() {
    std::vector<std::string> changed;
    changed.reserve(m_markChanges.size());
    for (auto &[path, wasMarked] : m_markChanges)
        if (m_selectedForTrash.contains(path) != wasMarked)
            changed.push_back(std::move(path));
    m_markChanges.clear();
    return changed;
}

std::vector<DuplicateFile> ResultReview::selectedFiles() const {
    std::vector<DuplicateFile> files;
    if (m_selectedForTrash.empty())
        return files;
    for (const auto &file : duplicateFiles())
        if (isMarked(file) && !m_isProtected(file.url))
            files.push_back(file);
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
    std::unordered_set<std::string_view> selectedPaths;
    for (const auto &file : selected)
        selectedPaths.insert(file.url);
    for (const auto &group : m_result.groups) {
        const bool everyCopy =
            !group.files.empty() &&
            std::all_of(group.files.begin(), group.files.end(),
                        [&](const DuplicateFile &f) { return selectedPaths.contains(f.url); });
        if (everyCopy) {
            m_cleanupGuardMessage = std::string(wholeSetSelectedMessage);
            return std::nullopt;
        }
    }
    return selected;
}

} // namespace twinsift
