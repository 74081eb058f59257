#include "resultreview.h"

#include "cleanupprotection.h"
#include "displaygroups.h"
#include "filenamesearch.h"

#include <algorithm>
#include <utility>

namespace twinsift {

ResultReview::ProtectionTest
ResultReview::byPath(std::function<bool(const std::string &path)> test) {
    return [test = std::move(test)](FileId, const std::string &path) { return test(path); };
}

ResultReview::ResultReview(DuplicateScanResult result, ProtectionTest test)
    : m_index(std::make_shared<const DuplicateScanResult>(std::move(result))),
      m_isProtected(test ? std::move(test) : byPath(CleanupProtection::isProtected)),
      m_marks(m_index, [this](FileId id) { return isProtected(id); }) {}

ResultReview::~ResultReview() = default;

void ResultReview::setResult(DuplicateScanResult result) {
    setResult(std::make_shared<const DuplicateScanResult>(std::move(result)));
}

void ResultReview::setResult(std::shared_ptr<const DuplicateScanResult> result) {
    std::vector<std::string> marked = m_marks.takeForNewResult();
    m_index.setResult(std::move(result));
    m_marks.rebase(std::move(marked));
}

ShownGroups ResultReview::searchedGroups() const {
    const FilenameSearch search(searchText());
    auto groups = search.isBlank() ? m_index.sharedGroups(m_view.category())
                                   : std::make_shared<const std::vector<DisplayGroup>>(
                                         search.filterGroups(activeGroups()));
    std::vector<const DisplayGroup *> order;
    order.reserve(groups->size());
    for (const auto &group : *groups)
        order.push_back(&group);
    DisplayGroups::sort(order, sortMode(), m_index.order());
    return {std::move(groups), std::move(order)};
}

std::shared_ptr<const std::vector<DuplicateFile>> ResultReview::searchedFiles() const {
    const FilenameSearch search(searchText());
    if (search.isBlank())
        return sharedDuplicateFiles();
    return std::make_shared<const std::vector<DuplicateFile>>(search.filterFiles(duplicateFiles()));
}

const DisplayGroup &ResultReview::fullGroup(const DisplayGroup &shown) const {
    const auto &groups = activeGroups();
    const auto it = std::find_if(groups.begin(), groups.end(),
                                 [&](const DisplayGroup &g) { return g.id == shown.id; });
    return it != groups.end() ? *it : shown;
}

void ResultReview::commitMarks() {
    if (m_marks.commit())
        m_protectedLocationAlert = true;
}

void ResultReview::toggleTrash(const DuplicateFile &file, const DisplayGroup &group) {
    if (!group.exact)
        return;
    const auto id = fileIdIn(group, file.url);
    if (!id)
        return;
    if (m_marks.isMarked(*id)) {
        m_marks.set(*id, false);
        commitMarks();
        return;
    }
    const auto marked =
        std::count_if(group.files.begin(), group.files.end(), [&](const DuplicateFile &f) {
            const auto other = fileIdIn(group, f.url);
            return other && m_marks.isMarked(*other);
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
    commitMarks();
}

std::optional<MarkRuleSummary> ResultReview::applyMarkRule(MarkRule rule,
                                                           const MarkRuleInputs &inputs) {
    if (!m_view.showsExactGroups())
        return std::nullopt;
    // A set is shown when the search leaves any of its files; the rule then
    // looks at all of them.
    const FilenameSearch search(searchText());
    std::vector<const DisplayGroup *> shown;
    shown.reserve(exactGroups().size());
    for (const auto &group : exactGroups())
        if (search.isBlank() ||
            std::any_of(group.files.begin(), group.files.end(),
                        [&](const DuplicateFile &f) { return search.matches(f); }))
            shown.push_back(&group);

    const MarkRuleOutcome outcome =
        MarkRules::apply(rule, shown,
                         {m_marks.bits(),
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
    if (m_marks.undo())
        m_protectedLocationAlert = true;
}

std::vector<DuplicateFile> ResultReview::selectedFiles() const {
    std::vector<DuplicateFile> files;
    if (marks().empty())
        return files;
    const auto &ordered = duplicateFiles();
    const auto &ids = duplicateFileIds();
    for (std::size_t k = 0; k < ordered.size(); ++k)
        if (m_marks.isMarked(ids[k]) && !isProtected(ids[k]))
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
    for (std::size_t set = 0; set < m_index.setCount(); ++set) {
        const FileId end = m_index.setEnd(set);
        bool everyCopy = m_index.setBegin(set) < end;
        for (FileId id = m_index.setBegin(set); everyCopy && id < end; ++id)
            everyCopy = m_marks.isMarked(id) && !isProtected(id);
        if (everyCopy) {
            m_cleanupGuard = Guard::wholeSetSelected;
            return std::nullopt;
        }
    }
    return selected;
}

} // namespace twinsift
