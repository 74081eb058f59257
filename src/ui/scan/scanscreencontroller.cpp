#include "scanscreencontroller.h"

#include "fileurls.h"
#include "paths.h"
#include "recentscanstore.h"

#include <utility>

namespace twinsift {

ScanScreenController::ScanScreenController(QObject *parent)
    : QObject(parent), m_scanModel(new DuplicateScanViewModel(this)),
      m_folderAvailability(new FolderAvailability(this)) {
    // The folder may sit on a mount that no longer answers: the check runs
    // off the main thread and takes no answer in time as "gone".
    connect(m_folderAvailability, &FolderAvailability::answered, this,
            &ScanScreenController::recentFolderChecked);
    connect(m_scanModel, &DuplicateScanViewModel::resultChanged, this,
            &ScanScreenController::recordResult);
    // The scan controller already paces its reports.
    connect(m_scanModel, &DuplicateScanViewModel::scanProgressTextChanged, this,
            &ScanScreenController::showProgress);
}

ScanScreenController::~ScanScreenController() {
    m_scanModel->cancelScan();
}

void ScanScreenController::setNavigation(RootNavigation *navigation) {
    if (navigation == m_navigation)
        return;
    if (m_navigation)
        disconnect(m_navigation, nullptr, this, nullptr);
    m_navigation = navigation;
    if (navigation) {
        connect(navigation, &RootNavigation::newScanRequestedChanged, this, [this] {
            if (isShown() && m_navigation->newScanRequested())
                performNewScanRequest();
        });
        connect(navigation, &RootNavigation::recentScanPathRequestChanged, this, [this] {
            const QUrl folder = m_navigation->recentScanPathRequest();
            if (isShown() && !folder.isEmpty())
                performRecentScanRequest(folder);
        });
        connect(navigation, &RootNavigation::openFolderRequestChanged, this, [this] {
            const QUrl folder = m_navigation->openFolderRequest();
            if (isShown() && !folder.isEmpty())
                performOpenFolderRequest(folder);
        });
        // Leaving for another destination discards this screen; its scan
        // would only keep the disk busy for nobody.
        connect(navigation, &RootNavigation::shownChanged, this, [this] {
            if (!isShown()) {
                m_checkingFolder.clear();
                m_scanModel->cancelScan();
            }
        });
    }
    emit navigationChanged();
}

bool ScanScreenController::isShown() const {
    return m_navigation && m_navigation->shown() == RootNavigation::Twinsift;
}

QString ScanScreenController::selectedFolderText() const {
    return QString::fromStdString(fileurls::toPath(m_selectedFolder));
}

QUrl ScanScreenController::chooserStartFolder() const {
    if (!m_lastChosenFolder.isEmpty())
        return m_lastChosenFolder;
    return fileurls::fromPath(paths::homeDirectory());
}

void ScanScreenController::setImporterPresented(bool presented) {
    if (presented == m_isImporterPresented)
        return;
    m_isImporterPresented = presented;
    emit isImporterPresentedChanged();
}

void ScanScreenController::showProgress() {
    QStringList parts = m_scanModel->scanProgressParts();
    QVariant fraction = m_scanModel->property("scanProgressFraction");
    if (parts == m_progressParts && fraction == m_progressFraction)
        return;
    m_progressParts = std::move(parts);
    m_progressFraction = std::move(fraction);
    m_progressStep = (m_progressStep + 1) & 0xffff;
    emit progressPartsChanged();
}

QString ScanScreenController::recentFolderUnavailableMessage() {
    return tr("This recent-scan folder is no longer available. Choose the folder again to scan "
              "it.");
}

void ScanScreenController::changeFolder() {
    m_checkingFolder.clear();
    m_scanModel->cancelScan();
    m_scanModel->clearResult();
    setImporterPresented(true);
}

void ScanScreenController::startScan() {
    if (!hasFolder() || m_scanModel->isScanning())
        return;
    m_scanModel->scan(m_selectedFolder);
}

void ScanScreenController::stop() {
    m_scanModel->cancelScan();
}

void ScanScreenController::rescan() {
    if (!hasFolder() || m_scanModel->isScanning())
        return;
    m_scanModel->clearResult();
    m_scanModel->scan(m_selectedFolder);
}

void ScanScreenController::folderChosen(const QUrl &folder) {
    setImporterPresented(false);
    if (folder.isEmpty())
        return;
    m_checkingFolder.clear();
    setSelectedFolder(folder);
    m_scanModel->clearResult();
}

bool ScanScreenController::dropUrls(const QList<QUrl> &urls) {
    if (urls.isEmpty())
        return false;
    m_checkingFolder.clear();
    // Whatever the first item is: scanning something that is no folder
    // fails with the engine's own message.
    m_scanModel->cancelScan();
    setSelectedFolder(urls.first());
    m_scanModel->clearResult();
    return true;
}

void ScanScreenController::serveRequests() {
    if (!isShown())
        return;
    const QUrl opened = m_navigation->openFolderRequest();
    const QUrl folder = m_navigation->recentScanPathRequest();
    if (!opened.isEmpty())
        performOpenFolderRequest(opened);
    else if (!folder.isEmpty())
        performRecentScanRequest(folder);
    else if (m_navigation->newScanRequested())
        performNewScanRequest();
}

void ScanScreenController::performNewScanRequest() {
    if (!m_navigation || !m_navigation->newScanRequested())
        return;
    m_navigation->setNewScanRequested(false);
    m_checkingFolder.clear();
    m_scanModel->cancelScan();
    m_scanModel->clearResult();
    setImporterPresented(true);
}

void ScanScreenController::performRecentScanRequest(const QUrl &folder) {
    if (!m_navigation || m_navigation->recentScanPathRequest() != folder)
        return;
    m_navigation->setRecentScanPathRequest(QUrl());
    m_navigation->setNewScanRequested(false);

    m_checkingFolder = folder;
    m_scanCheckedFolder = true;
    m_folderAvailability->check({fileurls::toPath(folder)});
}

void ScanScreenController::performOpenFolderRequest(const QUrl &folder) {
    if (!m_navigation || m_navigation->openFolderRequest() != folder)
        return;
    m_navigation->setOpenFolderRequest(QUrl());
    // Choosing never scans, and the folder may be on a mount that does not
    // answer: it is checked off the main thread first, as a remembered one.
    m_checkingFolder = folder;
    m_scanCheckedFolder = false;
    m_folderAvailability->check({fileurls::toPath(folder)});
}

void ScanScreenController::recentFolderChecked(const QByteArray &path, bool isFolder) {
    if (m_checkingFolder.isEmpty() || path.toStdString() != fileurls::toPath(m_checkingFolder))
        return;
    const QUrl folder = std::exchange(m_checkingFolder, QUrl());
    m_scanModel->cancelScan();
    m_scanModel->clearResult();
    if (isFolder) {
        setSelectedFolder(folder);
        setImporterPresented(false);
        if (m_scanCheckedFolder)
            m_scanModel->scan(folder);
    } else {
        setSelectedFolder(QUrl());
        m_scanModel->setErrorMessage(recentFolderUnavailableMessage());
    }
}

void ScanScreenController::setSelectedFolder(const QUrl &folder) {
    if (folder == m_selectedFolder)
        return;
    m_selectedFolder = folder;
    if (!folder.isEmpty())
        m_lastChosenFolder = folder;
    emit selectedFolderChanged();
}

void ScanScreenController::recordResult() {
    const ScanResultValue result = m_scanModel->result();
    if (result.hasValue())
        RecentScanStore::shared()->record(result);
}

} // namespace twinsift
