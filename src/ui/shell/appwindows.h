#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

namespace twinsift {

// Opens further main windows. Each is an independent copy of the first, with
// its own navigation and scan screen; all of them share the history store
// and the application-wide notices.
class AppWindows : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static AppWindows *create(QQmlEngine *engine, QJSEngine *);

    // The new window, shown; null when it could not be built.
    Q_INVOKABLE QObject *openNewWindow();

private:
    explicit AppWindows(QQmlEngine *engine);

    QQmlEngine *m_engine;
};

} // namespace twinsift
