#pragma once

#include "mainthreadmailbox.h"

#include "cleanupreport.h"
#include "cleanupselectionmodel.h"
#include "resultreview.h"
#include "reviewrowsmodel.h"
#include "scanresultvalue.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace twinsift {

// The review state of the results screen and everything the screen shows of
// it: the category and view, search and sort, the KEEP/TRASH marks with their
// guards and alerts, and the cleanup run with its report. Lives on the main
// thread; a cleanup run works on copies on a worker and posts exactly one
// outcome back.
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
    Q_PROPERTY(QString skippedFilesText READ skippedFilesText NOTIFY resultChanged)

    Q_PROPERTY(Category category READ category NOTIFY categoryChanged)
    Q_PROPERTY(Mode mode READ mode NOTIFY modeChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(Sort sortMode READ sortMode WRITE setSortMode NOTIFY sortModeChanged)
    Q_PROPERTY(bool showFolderPaths READ showFolderPaths WRITE setShowFolderPaths NOTIFY
                   showFolderPathsChanged)
    Q_PROPERTY(QString folderToggleTooltip READ folderToggleTooltip NOTIFY showFolderPathsChanged)

    // The four summary cards in order: title, value, icon, selected,
    // clickable, tooltip.
    Q_PROPERTY(QVariantList summaryCards READ summaryCards NOTIFY viewChanged)
    // The category bar in order: category, label, helpText, selected.
    Q_PROPERTY(QVariantList categoryButtons READ categoryButtons NOTIFY viewChanged)
    Q_PROPERTY(QString searchPlaceholder READ searchPlaceholder NOTIFY viewChanged)
    // The heading of the main area: the category's title, or the flat list's.
    Q_PROPERTY(QString sectionTitle READ sectionTitle NOTIFY viewChanged)
    Q_PROPERTY(QString categoryDescription READ categoryDescription NOTIFY viewChanged)
    Q_PROPERTY(QString verificationLabel READ verificationLabel NOTIFY viewChanged)
    // The table offers KEEP/TRASH (header "Cleanup") rather than "Status".
    Q_PROPERTY(bool cleanupEnabled READ cleanupEnabled NOTIFY viewChanged)
    // "Cleanup" or "Status", the header of that column.
    Q_PROPERTY(QString cleanupHeader READ cleanupHeader NOTIFY viewChanged)
    Q_PROPERTY(bool showsPlannedPanel READ showsPlannedPanel NOTIFY viewChanged)
    Q_PROPERTY(int groupCount READ groupCount NOTIFY viewChanged)
    Q_PROPERTY(QString groupCountText READ groupCountText NOTIFY viewChanged)
    // The grouped view has nothing to show for the search.
    Q_PROPERTY(bool hasNoMatches READ hasNoMatches NOTIFY viewChanged)
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
    Q_PROPERTY(bool isCleaning READ isCleaning NOTIFY isCleaningChanged)
    Q_PROPERTY(bool hasCleanupReport READ hasCleanupReport NOTIFY cleanupReportChanged)
    Q_PROPERTY(QString cleanupReportIcon READ cleanupReportIcon NOTIFY cleanupReportChanged)
    Q_PROPERTY(QString cleanupReportTitle READ cleanupReportTitle NOTIFY cleanupReportChanged)
    Q_PROPERTY(QString cleanupReportSummary READ cleanupReportSummary NOTIFY cleanupReportChanged)
    // Empty when every file moved.
    Q_PROPERTY(
        QString cleanupReportFailureText READ cleanupReportFailureText NOTIFY cleanupReportChanged)
    // path (display text) and message of each file that did not move.
    Q_PROPERTY(
        QVariantList cleanupReportFailures READ cleanupReportFailures NOTIFY cleanupReportChanged)

public:
    // The cleanup run's signature, so a caller can wrap the real one.
    using CleanupRunner = std::function<CleanupOutcome(
        const DuplicateScanResult &, const std::vector<DuplicateFile> &,
        const std::function<bool(const std::string &)> &)>;

    explicit DuplicateReviewModel(QObject *parent = nullptr);
    ~DuplicateReviewModel() override;

    void setCleanupRunner(CleanupRunner runner);
    // The rules and state behind everything shown.
    const ResultReview &review() const { return m_review; }

    ScanResultValue result() const { return m_result; }
    void setResult(const ScanResultValue &result);
    bool hasResult() const { return m_result.hasValue(); }
    QString folderPath() const;
    QString ignoredSmallFilesText() const;
    QString skippedFilesText() const;

    Category category() const;
    Mode mode() const;
    QString searchText() const;
    void setSearchText(const QString &text);
    Sort sortMode() const;
    void setSortMode(Sort sort);
    bool showFolderPaths() const { return m_review.showFolderPaths(); }
    void setShowFolderPaths(bool show);
    QString folderToggleTooltip() const;

    QVariantList summaryCards() const;
    QVariantList categoryButtons() const;
    QString searchPlaceholder() const;
    QString sectionTitle() const;
    QString categoryDescription() const;
    QString verificationLabel() const;
    bool cleanupEnabled() const;
    QString cleanupHeader() const;
    bool showsPlannedPanel() const;
    int groupCount() const { return static_cast<int>(m_shownGroups.size()); }
    QString groupCountText() const;
    bool hasNoMatches() const;
    static QStringList sortOptions();
    ReviewRowsModel *rows() { return &m_rows; }

    int selectedCount() const { return static_cast<int>(m_selectedFiles.size()); }
    QString selectedBytesText() const;
    QString selectedCountText() const;
    QString selectedBytesLabel() const;
    QString reviewSummaryText() const;
    CleanupSelectionModel *selectedFilesModel() { return &m_selectedFilesModel; }

    QString cleanupGuardMessage() const;
    bool hasCleanupGuardMessage() const { return m_review.cleanupGuardMessage().has_value(); }
    QString protectedLocationMessage() const;
    bool hasProtectedLocationMessage() const {
        return m_review.protectedLocationMessage().has_value();
    }

    bool showCleanupReview() const { return m_showCleanupReview; }
    void setShowCleanupReview(bool show);
    bool isCleaning() const { return m_isCleaning; }
    const std::optional<CleanupReport> &cleanupReport() const { return m_cleanupReport; }
    bool hasCleanupReport() const { return m_cleanupReport.has_value(); }
    QString cleanupReportIcon() const;
    QString cleanupReportTitle() const;
    QString cleanupReportSummary() const;
    QString cleanupReportFailureText() const;
    QVariantList cleanupReportFailures() const;

    Q_INVOKABLE void selectCategory(twinsift::DuplicateReviewModel::Category category);
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
    // Closing the result sheet, by either button: the folder is scanned again.
    Q_INVOKABLE void closeCleanupReport();
    // The header's buttons: both drop the marks first.
    Q_INVOKABLE void rescan();
    Q_INVOKABLE void changeFolder();

    // URLs for opening and revealing a row's file, built from its bytes.
    Q_INVOKABLE QUrl fileUrl(int row) const;
    Q_INVOKABLE QUrl folderUrl(int row) const;

signals:
    void resultChanged();
    void categoryChanged();
    void modeChanged();
    void searchTextChanged();
    void sortModeChanged();
    void showFolderPathsChanged();
    // Anything shown in the main area: groups, rows, counts and labels.
    void viewChanged();
    void selectionChanged();
    void cleanupGuardMessageChanged();
    void protectedLocationMessageChanged();
    void showCleanupReviewChanged();
    void isCleaningChanged();
    void cleanupReportChanged();
    // The embedding screen scans the folder again, or lets the user pick
    // another one.
    void rescanRequested();
    void changeFolderRequested();

private:
    // Runs change on the review state, then announces what it changed.
    template <typename Change> void apply(Change change);
    void rebuildRows();
    void refreshSelection();
    void setIsCleaning(bool cleaning);
    void finishCleanup(CleanupOutcome outcome);

    ResultReview m_review;
    ScanResultValue m_result;
    std::vector<DisplayGroup> m_shownGroups;
    std::vector<DuplicateFile> m_selectedFiles;
    ReviewRowsModel m_rows;
    CleanupSelectionModel m_selectedFilesModel;

    bool m_showCleanupReview = false;
    bool m_isCleaning = false;
    std::optional<CleanupReport> m_cleanupReport;

    CleanupRunner m_runner;
    QFuture<void> m_cleanupTask;
    // The cleanup worker posts its outcome here; closed on destruction.
    std::shared_ptr<MainThreadMailbox<DuplicateReviewModel>> m_mailbox;
};

} // namespace twinsift
