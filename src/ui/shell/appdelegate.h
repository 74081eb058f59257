#pragma once

#include <QObject>

class QWindow;

namespace twinsift {

// Start-up of the desktop application: installs the icon and brings the first
// main window forward once it exists. Whether closing the last window quits
// depends on that: a process whose main window never appeared keeps running.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    static constexpr int lastAttempt = 20;
    static constexpr int retryMilliseconds = 100;

    explicit AppDelegate(QObject *parent = nullptr);

    // Installs the window icon and starts looking for the main window.
    void applicationDidFinishLaunching();

    // Activates the first visible, titled, focusable window that is not a
    // sheet; otherwise tries again 0.1 s later, up to attempt lastAttempt.
    void bringInitialWindowForward(int attempt);

    bool hasPresentedMainWindow() const { return m_hasPresentedMainWindow; }

    // Whether a window may serve as the main window.
    static bool isMainWindowCandidate(const QWindow *window);

signals:
    void mainWindowPresented(QWindow *window);
    void gaveUp();

private:
    bool m_hasPresentedMainWindow = false;
};

} // namespace twinsift
