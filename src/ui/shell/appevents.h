#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

namespace twinsift {

// Application-wide notices that any window may post and every window
// observes, such as the Help menu asking each root view to show the guide.
// One instance per process, shared by every QML engine.
class AppEvents : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static AppEvents *instance();
    static AppEvents *create(QQmlEngine *, QJSEngine *);

    // Asks every root view to show How to Use.
    Q_INVOKABLE void postShowHowToUse() { emit ambrivoShowHowToUse(); }

signals:
    void ambrivoShowHowToUse();

private:
    explicit AppEvents(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace twinsift
