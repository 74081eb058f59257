#pragma once

#include <QObject>
#include <QQuickWindow>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class QAccessibleEvent;
class QJSEngine;
class QQmlEngine;

namespace twinsift::testing {

// A window as a screen reader meets it: only through the accessibility
// interfaces, starting from the window, skipping what is not showing. Tests
// press and toggle through it, list what they reach, and hear what the app
// announces. One per process.
class AccessTree : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static AccessTree *instance();
    static AccessTree *create(QQmlEngine *, QJSEngine *);

    // Switches the platform's accessibility on, as a screen reader starting
    // does, so controls made from now on take their roles and events flow.
    static void activate();

    // Runs the press (or toggle) action of the one reachable element called
    // name; false when there is none or more than one, or it lacks the action.
    Q_INVOKABLE bool press(QQuickWindow *window, const QString &name);
    Q_INVOKABLE bool toggle(QQuickWindow *window, const QString &name);
    // The same for the one element of that role ("menu button") and name.
    Q_INVOKABLE bool pressAs(QQuickWindow *window, const QString &role, const QString &name);
    // The names of the reachable elements that can be operated, in reading
    // order.
    Q_INVOKABLE QStringList controls(QQuickWindow *window) const;
    // "role | name | actions" for every reachable element that can be operated.
    Q_INVOKABLE QStringList table(QQuickWindow *window) const;
    // What a reader would trip over: an operable element without a name or
    // without the action its role promises, and, while a dialog is open,
    // anything operable or any text outside it.
    Q_INVOKABLE QStringList problems(QQuickWindow *window) const;
    // Whether the element called name reports the checked state.
    Q_INVOKABLE bool isChecked(QQuickWindow *window, const QString &name) const;
    // Whether the element called name reports itself disabled (dimmed).
    Q_INVOKABLE bool isDisabled(QQuickWindow *window, const QString &name) const;
    // The role the element called name reports, as text ("" when unreachable).
    Q_INVOKABLE QString roleOf(QQuickWindow *window, const QString &name) const;
    // The name of the element that has the keyboard focus.
    Q_INVOKABLE QString focusedName(QQuickWindow *window) const;

    // Texts of alert and status elements whose name changed since listen().
    Q_INVOKABLE void listen();
    Q_INVOKABLE QStringList announcements() const { return m_announcements; }

private:
    explicit AccessTree(QObject *parent = nullptr) : QObject(parent) {}
    bool act(QQuickWindow *window, const QString &role, const QString &name, const QString &action);
    static void heard(QAccessibleEvent *event);

    QStringList m_announcements;
};

} // namespace twinsift::testing
