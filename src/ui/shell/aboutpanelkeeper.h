#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QSize>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

namespace twinsift {

// Builds the About panel on request and keeps it while it is on screen. The
// panel is a dialog of the main window with a fixed size and a close box
// only, and is application-modal: the windows behind it take no input until
// it is closed, by its Close button, Return, or its close box.
class AboutPanelKeeper : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QQuickWindow *panel READ panel NOTIFY panelChanged)

public:
    static constexpr QSize panelSize{340, 248};

    static AboutPanelKeeper *create(QQmlEngine *engine, QJSEngine *);

    QQuickWindow *panel() const { return m_panel; }

    // A new panel each time, centred on the screen and made active.
    Q_INVOKABLE void showAbout();
    Q_INVOKABLE void closeAbout();

signals:
    void panelChanged();

private:
    explicit AboutPanelKeeper(QQmlEngine *engine);
    void forget(QQuickWindow *panel);
    // The main window the panel belongs to: the focused one, else the first.
    static QWindow *ownerWindow(const QWindow *panel);

    QQmlEngine *m_engine;
    QPointer<QQuickWindow> m_panel;
};

} // namespace twinsift
