#pragma once

#include "appdelegate.h"

#include <QQmlApplicationEngine>

#include <string>

class QQuickWindow;

namespace twinsift {

// The running application: its start-up delegate and the engine that holds
// the main window. The app, its end-to-end test and the window benchmark all
// start through here, so what they drive is what users run.
class AppSession {
public:
    // Settles what must be settled before any thread starts. Call first in
    // main.
    static void prepareProcess();
    // Names the application for the desktop and picks the style. Call once,
    // after the QGuiApplication exists and before a session is made.
    static void configure(const QString &desktopFileName);

    // Loads the main window; the delegate's launch steps follow from the
    // event loop. A window that cannot be built ends the event loop with 1.
    AppSession();

    QQmlApplicationEngine &engine() { return m_engine; }
    AppDelegate &delegate() { return m_delegate; }
    // The main window, or null if it could not be built.
    QQuickWindow *mainWindow() const;
    // Chooses a folder handed over from outside on the main window's scan
    // screen, ready to scan; a path that is no folder shows why.
    void openFolder(const std::string &path);

private:
    AppDelegate m_delegate;
    QQmlApplicationEngine m_engine;
};

} // namespace twinsift
