#include "duplicatereviewmodel.h"

#include "bytetexts.h"
#include "cleanupprotection.h"
#include "cleanuptexts.h"
#include "desktopfiles.h"
#include "paths.h"
#include "resulttexts.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QPointer>
#include <cstdio>
#include <sys/resource.h>
#include <system_error>
#include <thread>
#include <unistd.h>

#include <set>
#include <utility>

namespace twinsift {

// The QML enums name the core's cases one for one; a reordered case list
// must not compile.
static_assert(DuplicateReviewModel::Exact == int(MatchCategory::exact));
static_assert(DuplicateReviewModel::SameNameSize == int(MatchCategory::sameNameSize));
static_assert(DuplicateReviewModel::SameName == int(MatchCategory::sameName));
static_assert(DuplicateReviewModel::Similar == int(MatchCategory::similar));
static_assert(MatchCategory::allCases().size() == 4);
static_assert(DuplicateReviewModel::Groups == int(ResultMode::groups));
static_assert(DuplicateReviewModel::DuplicateFiles == int(ResultMode::duplicateFiles));
static_assert(ResultMode::allCases().size() == 2);
static_assert(DuplicateReviewModel::ReclaimableSize == int(GroupSort::reclaimable));
static_assert(DuplicateReviewModel::FileCount == int(GroupSort::fileCount));
static_assert(DuplicateReviewModel::FileSize == int(GroupSort::fileSize));
static_assert(DuplicateReviewModel::Filename == int(GroupSort::filename));
static_assert(GroupSort::allCases().size() == 4);

namespace {
Q_LOGGING_CATEGORY(lcReview, "twinsift.results", QtInfoMsg)

QString display(std::string_view bytes) {
    return QString::fromStdString(paths::displayText(bytes));
}

QString bytesText(std::uint64_t bytes) {
    return ByteTexts::bytes(bytes);
}

template <typename Enum> std::optional<Enum> caseAt(int index) {
    const auto cases = Enum::allCases();
    if (index < 0 || static_cast<std::size_t>(index) >= cases.size())
        return std::nullopt;
    return cases[static_cast<std::size_t>(index)];
}

} // namespace

DuplicateReviewModel::DuplicateReviewModel(QObject *parent)
    : QObject(parent),
      // Asked by FileId from the answers in memory (set below), never the disk.
      m_review({}, [](const std::string &) { return false; }),
      m_protectionTest(CleanupProtection::isProtected),
      m_marks({&m_review, [this](const std::function<void()> &change) { apply(change); },
               [this] { return m_result.shared(); }}),
      m_mailbox(std::make_shared<MainThreadMailbox<DuplicateReviewModel>>(this)) {
    connect(&m_cleanup, &CleanupJob::stopped, this, [this](CleanupStopReason reason) {
        setShowCleanupReview(false);
        apply([&] { m_review.setCleanupGuard(reason); });
    });
    connect(&m_cleanup, &CleanupJob::completed, this, [this] {
        setShowCleanupReview(false);
        apply([&] { m_review.clearSelection(); });
        m_marks.forgetHistory();
    });
    connect(this, &DuplicateReviewModel::protectionKnown, &m_marks,
            &MarkRuleRunner::protectionKnown);
    m_review.setFileProtectionTest([this](FileId id) {
        return protectionOf(id) == ReviewRowsModel::Protection::protectedPlace;
    });
    refreshCards();
}

DuplicateReviewModel::~DuplicateReviewModel() {
    m_mailbox->close();
}

void DuplicateReviewModel::setProtectionTest(ProtectionTest test) {
    m_protectionTest = std::move(test);
}

// --- Change tracking ---------------------------------------------------------

template <typename Change> void DuplicateReviewModel::apply(Change change) {
    const MatchCategory category = m_review.category();
    const ResultMode mode = m_review.mode();
    const std::string search = m_review.searchText();
    const GroupSort sort = m_review.sortMode();
    const bool folders = m_review.showFolderPaths();
    // Marks changed outside a change announced here were announced by whoever
    // made them.
    (void)m_review.takeMarkChanges();
    const auto guard = m_review.cleanupGuard();
    const bool protectedAlert = m_review.hasProtectedLocationAlert();

    change();

    const bool categoryMoved = category != m_review.category();
    const bool modeMoved = mode != m_review.mode();
    const bool searchMoved = search != m_review.searchText();
    const bool sortMoved = sort != m_review.sortMode();
    if (categoryMoved)
        emit categoryChanged();
    if (modeMoved)
        emit modeChanged();
    if (searchMoved)
        emit searchTextChanged();
    if (sortMoved)
        emit sortModeChanged();
    if (folders != m_review.showFolderPaths())
        emit showFolderPathsChanged();
    if (categoryMoved || modeMoved) {
        emit shownKindChanged();
        refreshCards();
    }
    if (categoryMoved || modeMoved || searchMoved || sortMoved)
        rebuildRows();
    if (const auto changed = m_review.takeMarkChanges(); !changed.empty()) {
        refreshMarks(changed);
        emit selectionChanged();
        m_marks.marksChanged();
    }
    if (guard != m_review.cleanupGuard())
        emit cleanupGuardMessageChanged();
    if (protectedAlert != m_review.hasProtectedLocationAlert())
        emit protectedLocationMessageChanged();
}

void DuplicateReviewModel::rebuildRows() {
    const int countBefore = groupCount();

    std::vector<ReviewRowsModel::Row> rows;
    m_rowOfFile.clear();
    m_shownGroups.clear();
    if (m_review.mode() == ResultMode::duplicateFiles) {
        for (auto &file : m_review.filterFiles(m_review.duplicateFiles())) {
            ReviewRowsModel::Row row;
            row.key = file.url;
            row.file = std::move(file);
            row.category = ResultMode::duplicateFilesCategory();
            rows.push_back(std::move(row));
        }
    } else {
        m_shownGroups = m_review.searchedGroups();
        const bool cleanup = cleanupEnabled();
        std::size_t total = 0;
        for (const auto &group : m_shownGroups)
            total += group.files.size();
        rows.reserve(total);
        if (cleanup)
            m_rowOfFile.assign(m_review.fileCount(), -1);
        for (std::size_t g = 0; g < m_shownGroups.size(); ++g) {
            const DisplayGroup &group = m_shownGroups[g];
            for (std::size_t f = 0; f < group.files.size(); ++f) {
                ReviewRowsModel::Row row;
                row.key = group.id;
                row.key += '\0';
                row.key += group.files[f].url;
                row.file = group.files[f];
                row.groupIndex = static_cast<int>(g);
                row.accentIndex = group.accentIndex;
                row.firstInGroup = f == 0;
                row.cleanupEnabled = cleanup;
                if (const auto id = cleanup ? m_review.fileIdIn(group, row.file.url)
                                            : std::optional<FileId>()) {
                    row.fileId = static_cast<int>(*id);
                    row.isMarked = m_review.isMarked(*id);
                    row.protection = protectionOf(*id);
                    if (m_rowOfFile[*id] < 0)
                        m_rowOfFile[*id] = static_cast<int>(rows.size());
                }
                row.category = m_review.category();
                rows.push_back(std::move(row));
            }
        }
    }
    m_rows.setRows(std::move(rows));
    // Groups always hold files, so no rows means no matches in either view.
    const bool noMatches = !showsPlannedPanel() && m_rows.rowCount() == 0;
    if (countBefore != groupCount() || noMatches != m_hasNoMatches) {
        m_hasNoMatches = noMatches;
        emit shownGroupsChanged();
    }
}

void DuplicateReviewModel::indexSelectionOrder() {
    if (m_orderOfFile.size() == m_review.fileCount() && m_selected.size() == m_review.fileCount())
        return;
    const auto &ids = m_review.duplicateFileIds();
    m_orderOfFile.assign(m_review.fileCount(), -1);
    for (std::size_t k = 0; k < ids.size(); ++k)
        m_orderOfFile[ids[k]] = static_cast<int>(k);
    m_selected.assign(ids.size(), 0);
}

void DuplicateReviewModel::refreshSelection() {
    (void)m_review.takeMarkChanges();
    const bool cleanup = cleanupEnabled();
    m_rows.updateCleanupState(
        [this, cleanup](const ReviewRowsModel::Row &row) {
            return cleanup && row.fileId >= 0 && m_review.isMarked(static_cast<FileId>(row.fileId));
        },
        [this](const ReviewRowsModel::Row &row) {
            return row.fileId >= 0 ? protectionOf(static_cast<FileId>(row.fileId))
                                   : ReviewRowsModel::Protection::unknown;
        });
    m_selectedCount = 0;
    m_selectedBytes = 0;
    // Without marks there is nothing to order, and the list of duplicates
    // need not be worked out here.
    if (!m_review.marks().empty()) {
        indexSelectionOrder();
        const auto &files = m_review.duplicateFiles();
        const auto &ids = m_review.duplicateFileIds();
        for (std::size_t k = 0; k < files.size(); ++k) {
            const bool selected =
                m_review.isMarked(ids[k]) &&
                protectionOf(ids[k]) != ReviewRowsModel::Protection::protectedPlace;
            m_selected[k] = selected;
            if (selected) {
                ++m_selectedCount;
                m_selectedBytes += files[k].size;
            }
        }
    } else {
        std::fill(m_selected.begin(), m_selected.end(), 0);
    }
    showSelectedFiles();
}

void DuplicateReviewModel::showSelectedFiles() {
    std::vector<int> places;
    places.reserve(static_cast<std::size_t>(m_selectedCount));
    for (std::size_t k = 0; k < m_selected.size(); ++k)
        if (m_selected[k])
            places.push_back(static_cast<int>(k));
    auto list = places.empty() ? nullptr : m_review.sharedDuplicateFiles();
    m_selectedFilesModel.setFiles(m_review.result().rootURL, std::move(list), std::move(places));
}

void DuplicateReviewModel::refreshMarks(const std::vector<FileId> &changed) {
    indexSelectionOrder();
    const auto &files = m_review.duplicateFiles();
    std::vector<std::pair<int, bool>> rowMarks;
    std::vector<int> moved;
    for (const FileId id : changed) {
        const bool marked = m_review.isMarked(id);
        if (id < m_rowOfFile.size() && m_rowOfFile[id] >= 0)
            rowMarks.emplace_back(m_rowOfFile[id], marked);
        const int order = id < m_orderOfFile.size() ? m_orderOfFile[id] : -1;
        if (order < 0)
            continue;
        const auto i = static_cast<std::size_t>(order);
        const bool selected =
            marked && protectionOf(id) != ReviewRowsModel::Protection::protectedPlace;
        if (bool(m_selected[i]) == selected)
            continue;
        m_selected[i] = selected;
        m_selectedCount += selected ? 1 : -1;
        if (selected)
            m_selectedBytes += files[i].size;
        else
            m_selectedBytes -= files[i].size;
        moved.push_back(order);
    }
    m_rows.setMarks(std::move(rowMarks));
    // A few moves are told one by one; many at once as one new list, which
    // the view follows in a few runs.
    constexpr std::size_t oneByOne = 32;
    if (moved.size() <= oneByOne && m_selectedFilesModel.lists(m_review.sharedDuplicateFiles())) {
        for (int i : moved) {
            if (m_selected[static_cast<std::size_t>(i)])
                m_selectedFilesModel.addFile(i);
            else
                m_selectedFilesModel.removeFile(i);
        }
        return;
    }
    showSelectedFiles();
}

void DuplicateReviewModel::refreshCards() {
    const DuplicateScanResult &r = m_review.result();
    m_cards.setValues({
        QString::number(r.filesScanned),
        QString::number(r.groups.size()),
        QString::number(r.duplicateFileCount()),
        bytesText(r.reclaimableBytes()),
    });
    const bool grouped = m_review.mode() == ResultMode::groups;
    m_cards.setSelected(
        {false, grouped && m_review.category() == MatchCategory::exact, !grouped, false});
    // Until the worker has grouped every scanned file, the review-only
    // buttons show their titles without a count.
    std::array<QString, 4> labels;
    for (auto c : MatchCategory::allCases())
        labels[c.value()] =
            ResultTexts::categoryLabel(c, c == MatchCategory::exact || m_review.hasReviewGroupings()
                                              ? m_review.categoryCount(c)
                                              : std::nullopt);
    m_categoryButtons.setLabels(labels);
    m_categoryButtons.setSelected(m_review.category().value());
}

// --- Protection --------------------------------------------------------------

ReviewRowsModel::Protection DuplicateReviewModel::protectionOf(FileId id) const {
    return id < m_protection.size() ? m_protection[id] : ReviewRowsModel::Protection::unknown;
}

void DuplicateReviewModel::startProtectionCheck() {
    const auto result = m_result.shared();
    if (!result)
        return;
    auto work = [result, test = m_protectionTest, mailbox = m_mailbox,
                 grouped = m_review.hasReviewGroupings()] {
        // This runs while the window builds and draws the new result, and
        // on a busy machine it would take the time of that first frame. It
        // is background work: a thread of its own, at a lower priority.
        (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
        // The groupings first, unless the scan brought them: they fill the
        // category bar's counts, while the protection answers may wait on a
        // slow disk.
        if (!grouped) {
            try {
                auto groupings = ResultReview::derive(*result);
                mailbox->post([result, groupings = std::move(groupings)](
                                  DuplicateReviewModel *model) mutable {
                    model->takeGroupings(result, std::move(groupings));
                });
            } catch (const std::exception &error) {
                // The review works them out itself when they are first shown.
                qCWarning(lcReview) << "grouping the result failed:" << error.what();
            }
        }
        // One answer per file in FileId order: set after set, copy after copy.
        ProtectionAnswers protection;
        try {
            protection.reserve(static_cast<std::size_t>(result->duplicateFileCount()));
            for (const auto &group : result->groups)
                for (const auto &file : group.files)
                    protection.push_back(test(file.url)
                                             ? ReviewRowsModel::Protection::protectedPlace
                                             : ReviewRowsModel::Protection::free);
        } catch (const std::exception &error) {
            // Rows without an answer keep offering no toggle; the cleanup run
            // asks again before every move.
            qCWarning(lcReview) << "protection check failed:" << error.what();
        }
        mailbox->post(
            [result, protection = std::move(protection)](DuplicateReviewModel *model) mutable {
                model->takeProtection(result, std::move(protection));
            });
    };
    try {
        std::thread(std::move(work)).detach();
    } catch (const std::system_error &error) {
        // Without the answers rows offer no toggle and the review-only
        // groupings are worked out when first shown; nothing is lost.
        qCWarning(lcReview) << "no thread for reviewing the result:" << error.what();
    }
}

void DuplicateReviewModel::takeGroupings(
    const std::shared_ptr<const DuplicateScanResult> &forResult,
    ResultReview::Groupings groupings) {
    if (forResult != m_result.shared())
        return;
    m_review.adopt(std::move(groupings));
    // The list of duplicates the selection is ordered by was just replaced.
    m_orderOfFile.clear();
    refreshSelection();
    refreshCards();
    // Only the tables built from these groupings can show anything new.
    if (m_review.category() != MatchCategory::exact || m_review.mode() != ResultMode::groups)
        rebuildRows();
}

void DuplicateReviewModel::takeProtection(
    const std::shared_ptr<const DuplicateScanResult> &forResult, ProtectionAnswers protection) {
    // An answer for a result that has since been replaced is of no use.
    if (forResult != m_result.shared())
        return;
    m_protection = std::move(protection);
    refreshSelection();
    emit selectionChanged();
    emit protectionKnown();
    // A protected file's click raises the protected-location alert, as any
    // click on it would have.
    for (const PendingToggle &pending : std::exchange(m_pendingToggles, {}))
        apply([&] { m_review.toggleTrash(pending.file, pending.group); });
}

// --- Result ------------------------------------------------------------------

void DuplicateReviewModel::setResult(const ScanResultValue &result) {
    if (result == m_result)
        return;
    // Until the worker answers, the files the previous result also held keep
    // their previous answer, so a rescan does not flicker every row.
    ProtectionAnswers carried;
    if (const auto next = result.shared(); next && !m_protection.empty()) {
        carried.reserve(static_cast<std::size_t>(next->duplicateFileCount()));
        for (const auto &group : next->groups)
            for (const auto &file : group.files) {
                const auto before = m_review.fileIdOf(file.url);
                carried.push_back(before ? protectionOf(*before)
                                         : ReviewRowsModel::Protection::unknown);
            }
    }
    m_protection = std::move(carried);
    m_pendingToggles.clear();
    m_result = result;
    m_review.setResult(result.shared());
    if (const auto groupings = result.groupings())
        m_review.adopt(*groupings);
    m_orderOfFile.clear();
    m_rowOfFile.clear();
    m_selected.clear();
    m_marks.resultChanged();
    startProtectionCheck();
    emit resultChanged();
    refreshCards();
    rebuildRows();
    refreshSelection();
    emit selectionChanged();
}

QString DuplicateReviewModel::folderPath() const {
    return display(m_review.result().rootURL);
}

QString DuplicateReviewModel::ignoredSmallFilesText() const {
    return tr("%n files below minimum size ignored", nullptr,
              static_cast<int>(m_review.result().ignoredSmallFiles));
}

QString DuplicateReviewModel::resultAnnouncement() const {
    if (!hasResult())
        return {};
    const DuplicateScanResult &r = m_review.result();
    return tr("Scan finished: %1, %n groups, %2 potential savings", nullptr,
              static_cast<int>(r.groups.size()))
        .arg(ResultTexts::categoryLabel(MatchCategory::exact,
                                        m_review.categoryCount(MatchCategory::exact)))
        .arg(bytesText(r.reclaimableBytes()));
}

QString DuplicateReviewModel::skippedFilesText() const {
    const auto skipped = m_review.result().skippedFiles;
    if (skipped < 1)
        return {};
    return tr("%n item(s) could not be read — results may be incomplete", nullptr,
              static_cast<int>(skipped));
}

// --- View --------------------------------------------------------------------

DuplicateReviewModel::Category DuplicateReviewModel::category() const {
    return static_cast<Category>(m_review.category().value());
}

DuplicateReviewModel::Mode DuplicateReviewModel::mode() const {
    return static_cast<Mode>(m_review.mode().value());
}

QString DuplicateReviewModel::searchText() const {
    return QString::fromStdString(m_review.searchText());
}

void DuplicateReviewModel::setSearchText(const QString &text) {
    apply([&] { m_review.setSearchText(text.toStdString()); });
}

DuplicateReviewModel::Sort DuplicateReviewModel::sortMode() const {
    return static_cast<Sort>(m_review.sortMode().value());
}

void DuplicateReviewModel::setSortMode(Sort sort) {
    if (const auto s = caseAt<GroupSort>(sort))
        apply([&] { m_review.setSortMode(*s); });
}

QString DuplicateReviewModel::sortLabel() const {
    return ResultTexts::sortLabel(m_review.sortMode());
}

void DuplicateReviewModel::setShowFolderPaths(bool show) {
    apply([&] { m_review.setShowFolderPaths(show); });
}

QString DuplicateReviewModel::folderToggleTooltip() const {
    return showFolderPaths() ? tr("Folder paths are visible. Click to turn them off.")
                             : tr("Folder paths are hidden. Click to turn them on.");
}

QString DuplicateReviewModel::searchPlaceholder() const {
    return m_review.mode() == ResultMode::groups ? tr("Search filenames")
                                                 : tr("Search duplicate files");
}

QString DuplicateReviewModel::sectionTitle() const {
    return m_review.mode() == ResultMode::groups ? ResultTexts::categoryTitle(m_review.category())
                                                 : ResultTexts::duplicateFilesTitle();
}

QString DuplicateReviewModel::categoryDescription() const {
    return ResultTexts::categoryDescription(m_review.category());
}

QString DuplicateReviewModel::verificationLabel() const {
    return ResultTexts::verificationLabel(m_review.mode() == ResultMode::groups
                                              ? m_review.category()
                                              : ResultMode::duplicateFilesCategory());
}

bool DuplicateReviewModel::cleanupEnabled() const {
    return m_review.mode() == ResultMode::groups && m_review.category() == MatchCategory::exact;
}

QString DuplicateReviewModel::cleanupHeader() const {
    return cleanupEnabled() ? tr("Cleanup") : tr("Status");
}

bool DuplicateReviewModel::showsPlannedPanel() const {
    return m_review.mode() == ResultMode::groups && m_review.category() == MatchCategory::similar;
}

bool DuplicateReviewModel::showsFlatList() const {
    return m_review.mode() == ResultMode::duplicateFiles;
}

QString DuplicateReviewModel::groupCountText() const {
    return tr("%n groups", nullptr, static_cast<int>(groupCount()));
}

QStringList DuplicateReviewModel::sortOptions() {
    QStringList options;
    for (auto s : GroupSort::allCases())
        options.push_back(ResultTexts::sortLabel(s));
    return options;
}

void DuplicateReviewModel::selectCategory(Category category) {
    if (const auto c = caseAt<MatchCategory>(category))
        apply([&] { m_review.selectCategory(*c); });
}

void DuplicateReviewModel::activateSummaryCard(int card) {
    switch (card) {
    case SummaryCardsModel::DuplicateGroups:
        showDuplicateGroups();
        break;
    case SummaryCardsModel::DuplicateFiles:
        showDuplicateFiles();
        break;
    case SummaryCardsModel::PotentialSavings:
        showPotentialSavings();
        break;
    default:
        break;
    }
}

void DuplicateReviewModel::showDuplicateGroups() {
    apply([&] { m_review.showDuplicateGroups(); });
}

void DuplicateReviewModel::showDuplicateFiles() {
    apply([&] { m_review.showDuplicateFiles(); });
}

void DuplicateReviewModel::showPotentialSavings() {
    apply([&] { m_review.showPotentialSavings(); });
}

void DuplicateReviewModel::clearSearch() {
    apply([&] { m_review.setSearchText({}); });
}

// --- Marks -------------------------------------------------------------------

void DuplicateReviewModel::toggleRow(int row) {
    const ReviewRowsModel::Row *shown = m_rows.rowAt(row);
    if (!shown || shown->groupIndex < 0 || !shown->cleanupEnabled)
        return;
    const DuplicateFile file = shown->file;
    DisplayGroup group =
        m_review.fullGroup(m_shownGroups[static_cast<std::size_t>(shown->groupIndex)]);
    // Whether the file may be marked is not known yet: the click waits for
    // the answer, which comes within moments.
    if (shown->protection == ReviewRowsModel::Protection::unknown) {
        m_pendingToggles.push_back({file, std::move(group)});
        return;
    }
    apply([&] { m_review.toggleTrash(file, group); });
}

void DuplicateReviewModel::clearSelection() {
    apply([&] { m_review.clearSelection(); });
}

QString DuplicateReviewModel::selectedBytesText() const {
    return bytesText(m_selectedBytes);
}

QString DuplicateReviewModel::selectedCountText() const {
    return tr("%1 selected for Trash").arg(selectedCount());
}

QString DuplicateReviewModel::selectedBytesLabel() const {
    return tr("%1 selected").arg(selectedBytesText());
}

QString DuplicateReviewModel::reviewSummaryText() const {
    return tr("%n files · %1", nullptr, static_cast<int>(selectedCount())).arg(selectedBytesText());
}

QString DuplicateReviewModel::cleanupGuardMessage() const {
    const auto &guard = m_review.cleanupGuard();
    return guard ? CleanupTexts::alert(*guard) : QString();
}

QString DuplicateReviewModel::protectedLocationMessage() const {
    return hasProtectedLocationMessage() ? CleanupTexts::protectedLocation() : QString();
}

void DuplicateReviewModel::dismissCleanupGuard() {
    apply([&] { m_review.dismissCleanupGuard(); });
}

void DuplicateReviewModel::dismissProtectedLocation() {
    apply([&] { m_review.dismissProtectedLocation(); });
}

// --- Cleanup -----------------------------------------------------------------

void DuplicateReviewModel::setShowCleanupReview(bool show) {
    if (show == m_showCleanupReview)
        return;
    m_showCleanupReview = show;
    emit showCleanupReviewChanged();
}

void DuplicateReviewModel::performCleanup() {
    // The button stays pressable during a run; one run at a time is enough.
    if (m_cleanup.isRunning())
        return;
    std::optional<std::vector<DuplicateFile>> selected;
    apply([&] { selected = m_review.prepareCleanup(); });
    if (!selected)
        return;
    auto result = m_result.shared();
    if (!result)
        result = std::make_shared<const DuplicateScanResult>(m_review.result());
    m_cleanup.start(std::move(result), std::move(*selected));
}

void DuplicateReviewModel::closeCleanupReport() {
    m_cleanup.clearReport();
    emit rescanRequested();
}

void DuplicateReviewModel::rescan() {
    clearSelection();
    emit rescanRequested();
}

void DuplicateReviewModel::changeFolder() {
    clearSelection();
    emit changeFolderRequested();
}

void DuplicateReviewModel::openRow(int row) {
    if (const ReviewRowsModel::Row *shown = m_rows.rowAt(row))
        DesktopFiles::open(shown->file.url, [self = QPointer(this)] {
            if (self)
                emit self->desktopUnanswered(tr("No application is available to open this file."));
        });
}

void DuplicateReviewModel::revealRow(int row) {
    if (const ReviewRowsModel::Row *shown = m_rows.rowAt(row))
        DesktopFiles::reveal(shown->file.url, [self = QPointer(this)] {
            if (self)
                emit self->desktopUnanswered(tr("No file manager is available to show this file."));
        });
}

} // namespace twinsift
