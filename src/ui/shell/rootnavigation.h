#pragma once

#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace twinsift {

// The navigation state of one window: which destination the sidebar
// selects, where closing the guide returns to, and the one-shot requests to
// the scan screen. Destinations are values; their names on screen are the
// sidebar's own texts, so renaming or translating one never changes where a
// row leads.
class RootNavigation : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Destination selection READ selection WRITE setSelection NOTIFY selectionChanged)
    Q_PROPERTY(
        Destination helpReturnSelection READ helpReturnSelection NOTIFY helpReturnSelectionChanged)
    // The destination drawn in the bottom layer of the detail area.
    Q_PROPERTY(Destination shown READ shown NOTIFY shownChanged)
    Q_PROPERTY(bool guideShown READ guideShown NOTIFY selectionChanged)
    Q_PROPERTY(bool newScanRequested READ newScanRequested WRITE setNewScanRequested NOTIFY
                   newScanRequestedChanged)
    // The remembered folder to rescan as a file URL; empty for none.
    Q_PROPERTY(QUrl recentScanPathRequest READ recentScanPathRequest WRITE setRecentScanPathRequest
                   NOTIFY recentScanPathRequestChanged)
    // A folder to choose without scanning it, as a file URL; empty for none.
    Q_PROPERTY(QUrl openFolderRequest READ openFolderRequest WRITE setOpenFolderRequest NOTIFY
                   openFolderRequestChanged)

public:
    // None is a selection only: nothing in the sidebar is highlighted, and
    // the scan screen is shown.
    enum Destination { None, Twinsift, RecentScans, Settings, HowToUse };
    Q_ENUM(Destination)

    // Follows the process-wide request to show the guide.
    explicit RootNavigation(QObject *parent = nullptr);

    Destination selection() const { return m_selection; }
    // A value that is no destination selects none.
    void setSelection(Destination selection);
    Destination helpReturnSelection() const { return m_helpReturnSelection; }
    Destination shown() const;
    bool guideShown() const { return m_selection == HowToUse; }
    bool newScanRequested() const { return m_newScanRequested; }
    void setNewScanRequested(bool requested);
    QUrl recentScanPathRequest() const { return m_recentScanPathRequest; }
    void setRecentScanPathRequest(const QUrl &folder);
    QUrl openFolderRequest() const { return m_openFolderRequest; }
    void setOpenFolderRequest(const QUrl &folder);

    // The sidebar's "New Scan" button.
    Q_INVOKABLE void requestNewScan();
    // Recent Scans asks to rescan a remembered folder, or to start afresh.
    Q_INVOKABLE void requestRescan(const QUrl &folder);
    Q_INVOKABLE void requestNewScanFromRecent();
    // A folder handed over from outside, such as the command line, is chosen
    // on the scan screen, ready to scan.
    Q_INVOKABLE void requestOpenFolder(const QUrl &folder);
    Q_INVOKABLE void showHowToUse() { setSelection(HowToUse); }
    Q_INVOKABLE void closeHowToUse() { setSelection(m_helpReturnSelection); }

signals:
    void selectionChanged();
    void helpReturnSelectionChanged();
    void shownChanged();
    void newScanRequestedChanged();
    void recentScanPathRequestChanged();
    void openFolderRequestChanged();

private:
    void setHelpReturnSelection(Destination selection);

    Destination m_selection = Twinsift;
    Destination m_helpReturnSelection = Twinsift;
    bool m_newScanRequested = false;
    QUrl m_recentScanPathRequest;
    QUrl m_openFolderRequest;
};

} // namespace twinsift
