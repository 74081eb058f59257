#pragma once

#include "resultreview.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <string>

namespace twinsift {

// What the results screen shows of the review, and how: the category and
// view, the search and sort, the folder column, and the table kind and
// texts that follow from them. Reads the review; changes to it go through
// the session, which hands announce() what the view was before.
class ReviewView : public QObject {
    Q_OBJECT

public:
    explicit ReviewView(const ResultReview &review, QObject *parent = nullptr)
        : QObject(parent), m_review(review) {}

    MatchCategory category() const { return m_review.category(); }
    ResultMode mode() const { return m_review.mode(); }
    QString searchText() const { return QString::fromStdString(m_review.searchText()); }
    GroupSort sortMode() const { return m_review.sortMode(); }
    QString sortLabel() const;
    bool showFolderPaths() const { return m_review.showFolderPaths(); }
    QString folderToggleTooltip() const;
    QString searchPlaceholder() const;
    static QStringList sortOptions();

    QString sectionTitle() const;
    QString categoryDescription() const;
    QString verificationLabel() const;
    // The table offers KEEP/TRASH: the grouped view of exact duplicates.
    bool cleanupEnabled() const {
        return isGrouped() && m_review.category() == MatchCategory::exact;
    }
    QString cleanupHeader() const;
    bool showsPlannedPanel() const {
        return isGrouped() && m_review.category() == MatchCategory::similar;
    }
    bool showsFlatList() const { return !isGrouped(); }

    struct Snapshot {
        MatchCategory category;
        ResultMode mode;
        std::string search;
        GroupSort sort;
        bool folders;
    };
    Snapshot snapshot() const;
    // What moved since before, each announced by its signal.
    struct Moves {
        // The category or the mode: the kind of table and the cards.
        bool kind = false;
        // Anything the table's rows are built from.
        bool rows = false;
    };
    Moves announce(const Snapshot &before);

signals:
    void categoryChanged();
    void modeChanged();
    void searchTextChanged();
    void sortModeChanged();
    void showFolderPathsChanged();
    // Every text and flag that follows the category and the mode alone.
    void shownKindChanged();

private:
    bool isGrouped() const { return m_review.mode() == ResultMode::groups; }

    const ResultReview &m_review;
};

} // namespace twinsift
