#pragma once

#include <QJSValue>
#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

namespace twinsift::testing {

// Puts entries with chosen figures into the process-wide scan history, and
// lets a test break and mend the history's storage. One per process.
class HistoryFixture : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static HistoryFixture *create(QQmlEngine *, QJSEngine *);

    // Adds an entry for folder at the front, as a finished scan does, and
    // saves. figures may hold files, groups, duplicates, savings, ignored
    // and seconds; missing ones are 0.
    Q_INVOKABLE void add(const QUrl &folder, const QJSValue &figures = {});
    // Empties the history without any screen.
    Q_INVOKABLE void reset();
    // The history file as it is on disk; empty when there is none.
    Q_INVOKABLE QString fileText() const;
    // A file standing where the history's folder should be makes every save
    // fail until mendStorage().
    Q_INVOKABLE void breakStorage();
    Q_INVOKABLE void mendStorage();
    // Makes the folder again after a test removed it.
    Q_INVOKABLE bool makeFolder(const QUrl &folder);

private:
    explicit HistoryFixture(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace twinsift::testing
