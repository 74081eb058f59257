#include "appdelegate.h"

#include "dockiconfactory.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace twinsift {

AppDelegate::AppDelegate(QObject *parent) : QObject(parent) {
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

void AppDelegate::applicationDidFinishLaunching() {
    QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(DockIconFactory::makeIcon())));
    bringInitialWindowForward(0);
}

bool AppDelegate::isMainWindowCandidate(const QWindow *window) {
    if (!window->isVisible())
        return false;
    const Qt::WindowFlags flags = window->flags();
    if (flags.testFlag(Qt::WindowDoesNotAcceptFocus) || flags.testFlag(Qt::FramelessWindowHint))
        return false;
    // Only plain windows and dialogs carry a title bar; sheets, popups, tool
    // windows and the like never serve as the main window.
    const Qt::WindowType type = window->type();
    return type == Qt::Window || type == Qt::Dialog;
}

void AppDelegate::bringInitialWindowForward(int attempt) {
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        if (!isMainWindowCandidate(window))
            continue;
        m_hasPresentedMainWindow = true;
        QGuiApplication::setQuitOnLastWindowClosed(true);
        window->raise();
        window->requestActivate();
        emit mainWindowPresented(window);
        return;
    }
    if (attempt >= lastAttempt) {
        emit gaveUp();
        return;
    }
    QTimer::singleShot(retryMilliseconds, this, [self = QPointer(this), attempt] {
        if (self)
            self->bringInitialWindowForward(attempt + 1);
    });
}

} // namespace twinsift
