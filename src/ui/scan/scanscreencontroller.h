#pragma once

#include "duplicatescanviewmodel.h"
#include "folderavailability.h"
#include "rootnavigation.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

namespace twinsift {

// What the scan screen decides: the chosen folder, what choosing, dropping,
// scanning and stopping do, how the root view's requests are served, and
// the recording of every published result in the history. The screen owns
// one for its lifetime, and with it one scan controller.
class ScanScreenController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(twinsift::DuplicateScanViewModel *scanModel READ scanModel CONSTANT)
    // The window's navigation, whose requests this screen serves and clears.
    Q_PROPERTY(twinsift::RootNavigation *navigation READ navigation WRITE setNavigation NOTIFY
                   navigationChanged)
    // The folder the next scan walks, as a file URL; empty for none.
    Q_PROPERTY(QUrl selectedFolder READ selectedFolder NOTIFY selectedFolderChanged)
    // Display text of that folder; never a path to act on.
    Q_PROPERTY(QString selectedFolderText READ selectedFolderText NOTIFY selectedFolderChanged)
    Q_PROPERTY(bool hasFolder READ hasFolder NOTIFY selectedFolderChanged)
    // Where the chooser opens: the last folder chosen on this screen, else
    // the home folder, never the process's working folder.
    Q_PROPERTY(QUrl chooserStartFolder READ chooserStartFolder NOTIFY selectedFolderChanged)
    Q_PROPERTY(bool isImporterPresented READ isImporterPresented WRITE setImporterPresented NOTIFY
                   isImporterPresentedChanged)
    // The progress line in its parts: what the scan does and, once it
    // reports, the small files it passed over.
    Q_PROPERTY(QStringList progressParts READ progressParts NOTIFY progressPartsChanged)
    // The controller's fraction, undefined while there is none.
    Q_PROPERTY(QVariant progressFraction READ progressFraction NOTIFY progressPartsChanged)
    // Counts the progress changes shown, so that a bar without a fraction
    // moves as the scan does, and stands still when it stalls.
    Q_PROPERTY(int progressStep READ progressStep NOTIFY progressPartsChanged)

public:
    explicit ScanScreenController(QObject *parent = nullptr);
    // Stops a running scan: nobody will see its outcome.
    ~ScanScreenController() override;

    DuplicateScanViewModel *scanModel() const { return m_scanModel; }
    RootNavigation *navigation() const { return m_navigation; }
    void setNavigation(RootNavigation *navigation);
    QUrl selectedFolder() const { return m_selectedFolder; }
    QString selectedFolderText() const;
    bool hasFolder() const { return !m_selectedFolder.isEmpty(); }
    QUrl chooserStartFolder() const;
    bool isImporterPresented() const { return m_isImporterPresented; }
    void setImporterPresented(bool presented);
    QStringList progressParts() const { return m_progressParts; }
    QVariant progressFraction() const { return m_progressFraction; }
    int progressStep() const { return m_progressStep; }

    static QString recentFolderUnavailableMessage();

    // "Select Folder": opens the chooser.
    Q_INVOKABLE void selectFolder() { setImporterPresented(true); }
    // "Change Folder": stops and clears, then opens the chooser.
    Q_INVOKABLE void changeFolder();
    // "Scan for Duplicates": scans the chosen folder.
    Q_INVOKABLE void startScan();
    // "Stop Scan".
    Q_INVOKABLE void stop();
    // The results screen asks to scan the same folder again.
    Q_INVOKABLE void rescan();
    // The chooser closed with a folder, or without one.
    Q_INVOKABLE void folderChosen(const QUrl &folder);
    Q_INVOKABLE void chooserDismissed() { setImporterPresented(false); }
    // A drop on the card; false refuses it.
    Q_INVOKABLE bool dropUrls(const QList<QUrl> &urls);
    // Serves a pending request: a remembered folder before a new scan.
    Q_INVOKABLE void serveRequests();

signals:
    void navigationChanged();
    void selectedFolderChanged();
    void isImporterPresentedChanged();
    void progressPartsChanged();

private:
    // Whether the window shows this screen, the only time it serves
    // requests: a screen being discarded must leave them to its successor.
    bool isShown() const;
    void performNewScanRequest();
    void performRecentScanRequest(const QUrl &folder);
    void performOpenFolderRequest(const QUrl &folder);
    void recentFolderChecked(const QByteArray &path, bool isFolder);
    void setSelectedFolder(const QUrl &folder);
    void showProgress();
    void recordResult();

    DuplicateScanViewModel *m_scanModel;
    QPointer<RootNavigation> m_navigation;
    QUrl m_selectedFolder;
    QUrl m_lastChosenFolder;
    bool m_isImporterPresented = false;
    // The remembered folder whose check is awaited; any newer choice of a
    // folder drops it, so a late answer cannot override the user.
    QUrl m_checkingFolder;
    // Whether that folder is scanned once found, or only chosen.
    bool m_scanCheckedFolder = false;
    FolderAvailability *m_folderAvailability;
    QStringList m_progressParts{QString()};
    QVariant m_progressFraction;
    int m_progressStep = 0;
};

} // namespace twinsift
