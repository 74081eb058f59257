#include "rootnavigation.h"

#include "appevents.h"

namespace twinsift {

RootNavigation::RootNavigation(QObject *parent) : QObject(parent) {
    connect(AppEvents::instance(), &AppEvents::ambrivoShowHowToUse, this,
            &RootNavigation::showHowToUse);
}

void RootNavigation::setSelection(Destination requested) {
    const Destination selection = requested >= Twinsift && requested <= HowToUse ? requested : None;
    if (selection == m_selection)
        return;
    const Destination old = m_selection;
    const Destination oldShown = shown();
    m_selection = selection;
    // The guide lies over the last other destination and returns to it.
    if (selection != None) {
        if (selection != HowToUse)
            setHelpReturnSelection(selection);
        else if (old != None && old != HowToUse)
            setHelpReturnSelection(old);
    }
    emit selectionChanged();
    if (shown() != oldShown)
        emit shownChanged();
}

RootNavigation::Destination RootNavigation::shown() const {
    if (guideShown())
        return m_helpReturnSelection;
    return m_selection == None ? Twinsift : m_selection;
}

void RootNavigation::setHelpReturnSelection(Destination selection) {
    if (selection == m_helpReturnSelection)
        return;
    m_helpReturnSelection = selection;
    emit helpReturnSelectionChanged();
}

void RootNavigation::setNewScanRequested(bool requested) {
    if (requested == m_newScanRequested)
        return;
    m_newScanRequested = requested;
    emit newScanRequestedChanged();
}

void RootNavigation::setRecentScanPathRequest(const QUrl &folder) {
    if (folder == m_recentScanPathRequest)
        return;
    m_recentScanPathRequest = folder;
    emit recentScanPathRequestChanged();
}

void RootNavigation::setOpenFolderRequest(const QUrl &folder) {
    if (folder == m_openFolderRequest)
        return;
    m_openFolderRequest = folder;
    emit openFolderRequestChanged();
}

void RootNavigation::requestOpenFolder(const QUrl &folder) {
    setNewScanRequested(false);
    setRecentScanPathRequest(QUrl());
    setOpenFolderRequest(folder);
    setSelection(Twinsift);
}

void RootNavigation::requestNewScan() {
    setNewScanRequested(true);
    setSelection(Twinsift);
}

void RootNavigation::requestRescan(const QUrl &folder) {
    setNewScanRequested(false);
    setRecentScanPathRequest(folder);
    setSelection(Twinsift);
}

void RootNavigation::requestNewScanFromRecent() {
    setRecentScanPathRequest(QUrl());
    setNewScanRequested(true);
    setSelection(Twinsift);
}

} // namespace twinsift
