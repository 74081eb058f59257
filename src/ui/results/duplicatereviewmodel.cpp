#include "duplicatereviewmodel.h"

#include "bytetexts.h"
#include "desktopfiles.h"
#include "paths.h"
#include "resulttexts.h"

#include <QPointer>

#include <array>
#include <optional>
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
      // Asked by FileId from the answers in memory, never the disk.
      m_review(
          {}, [this](FileId id, const std::string &) { return m_protection.isProtectedPlace(id); }),
      m_protection(
          {[this](ResultReview::Groupings groupings) { takeGroupings(std::move(groupings)); },
           [this] { takeProtection(); }}),
      m_view(m_review), m_table(m_review, m_protection), m_selection(m_review, m_protection),
      m_alerts(m_review),
      m_marks({&m_review, [this](const std::function<void()> &change) { apply(change); },
               [this] { return m_result.shared(); }}) {
    connect(&m_view, &ReviewView::categoryChanged, this, &DuplicateReviewModel::categoryChanged);
    connect(&m_view, &ReviewView::modeChanged, this, &DuplicateReviewModel::modeChanged);
    connect(&m_view, &ReviewView::searchTextChanged, this,
            &DuplicateReviewModel::searchTextChanged);
    connect(&m_view, &ReviewView::sortModeChanged, this, &DuplicateReviewModel::sortModeChanged);
    connect(&m_view, &ReviewView::showFolderPathsChanged, this,
            &DuplicateReviewModel::showFolderPathsChanged);
    connect(&m_view, &ReviewView::shownKindChanged, this, &DuplicateReviewModel::shownKindChanged);
    connect(&m_table, &ReviewTable::shownGroupsChanged, this,
            &DuplicateReviewModel::shownGroupsChanged);
    connect(&m_alerts, &ReviewAlerts::cleanupGuardMessageChanged, this,
            &DuplicateReviewModel::cleanupGuardMessageChanged);
    connect(&m_alerts, &ReviewAlerts::protectedLocationMessageChanged, this,
            &DuplicateReviewModel::protectedLocationMessageChanged);
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
    refreshCards();
}

DuplicateReviewModel::~DuplicateReviewModel() = default;

// --- Change tracking ---------------------------------------------------------

template <typename Change> void DuplicateReviewModel::apply(Change change) {
    const ReviewView::Snapshot view = m_view.snapshot();
    // Marks changed outside a change announced here were announced by whoever
    // made them.
    (void)m_review.takeMarkChanges();
    const ReviewAlerts::Snapshot alerts = m_alerts.snapshot();

    change();

    const ReviewView::Moves moved = m_view.announce(view);
    if (moved.kind)
        refreshCards();
    if (moved.rows)
        rebuildRows();
    if (const auto changed = m_review.takeMarkChanges(); !changed.empty()) {
        m_table.followMarks(changed);
        m_selection.follow(changed);
        emit selectionChanged();
        m_marks.marksChanged();
    }
    m_alerts.announce(alerts);
}

void DuplicateReviewModel::rebuildRows() {
    m_table.rebuild(m_view.cleanupEnabled(), m_view.showsPlannedPanel());
}

void DuplicateReviewModel::refreshSelection() {
    (void)m_review.takeMarkChanges();
    m_table.refreshCleanupState(m_view.cleanupEnabled());
    m_selection.recount();
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

// --- Background pass ---------------------------------------------------------

void DuplicateReviewModel::takeGroupings(ResultReview::Groupings groupings) {
    m_review.adopt(std::move(groupings));
    // The list of duplicates the selection is ordered by was just replaced.
    m_selection.forgetOrder();
    refreshSelection();
    refreshCards();
    // Only the tables built from these groupings can show anything new.
    if (m_review.category() != MatchCategory::exact || m_review.mode() != ResultMode::groups)
        rebuildRows();
}

void DuplicateReviewModel::takeProtection() {
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
    m_protection.carryOver(m_review, result.shared().get());
    m_pendingToggles.clear();
    m_result = result;
    m_review.setResult(result.shared());
    if (const auto groupings = result.groupings())
        m_review.adopt(*groupings);
    m_selection.forgetOrder();
    m_table.forgetFiles();
    m_marks.resultChanged();
    m_protection.check(result.shared(), !m_review.hasReviewGroupings());
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

void DuplicateReviewModel::setSearchText(const QString &text) {
    apply([&] { m_review.setSearchText(text.toStdString()); });
}

void DuplicateReviewModel::setSortMode(Sort sort) {
    if (const auto s = caseAt<GroupSort>(sort))
        apply([&] { m_review.setSortMode(*s); });
}

void DuplicateReviewModel::setShowFolderPaths(bool show) {
    apply([&] { m_review.setShowFolderPaths(show); });
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
    const ReviewRowsModel::Row *shown = m_table.rows()->rowAt(row);
    const DisplayGroup *shownGroup = shown ? m_table.groupOf(*shown) : nullptr;
    if (!shownGroup || !shown->cleanupEnabled)
        return;
    const DuplicateFile file = *shown->file;
    DisplayGroup group = m_review.fullGroup(*shownGroup);
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
    if (const ReviewRowsModel::Row *shown = m_table.rows()->rowAt(row))
        DesktopFiles::open(shown->file->url, [self = QPointer(this)] {
            if (self)
                emit self->desktopUnanswered(tr("No application is available to open this file."));
        });
}

void DuplicateReviewModel::revealRow(int row) {
    if (const ReviewRowsModel::Row *shown = m_table.rows()->rowAt(row))
        DesktopFiles::reveal(shown->file->url, [self = QPointer(this)] {
            if (self)
                emit self->desktopUnanswered(tr("No file manager is available to show this file."));
        });
}

} // namespace twinsift
