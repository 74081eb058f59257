#include "aboutpanelkeeper.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcAbout, "twinsift.about")
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

    panel->setFlag(Qt::Dialog);
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
