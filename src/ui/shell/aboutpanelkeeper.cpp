#include "aboutpanelkeeper.h"

#include "appdelegate.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcAbout, "twinsift.about", QtInfoMsg)
} // namespace

AboutPanelKeeper::AboutPanelKeeper(QQmlEngine *engine) : QObject(engine), m_engine(engine) {}

AboutPanelKeeper *AboutPanelKeeper::create(QQmlEngine *engine, QJSEngine *) {
    return new AboutPanelKeeper(engine);
}

void AboutPanelKeeper::showAbout() {
    QQmlComponent component(m_engine, QUrl(QStringLiteral("qrc:/Twinsift/shell/AboutPanel.qml")));
    QObject *made = component.create();
    auto *panel = qobject_cast<QQuickWindow *>(made);
    if (!panel) {
        qCWarning(lcAbout) << "About panel not built:" << component.errorString();
        delete made;
        return;
    }
    QQmlEngine::setObjectOwnership(panel, QQmlEngine::CppOwnership);
    static_cast<QObject *>(panel)->setParent(this);
    if (m_panel)
        closeAbout();

    // A dialog of the window it was asked from: the window manager keeps it
    // above that window and gives it a close box only.
    panel->setFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                    Qt::WindowCloseButtonHint);
    panel->setTransientParent(ownerWindow(panel));
    panel->setModality(Qt::ApplicationModal);
    panel->setMinimumSize(panelSize);
    panel->setMaximumSize(panelSize);
    panel->resize(panelSize);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        panel->setPosition(area.center() - QPoint(panelSize.width() / 2, panelSize.height() / 2));
    }
    // The Close button, Return and the close box all end in the panel being
    // hidden.
    connect(panel, &QWindow::visibleChanged, this, [this, panel](bool visible) {
        if (!visible)
            forget(panel);
    });
    m_panel = panel;
    emit panelChanged();
    panel->show();
    panel->requestActivate();
}

QWindow *AboutPanelKeeper::ownerWindow(const QWindow *panel) {
    // Dialogs, the panel among them, own no About panel.
    const auto isMainWindow = [panel](const QWindow *window) {
        return window != panel && window->type() == Qt::Window &&
               AppDelegate::isMainWindowCandidate(window);
    };
    QWindow *focused = QGuiApplication::focusWindow();
    while (focused && focused->transientParent())
        focused = focused->transientParent();
    if (focused && isMainWindow(focused))
        return focused;
    for (QWindow *window : QGuiApplication::topLevelWindows())
        if (isMainWindow(window))
            return window;
    return nullptr;
}

void AboutPanelKeeper::closeAbout() {
    if (m_panel)
        m_panel->close();
}

void AboutPanelKeeper::forget(QQuickWindow *panel) {
    panel->deleteLater();
    if (m_panel != panel)
        return;
    m_panel = nullptr;
    emit panelChanged();
}

} // namespace twinsift
