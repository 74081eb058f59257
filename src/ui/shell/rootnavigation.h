#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace twinsift {

// The navigation state of one window: which destination the sidebar
// selects, where closing the guide returns to, and the one-shot requests to
// the scan screen. Destinations are the sidebar items' raw values
// ("Twinsift", "Recent Scans", "Settings", "How to Use"); an empty selection
// means none.
class RootNavigation : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString selection READ selection WRITE setSelection NOTIFY selectionChanged)
    Q_PROPERTY(
        QString helpReturnSelection READ helpReturnSelection NOTIFY helpReturnSelectionChanged)
    // The destination drawn in the bottom layer of the detail area.
    Q_PROPERTY(QString shown READ shown NOTIFY shownChanged)
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
    static constexpr const char *twinsift = "Twinsift";
    static constexpr const char *recentScans = "Recent Scans";
    static constexpr const char *settings = "Settings";
    static constexpr const char *howToUse = "How to Use";

    // Follows the process-wide request to show the guide.
    explicit RootNavigation(QObject *parent = nullptr);

    // Whether name is the raw value of one of the four destinations.
    static bool isItem(const QString &name);

    QString selection() const { return m_selection; }
    // A name that is no destination selects none.
    void setSelection(const QString &selection);
    QString helpReturnSelection() const { return m_helpReturnSelection; }
    QString shown() const;
    bool guideShown() const { return m_selection == QLatin1String(howToUse); }
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
    Q_INVOKABLE void showHowToUse() { setSelection(QString::fromLatin1(howToUse)); }
    Q_INVOKABLE void closeHowToUse() { setSelection(m_helpReturnSelection); }

signals:
    void selectionChanged();
    void helpReturnSelectionChanged();
    void shownChanged();
    void newScanRequestedChanged();
    void recentScanPathRequestChanged();
    void openFolderRequestChanged();

private:
    void setHelpReturnSelection(const QString &selection);

    QString m_selection = QString::fromLatin1(twinsift);
    QString m_helpReturnSelection = QString::fromLatin1(twinsift);
    bool m_newScanRequested = false;
    QUrl m_recentScanPathRequest;
    QUrl m_openFolderRequest;
};

} // namespace twinsift
