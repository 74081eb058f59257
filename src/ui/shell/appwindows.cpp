#include "appwindows.h"

#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcWindows, "twinsift.windows", QtInfoMsg)
} // namespace

AppWindows::AppWindows(QQmlEngine *engine) : QObject(engine), m_engine(engine) {}

AppWindows *AppWindows::create(QQmlEngine *engine, QJSEngine *) {
    return new AppWindows(engine);
}

QObject *AppWindows::openNewWindow() {
    QQmlComponent component(m_engine, QUrl(QStringLiteral("qrc:/Twinsift/shell/Main.qml")));
    QObject *made = component.create();
    auto *window = qobject_cast<QQuickWindow *>(made);
    if (!window) {
        qCWarning(lcWindows) << "window not built:" << component.errorString();
        delete made;
        return nullptr;
    }
    QQmlEngine::setObjectOwnership(window, QQmlEngine::CppOwnership);
    static_cast<QObject *>(window)->setParent(this);
    // A closed window is gone for good, with the scan screen it holds.
    connect(window, &QWindow::visibleChanged, window, [window](bool visible) {
        if (!visible)
            window->deleteLater();
    });
    window->show();
    window->requestActivate();
    return window;
}

} // namespace twinsift
