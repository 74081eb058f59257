#include "rootnavigation.h"

#include "appevents.h"

namespace twinsift {

RootNavigation::RootNavigation(QObject *parent) : QObject(parent) {
    connect(AppEvents::instance(), &AppEvents::ambrivoShowHowToUse, this,
            &RootNavigation::showHowToUse);
}

bool RootNavigation::isItem(const QString &name) {
    for (const char *item : {twinsift, recentScans, settings, howToUse})
        if (name == QLatin1String(item))
            return true;
    return false;
}

void RootNavigation::setSelection(const QString &requested) {
    const QString selection = isItem(requested) ? requested : QString();
    if (selection == m_selection)
        return;
    const QString old = m_selection;
    const QString oldShown = shown();
    m_selection = selection;
    // The guide lies over the last other destination and returns to it.
    if (!selection.isEmpty()) {
        if (selection != QLatin1String(howToUse))
            setHelpReturnSelection(selection);
        else if (!old.isEmpty() && old != QLatin1String(howToUse))
            setHelpReturnSelection(old);
    }
    emit selectionChanged();
    if (shown() != oldShown)
        emit shownChanged();
}

QString RootNavigation::shown() const {
    if (guideShown())
        return m_helpReturnSelection;
    return m_selection.isEmpty() ? QString::fromLatin1(twinsift) : m_selection;
}

void RootNavigation::setHelpReturnSelection(const QString &selection) {
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
    setSelection(QString::fromLatin1(twinsift));
}

void RootNavigation::requestNewScan() {
    setNewScanRequested(true);
    setSelection(QString::fromLatin1(twinsift));
}

void RootNavigation::requestRescan(const QUrl &folder) {
    setNewScanRequested(false);
    setRecentScanPathRequest(folder);
    setSelection(QString::fromLatin1(twinsift));
}

void RootNavigation::requestNewScanFromRecent() {
    setRecentScanPathRequest(QUrl());
    setNewScanRequested(true);
    setSelection(QString::fromLatin1(twinsift));
}

} // namespace twinsift
