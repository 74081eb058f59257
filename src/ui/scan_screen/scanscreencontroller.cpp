#include "scanscreencontroller.h"

#include "fileurls.h"
#include "recentscanstore.h"

#include <sys/stat.h>

#include <thread>

namespace twinsift {

ScanScreenController::ScanScreenController(QObject *parent)
    : QObject(parent), m_scanModel(new DuplicateScanViewModel(this)),
      m_mailbox(std::make_shared<MainThreadMailbox<ScanScreenController>>(this)) {
    connect(m_scanModel, &DuplicateScanViewModel::resultChanged, this,
            &ScanScreenController::recordResult);
    connect(m_scanModel, &DuplicateScanViewModel::scanProgressTextChanged, this,
            &ScanScreenController::progressPartsChanged);
}

ScanScreenController::~ScanScreenController() {
    m_mailbox->close();
    // Nobody will see this scan any more; let the disk rest.
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
            if (m_navigation->newScanRequested())
                performNewScanRequest();
        });
        connect(navigation, &RootNavigation::recentScanPathRequestChanged, this, [this] {
            const QUrl folder = m_navigation->recentScanPathRequest();
            if (!folder.isEmpty())
                performRecentScanRequest(folder);
        });
    }
    emit navigationChanged();
}

QString ScanScreenController::selectedFolderText() const {
    return QString::fromStdString(fileurls::toPath(m_selectedFolder));
}

void ScanScreenController::setImporterPresented(bool presented) {
    if (presented == m_isImporterPresented)
        return;
    m_isImporterPresented = presented;
    emit isImporterPresentedChanged();
}

QStringList ScanScreenController::progressParts() const {
    const QString text = m_scanModel->scanProgressText();
    const QStringList parts = text.split(QStringLiteral(" \u00B7 "));
    return parts.size() == 2 ? parts : QStringList{text};
}

QString ScanScreenController::recentFolderUnavailableMessage() {
    return tr("This recent-scan folder is no longer available. Choose the folder again to scan "
              "it.");
}

void ScanScreenController::changeFolder() {
    ++m_folderCheck;
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
    ++m_folderCheck;
    setSelectedFolder(folder);
    m_scanModel->clearResult();
}

bool ScanScreenController::dropUrls(const QList<QUrl> &urls) {
    if (urls.isEmpty())
        return false;
    ++m_folderCheck;
    // Whatever the first item is: scanning something that is no folder
    // fails with the engine's own message.
    m_scanModel->cancelScan();
    setSelectedFolder(urls.first());
    m_scanModel->clearResult();
    return true;
}

void ScanScreenController::serveRequests() {
    if (!m_navigation)
        return;
    const QUrl folder = m_navigation->recentScanPathRequest();
    if (!folder.isEmpty())
        performRecentScanRequest(folder);
    else if (m_navigation->newScanRequested())
        performNewScanRequest();
}

void ScanScreenController::performNewScanRequest() {
    if (!m_navigation || !m_navigation->newScanRequested())
        return;
    m_navigation->setNewScanRequested(false);
    ++m_folderCheck;
    m_scanModel->cancelScan();
    m_scanModel->clearResult();
    setImporterPresented(true);
}

void ScanScreenController::performRecentScanRequest(const QUrl &folder) {
    if (!m_navigation || m_navigation->recentScanPathRequest() != folder)
        return;
    m_navigation->setRecentScanPathRequest(QUrl());
    m_navigation->setNewScanRequested(false);

    // The folder may sit on a mount that no longer answers: ask on a thread
    // of its own, and take no answer in time as "gone".
    const std::uint64_t check = ++m_folderCheck;
    auto answered = std::make_shared<std::atomic_bool>(false);
    std::thread([mailbox = m_mailbox, answered, check, folder, path = fileurls::toPath(folder)] {
        struct stat status {};
        const bool isFolder =
            !path.empty() && ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
        if (!answered->exchange(true))
            mailbox->post([check, folder, isFolder](ScanScreenController *screen) {
                screen->recentFolderChecked(check, folder, isFolder);
            });
    }).detach();
    QTimer::singleShot(folderCheckTimeoutMs, this, [this, answered, check, folder] {
        if (!answered->exchange(true))
            recentFolderChecked(check, folder, false);
    });
}

void ScanScreenController::recentFolderChecked(std::uint64_t check, const QUrl &folder,
                                               bool isFolder) {
    if (check != m_folderCheck)
        return;
    m_scanModel->cancelScan();
    m_scanModel->clearResult();
    if (isFolder) {
        setSelectedFolder(folder);
        setImporterPresented(false);
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
    emit selectedFolderChanged();
}

void ScanScreenController::recordResult() {
    const ScanResultValue result = m_scanModel->result();
    if (result.hasValue())
        RecentScanStore::shared()->record(result);
}

} // namespace twinsift
