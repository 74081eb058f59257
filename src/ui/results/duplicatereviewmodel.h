#pragma once

#include "categorybuttonsmodel.h"
#include "cleanupjob.h"
#include "cleanupselectionmodel.h"
#include "markrulerunner.h"
#include "resultreview.h"
#include "reviewalerts.h"
#include "reviewprotection.h"
#include "reviewrowsmodel.h"
#include "reviewtable.h"
#include "reviewview.h"
#include "scanresultvalue.h"
#include "selectionsummary.h"
#include "summarycardsmodel.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <vector>

namespace twinsift {

// The results screen's session: the result under review and the review's
// rules (ResultReview), and the pieces that each show one side of it to the
// screen. ReviewView: category, view, search, sort and the texts that follow
// them. ReviewTable: the rows. SelectionSummary: what a cleanup would move.
// ReviewProtection: which files lie in protected places, found on a worker.
// ReviewAlerts: the guard and protected-location alerts. MarkRuleRunner: the
// "Mark" menu and undo. CleanupJob: the cleanup run. Every change to the
// review goes through apply(), which tells each piece what moved; the
// properties below hand the pieces' values to the screen as they are.
//
// Lives on the main thread and never touches the disk there.
class DuplicateReviewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT

public:
    enum Category { Exact, SameNameSize, SameName, Similar };
    Q_ENUM(Category)
    enum Mode { Groups, DuplicateFiles };
    Q_ENUM(Mode)
    enum Sort { ReclaimableSize, FileCount, FileSize, Filename };
    Q_ENUM(Sort)

    // The result shown. A new one keeps every selection and mark.
    Q_PROPERTY(twinsift::ScanResultValue result READ result WRITE setResult NOTIFY resultChanged)
    Q_PROPERTY(bool hasResult READ hasResult NOTIFY resultChanged)
    Q_PROPERTY(QString folderPath READ folderPath NOTIFY resultChanged)
    Q_PROPERTY(QString ignoredSmallFilesText READ ignoredSmallFilesText NOTIFY resultChanged)
    // Empty when every item could be read.
    // What a screen reader says when a scan has finished: the exact
    // category with its count, the groups and the savings.
    Q_PROPERTY(QString resultAnnouncement READ resultAnnouncement NOTIFY resultChanged)
    Q_PROPERTY(QString skippedFilesText READ skippedFilesText NOTIFY resultChanged)

    Q_PROPERTY(Category category READ category NOTIFY categoryChanged)
    Q_PROPERTY(Mode mode READ mode NOTIFY modeChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(Sort sortMode READ sortMode WRITE setSortMode NOTIFY sortModeChanged)
    Q_PROPERTY(QString sortLabel READ sortLabel NOTIFY sortModeChanged)
    Q_PROPERTY(bool showFolderPaths READ showFolderPaths WRITE setShowFolderPaths NOTIFY
                   showFolderPathsChanged)
    Q_PROPERTY(QString folderToggleTooltip READ folderToggleTooltip NOTIFY showFolderPathsChanged)
    Q_PROPERTY(QString searchPlaceholder READ searchPlaceholder NOTIFY modeChanged)

    Q_PROPERTY(twinsift::SummaryCardsModel *summaryCards READ summaryCards CONSTANT)
    Q_PROPERTY(twinsift::CategoryButtonsModel *categoryButtons READ categoryButtons CONSTANT)

    // What kind of table the main area shows; all of these follow the
    // category and the mode alone, so they change together.
    Q_PROPERTY(QString sectionTitle READ sectionTitle NOTIFY shownKindChanged)
    Q_PROPERTY(QString categoryDescription READ categoryDescription NOTIFY shownKindChanged)
    Q_PROPERTY(QString verificationLabel READ verificationLabel NOTIFY shownKindChanged)
    // The table offers KEEP/TRASH (header "Cleanup") rather than "Status";
    // the grouped exact view also shows the cleanup instruction note.
    Q_PROPERTY(bool cleanupEnabled READ cleanupEnabled NOTIFY shownKindChanged)
    Q_PROPERTY(QString cleanupHeader READ cleanupHeader NOTIFY shownKindChanged)
    Q_PROPERTY(bool showsPlannedPanel READ showsPlannedPanel NOTIFY shownKindChanged)
    Q_PROPERTY(bool showsFlatList READ showsFlatList NOTIFY shownKindChanged)

    Q_PROPERTY(int groupCount READ groupCount NOTIFY shownGroupsChanged)
    Q_PROPERTY(QString groupCountText READ groupCountText NOTIFY shownGroupsChanged)
    // The table, grouped or flat, has nothing to show for the search.
    Q_PROPERTY(bool hasNoMatches READ hasNoMatches NOTIFY shownGroupsChanged)
    Q_PROPERTY(QStringList sortOptions READ sortOptions CONSTANT)
    Q_PROPERTY(twinsift::ReviewRowsModel *rows READ rows CONSTANT)

    Q_PROPERTY(int selectedCount READ selectedCount NOTIFY selectionChanged)
    Q_PROPERTY(QString selectedBytesText READ selectedBytesText NOTIFY selectionChanged)
    // "3 selected for Trash" and "12.4 MB selected", for the cleanup bar.
    Q_PROPERTY(QString selectedCountText READ selectedCountText NOTIFY selectionChanged)
    Q_PROPERTY(QString selectedBytesLabel READ selectedBytesLabel NOTIFY selectionChanged)
    // "3 files · 12.4 MB", under the review sheet's title.
    Q_PROPERTY(QString reviewSummaryText READ reviewSummaryText NOTIFY selectionChanged)
    Q_PROPERTY(twinsift::CleanupSelectionModel *selectedFiles READ selectedFilesModel CONSTANT)

    // Empty while absent.
    Q_PROPERTY(
        QString cleanupGuardMessage READ cleanupGuardMessage NOTIFY cleanupGuardMessageChanged)
    Q_PROPERTY(
        bool hasCleanupGuardMessage READ hasCleanupGuardMessage NOTIFY cleanupGuardMessageChanged)
    Q_PROPERTY(QString protectedLocationMessage READ protectedLocationMessage NOTIFY
                   protectedLocationMessageChanged)
    Q_PROPERTY(bool hasProtectedLocationMessage READ hasProtectedLocationMessage NOTIFY
                   protectedLocationMessageChanged)

    Q_PROPERTY(bool showCleanupReview READ showCleanupReview WRITE setShowCleanupReview NOTIFY
                   showCleanupReviewChanged)
    Q_PROPERTY(twinsift::CleanupJob *cleanup READ cleanup CONSTANT)
    // The "Mark" menu, the undo of marks and the feedback line.
    Q_PROPERTY(twinsift::MarkRuleRunner *marks READ marks CONSTANT)

public:
    // Decides whether a path lies in a protected place. Called on a worker
    // only; the default asks the disk through CleanupProtection::Places.
    using ProtectionTest = ReviewProtection::Test;

    explicit DuplicateReviewModel(QObject *parent = nullptr);
    ~DuplicateReviewModel() override;

    void setProtectionTest(ProtectionTest test) { m_protection.setTest(std::move(test)); }
    // The rules and state behind everything shown.
    const ResultReview &review() const { return m_review; }

    ScanResultValue result() const { return m_result; }
    void setResult(const ScanResultValue &result);
    bool hasResult() const { return m_result.hasValue(); }
    QString folderPath() const;
    QString ignoredSmallFilesText() const;
    QString skippedFilesText() const;
    QString resultAnnouncement() const;

    Category category() const { return static_cast<Category>(m_view.category().value()); }
    Mode mode() const { return static_cast<Mode>(m_view.mode().value()); }
    QString searchText() const { return m_view.searchText(); }
    void setSearchText(const QString &text);
    Sort sortMode() const { return static_cast<Sort>(m_view.sortMode().value()); }
    void setSortMode(Sort sort);
    QString sortLabel() const { return m_view.sortLabel(); }
    bool showFolderPaths() const { return m_view.showFolderPaths(); }
    void setShowFolderPaths(bool show);
    QString folderToggleTooltip() const { return m_view.folderToggleTooltip(); }
    QString searchPlaceholder() const { return m_view.searchPlaceholder(); }

    SummaryCardsModel *summaryCards() { return &m_cards; }
    CategoryButtonsModel *categoryButtons() { return &m_categoryButtons; }

    QString sectionTitle() const { return m_view.sectionTitle(); }
    QString categoryDescription() const { return m_view.categoryDescription(); }
    QString verificationLabel() const { return m_view.verificationLabel(); }
    bool cleanupEnabled() const { return m_view.cleanupEnabled(); }
    QString cleanupHeader() const { return m_view.cleanupHeader(); }
    bool showsPlannedPanel() const { return m_view.showsPlannedPanel(); }
    bool showsFlatList() const { return m_view.showsFlatList(); }
    int groupCount() const { return m_table.groupCount(); }
    QString groupCountText() const { return m_table.groupCountText(); }
    bool hasNoMatches() const { return m_table.hasNoMatches(); }
    static QStringList sortOptions() { return ReviewView::sortOptions(); }
    ReviewRowsModel *rows() { return m_table.rows(); }

    int selectedCount() const { return m_selection.count(); }
    QString selectedBytesText() const { return m_selection.bytesText(); }
    QString selectedCountText() const { return m_selection.countText(); }
    QString selectedBytesLabel() const { return m_selection.bytesLabel(); }
    QString reviewSummaryText() const { return m_selection.reviewSummaryText(); }
    CleanupSelectionModel *selectedFilesModel() { return m_selection.files(); }

    QString cleanupGuardMessage() const { return m_alerts.cleanupGuardMessage(); }
    bool hasCleanupGuardMessage() const { return m_alerts.hasCleanupGuardMessage(); }
    QString protectedLocationMessage() const { return m_alerts.protectedLocationMessage(); }
    bool hasProtectedLocationMessage() const { return m_alerts.hasProtectedLocationMessage(); }

    bool showCleanupReview() const { return m_showCleanupReview; }
    void setShowCleanupReview(bool show);
    CleanupJob *cleanup() { return &m_cleanup; }
    MarkRuleRunner *marks() { return &m_marks; }

    Q_INVOKABLE void selectCategory(twinsift::DuplicateReviewModel::Category category);
    // A summary card's click (SummaryCardsModel::Card); the first card takes
    // none.
    Q_INVOKABLE void activateSummaryCard(int card);
    Q_INVOKABLE void showDuplicateGroups();
    Q_INVOKABLE void showDuplicateFiles();
    Q_INVOKABLE void showPotentialSavings();
    Q_INVOKABLE void clearSearch();

    // The KEEP/TRASH button of a row of the rows model.
    Q_INVOKABLE void toggleRow(int row);
    Q_INVOKABLE void clearSelection();
    Q_INVOKABLE void dismissCleanupGuard();
    Q_INVOKABLE void dismissProtectedLocation();

    // Starts a run from the current selection and returns at once. Ignored
    // while a run is under way.
    Q_INVOKABLE void performCleanup();
    // Closing the result sheet, by either button or by Escape: the folder is
    // scanned again.
    Q_INVOKABLE void closeCleanupReport();
    // The header's buttons: both drop the marks first.
    Q_INVOKABLE void rescan();
    Q_INVOKABLE void changeFolder();

    // The row's "Open File" and "Show in Folder"; the bytes never leave
    // C++.
    Q_INVOKABLE void openRow(int row);
    Q_INVOKABLE void revealRow(int row);

signals:
    void resultChanged();
    void categoryChanged();
    void modeChanged();
    void searchTextChanged();
    void sortModeChanged();
    void showFolderPathsChanged();
    void shownKindChanged();
    void shownGroupsChanged();
    void selectionChanged();
    void cleanupGuardMessageChanged();
    void protectedLocationMessageChanged();
    void showCleanupReviewChanged();
    // The worker's answer for the shown result has arrived.
    void protectionKnown();
    // The embedding screen scans the folder again, or lets the user pick
    // another one.
    void rescanRequested();
    void changeFolderRequested();
    // Nothing on this desktop could open or show a row's file.
    void desktopUnanswered(const QString &message);

private:
    // Runs change on the review state, then announces what it changed.
    template <typename Change> void apply(Change change);
    void rebuildRows();
    // Re-reads every mark and protection answer.
    void refreshSelection();
    void refreshCards();
    // The background pass's answers for the shown result.
    void takeGroupings(ResultReview::Groupings groupings);
    void takeProtection();

    ResultReview m_review;
    ScanResultValue m_result;
    ReviewProtection m_protection;
    ReviewView m_view;
    ReviewTable m_table;
    SelectionSummary m_selection;
    ReviewAlerts m_alerts;
    SummaryCardsModel m_cards;
    CategoryButtonsModel m_categoryButtons;
    // Clicks on KEEP made before the protection answers came, applied in
    // order once they come: the button looks and acts as usual meanwhile.
    struct PendingToggle {
        DuplicateFile file;
        DisplayGroup group;
    };
    std::vector<PendingToggle> m_pendingToggles;

    bool m_showCleanupReview = false;
    CleanupJob m_cleanup;
    MarkRuleRunner m_marks;
};

} // namespace twinsift
