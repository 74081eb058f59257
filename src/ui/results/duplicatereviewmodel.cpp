#include "duplicatereviewmodel.h"

#include "cleanupprotection.h"
#include "cleanuprun.h"
#include "fileurls.h"
#include "formatbytes.h"
#include "paths.h"
#include "reviewtexts.h"

#include <QLoggingCategory>
#include <QMetaObject>
#include <QVariantMap>
#include <QtConcurrent/QtConcurrentRun>

#include <mutex>
#include <set>
#include <utility>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcReview, "twinsift.results")

QString display(std::string_view bytes) {
    return QString::fromStdString(paths::displayText(bytes));
}

QString text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString bytesText(std::uint64_t bytes) {
    return QString::fromStdString(formatBytes(bytes));
}

} // namespace

DuplicateReviewModel::DuplicateReviewModel(QObject *parent)
    : QObject(parent), m_runner(CleanupRun::run),
      m_mailbox(std::make_shared<MainThreadMailbox<DuplicateReviewModel>>(this)) {}

DuplicateReviewModel::~DuplicateReviewModel() {
    m_mailbox->close();
}

void DuplicateReviewModel::setCleanupRunner(CleanupRunner runner) {
    m_runner = std::move(runner);
}

// --- Change tracking ---------------------------------------------------------

template <typename Change> void DuplicateReviewModel::apply(Change change) {
    const MatchCategory category = m_review.category();
    const ResultMode mode = m_review.mode();
    const std::string search = m_review.searchText();
    const GroupSort sort = m_review.sortMode();
    const bool folders = m_review.showFolderPaths();
    const std::set<std::string> marks = m_review.selectedForTrash();
    const auto guard = m_review.cleanupGuardMessage();
    const auto protectedMessage = m_review.protectedLocationMessage();

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
    if (categoryMoved || modeMoved || searchMoved || sortMoved) {
        rebuildRows();
        emit viewChanged();
    }
    if (marks != m_review.selectedForTrash()) {
        refreshSelection();
        emit selectionChanged();
    }
    if (guard != m_review.cleanupGuardMessage())
        emit cleanupGuardMessageChanged();
    if (protectedMessage != m_review.protectedLocationMessage())
        emit protectedLocationMessageChanged();
}

void DuplicateReviewModel::rebuildRows() {
    std::vector<ReviewRowsModel::Row> rows;
    const auto makeRow = [this](const DuplicateFile &file) {
        ReviewRowsModel::Row row;
        row.file = file;
        row.isMarked = m_review.isMarked(file);
        row.fileName = display(paths::lastComponent(file.url));
        row.displayPath = display(file.url);
        row.folderPath = display(paths::parent(file.url));
        row.sizeText = bytesText(file.size);
        return row;
    };

    m_shownGroups.clear();
    if (m_review.mode() == ResultMode::duplicateFiles) {
        const QString verification = text(ResultMode::duplicateFilesVerification);
        for (const auto &file : m_review.filterFiles(m_review.duplicateFiles())) {
            ReviewRowsModel::Row row = makeRow(file);
            row.verification = verification;
            rows.push_back(std::move(row));
        }
    } else {
        m_shownGroups = m_review.searchedGroups();
        const bool cleanup = cleanupEnabled();
        const QString verification = verificationLabel();
        for (std::size_t g = 0; g < m_shownGroups.size(); ++g) {
            const DisplayGroup &group = m_shownGroups[g];
            for (std::size_t f = 0; f < group.files.size(); ++f) {
                ReviewRowsModel::Row row = makeRow(group.files[f]);
                row.groupIndex = static_cast<int>(g);
                row.accentIndex = group.accentIndex;
                row.firstInGroup = f == 0;
                row.cleanupEnabled = cleanup;
                row.isProtected =
                    cleanup && CleanupProtection::isProtectedForDisplay(group.files[f].url);
                row.verification = verification;
                rows.push_back(std::move(row));
            }
        }
    }
    m_rows.setRows(std::move(rows));
}

void DuplicateReviewModel::refreshSelection() {
    m_rows.updateMarks([this](const DuplicateFile &f) { return m_review.isMarked(f); });
    m_selectedFiles = m_review.selectedFiles();
    m_selectedFilesModel.setFiles(m_review.result().rootURL, m_selectedFiles);
}

// --- Result ------------------------------------------------------------------

void DuplicateReviewModel::setResult(const ScanResultValue &result) {
    if (result == m_result)
        return;
    m_result = result;
    m_review.setResult(result.core());
    emit resultChanged();
    rebuildRows();
    emit viewChanged();
    refreshSelection();
    emit selectionChanged();
}

QString DuplicateReviewModel::folderPath() const {
    return display(m_review.result().rootURL);
}

QString DuplicateReviewModel::ignoredSmallFilesText() const {
    return QString::number(m_review.result().ignoredSmallFiles) +
           QStringLiteral(" files below minimum size ignored");
}

QString DuplicateReviewModel::skippedFilesText() const {
    const auto skipped = m_review.result().skippedFiles;
    if (skipped < 1)
        return {};
    return QString::number(skipped) +
           QStringLiteral(" item(s) could not be read — results may be incomplete");
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
    const auto cases = GroupSort::allCases();
    if (sort < 0 || static_cast<std::size_t>(sort) >= cases.size())
        return;
    apply([&] { m_review.setSortMode(cases[static_cast<std::size_t>(sort)]); });
}

void DuplicateReviewModel::setShowFolderPaths(bool show) {
    apply([&] { m_review.setShowFolderPaths(show); });
}

QString DuplicateReviewModel::folderToggleTooltip() const {
    return showFolderPaths() ? QStringLiteral("Folder paths are visible. Click to turn them off.")
                             : QStringLiteral("Folder paths are hidden. Click to turn them on.");
}

QVariantList DuplicateReviewModel::summaryCards() const {
    const DuplicateScanResult &r = m_review.result();
    const bool grouped = m_review.mode() == ResultMode::groups;
    const auto card = [](const char *title, const QString &value, const char *icon, bool selected) {
        return QVariantMap{
            {QStringLiteral("title"), QString::fromUtf8(title)},
            {QStringLiteral("value"), value},
            {QStringLiteral("icon"), QString::fromUtf8(icon)},
            {QStringLiteral("selected"), selected},
            {QStringLiteral("clickable"), std::string_view(title) != "Files Scanned"},
            {QStringLiteral("tooltip"),
             QString::fromStdString(ReviewTexts::metricCardTooltip(title))},
        };
    };
    return {
        card("Files Scanned", QString::number(r.filesScanned), "doc.text.magnifyingglass", false),
        card("Duplicate Groups", QString::number(r.groups.size()), "square.stack.3d.up.fill",
             grouped && m_review.category() == MatchCategory::exact),
        card("Duplicate Files", QString::number(r.duplicateFileCount()), "doc.on.doc.fill",
             !grouped),
        card("Potential Savings", bytesText(r.reclaimableBytes()), "internaldrive.fill", false),
    };
}

QVariantList DuplicateReviewModel::categoryButtons() const {
    QVariantList buttons;
    for (auto c : MatchCategory::allCases())
        buttons.push_back(QVariantMap{
            {QStringLiteral("category"), static_cast<int>(c.value())},
            {QStringLiteral("label"), QString::fromStdString(m_review.categoryLabel(c))},
            {QStringLiteral("helpText"), text(c.helpText())},
            {QStringLiteral("selected"), c == m_review.category()},
        });
    return buttons;
}

QString DuplicateReviewModel::searchPlaceholder() const {
    return m_review.mode() == ResultMode::groups ? QStringLiteral("Search filenames")
                                                 : QStringLiteral("Search duplicate files");
}

QString DuplicateReviewModel::sectionTitle() const {
    return m_review.mode() == ResultMode::groups ? text(m_review.category().title())
                                                 : text(ResultMode::duplicateFilesTitle);
}

QString DuplicateReviewModel::categoryDescription() const {
    return text(m_review.category().categoryDescription());
}

QString DuplicateReviewModel::verificationLabel() const {
    return m_review.mode() == ResultMode::groups ? text(m_review.category().verificationLabel())
                                                 : text(ResultMode::duplicateFilesVerification);
}

bool DuplicateReviewModel::cleanupEnabled() const {
    return m_review.mode() == ResultMode::groups && m_review.category() == MatchCategory::exact;
}

QString DuplicateReviewModel::cleanupHeader() const {
    return cleanupEnabled() ? QStringLiteral("Cleanup") : QStringLiteral("Status");
}

bool DuplicateReviewModel::showsPlannedPanel() const {
    return m_review.mode() == ResultMode::groups && m_review.category() == MatchCategory::similar;
}

QString DuplicateReviewModel::groupCountText() const {
    return QString::number(groupCount()) + QStringLiteral(" groups");
}

bool DuplicateReviewModel::hasNoMatches() const {
    return m_review.mode() == ResultMode::groups && !showsPlannedPanel() && m_shownGroups.empty();
}

QStringList DuplicateReviewModel::sortOptions() {
    QStringList options;
    for (auto s : GroupSort::allCases())
        options.push_back(text(s.label()));
    return options;
}

void DuplicateReviewModel::selectCategory(Category category) {
    const auto cases = MatchCategory::allCases();
    if (category < 0 || static_cast<std::size_t>(category) >= cases.size())
        return;
    apply([&] { m_review.selectCategory(cases[static_cast<std::size_t>(category)]); });
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
    if (!shown || shown->groupIndex < 0)
        return;
    const DuplicateFile file = shown->file;
    const DisplayGroup group =
        m_review.fullGroup(m_shownGroups[static_cast<std::size_t>(shown->groupIndex)]);
    apply([&] { m_review.toggleTrash(file, group); });
}

void DuplicateReviewModel::clearSelection() {
    apply([&] { m_review.clearSelection(); });
}

QString DuplicateReviewModel::selectedBytesText() const {
    std::uint64_t total = 0;
    for (const auto &file : m_selectedFiles)
        total += file.size;
    return bytesText(total);
}

QString DuplicateReviewModel::selectedCountText() const {
    return QString::number(selectedCount()) + QStringLiteral(" selected for Trash");
}

QString DuplicateReviewModel::selectedBytesLabel() const {
    return selectedBytesText() + QStringLiteral(" selected");
}

QString DuplicateReviewModel::reviewSummaryText() const {
    return QString::number(selectedCount()) + QStringLiteral(" files · ") + selectedBytesText();
}

QString DuplicateReviewModel::cleanupGuardMessage() const {
    return QString::fromStdString(m_review.cleanupGuardMessage().value_or(std::string()));
}

QString DuplicateReviewModel::protectedLocationMessage() const {
    return QString::fromStdString(m_review.protectedLocationMessage().value_or(std::string()));
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

void DuplicateReviewModel::setIsCleaning(bool cleaning) {
    if (cleaning == m_isCleaning)
        return;
    m_isCleaning = cleaning;
    emit isCleaningChanged();
}

void DuplicateReviewModel::performCleanup() {
    // The button stays pressable during a run; one run at a time is enough.
    if (m_isCleaning)
        return;
    std::optional<std::vector<DuplicateFile>> selected;
    apply([&] { selected = m_review.prepareCleanup(); });
    if (!selected)
        return;

    setIsCleaning(true);
    qCInfo(lcReview) << "cleanup started for" << selected->size() << "files";
    m_cleanupTask = QtConcurrent::run([runner = m_runner, result = m_review.result(),
                                       selected = std::move(*selected), mailbox = m_mailbox]() {
        // Exactly one outcome goes back, or the sheet would say "Moving…" for
        // good. The run throws only when it cannot set up its checks (no
        // SHA-256 in OpenSSL, no memory for the read buffer): nothing moved.
        CleanupOutcome outcome = CleanupStop{CleanupRun::notRevalidatedMessage};
        try {
            outcome = runner(result, selected, CleanupProtection::isProtected);
        } catch (...) {
        }
        mailbox->post([outcome = std::move(outcome)](DuplicateReviewModel *model) mutable {
            model->finishCleanup(std::move(outcome));
        });
    });
}

void DuplicateReviewModel::finishCleanup(CleanupOutcome outcome) {
    if (auto *stop = std::get_if<CleanupStop>(&outcome)) {
        qCInfo(lcReview) << "cleanup stopped before moving anything";
        setIsCleaning(false);
        setShowCleanupReview(false);
        apply([&] { m_review.setCleanupGuardMessage(stop->message); });
        return;
    }
    auto &report = std::get<CleanupReport>(outcome);
    qCInfo(lcReview) << "cleanup moved" << report.movedPaths.size() << "files,"
                     << report.failures.size() << "not moved";
    setIsCleaning(false);
    setShowCleanupReview(false);
    apply([&] { m_review.clearSelection(); });
    m_cleanupReport = std::move(report);
    emit cleanupReportChanged();
}

QString DuplicateReviewModel::cleanupReportIcon() const {
    if (!m_cleanupReport)
        return {};
    return m_cleanupReport->failures.empty() ? QStringLiteral("checkmark.circle.fill")
                                             : QStringLiteral("exclamationmark.triangle.fill");
}

QString DuplicateReviewModel::cleanupReportTitle() const {
    if (!m_cleanupReport)
        return {};
    return m_cleanupReport->failures.empty() ? QStringLiteral("Cleanup Complete")
                                             : QStringLiteral("Cleanup Completed with Warnings");
}

QString DuplicateReviewModel::cleanupReportSummary() const {
    if (!m_cleanupReport)
        return {};
    return QString::number(m_cleanupReport->movedPaths.size()) +
           QStringLiteral(" files moved to Trash · ") + bytesText(m_cleanupReport->movedBytes);
}

QString DuplicateReviewModel::cleanupReportFailureText() const {
    if (!m_cleanupReport || m_cleanupReport->failures.empty())
        return {};
    return QString::number(m_cleanupReport->failures.size()) +
           QStringLiteral(" files could not be moved");
}

QVariantList DuplicateReviewModel::cleanupReportFailures() const {
    QVariantList failures;
    if (!m_cleanupReport)
        return failures;
    for (const auto &failure : m_cleanupReport->failures)
        failures.push_back(QVariantMap{
            {QStringLiteral("path"), display(failure.path)},
            {QStringLiteral("message"), QString::fromStdString(failure.message)},
        });
    return failures;
}

void DuplicateReviewModel::closeCleanupReport() {
    if (m_cleanupReport) {
        m_cleanupReport.reset();
        emit cleanupReportChanged();
    }
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

QUrl DuplicateReviewModel::fileUrl(int row) const {
    const ReviewRowsModel::Row *shown = m_rows.rowAt(row);
    return shown ? fileurls::fromPath(shown->file.url) : QUrl();
}

QUrl DuplicateReviewModel::folderUrl(int row) const {
    const ReviewRowsModel::Row *shown = m_rows.rowAt(row);
    return shown ? fileurls::fromPath(paths::parent(shown->file.url)) : QUrl();
}

} // namespace twinsift
