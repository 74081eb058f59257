#pragma once

#include "cleanuplock.h"
#include "scangate.h"
#include "tempdir.h"

#include <QJSValue>
#include <QList>
#include <QObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QStringList>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <vector>

class QJSEngine;
class QQmlEngine;

namespace twinsift::testing {

// What QML tests and screenshot scenes need from the disk: folders of real
// files made to order, a look into the Trash, and scans that can be held
// part-way so a test can act while one runs. One per process.
class TestFixture : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Fixture)
    QML_SINGLETON

public:
    static TestFixture *instance();
    static TestFixture *create(QQmlEngine *, QJSEngine *);

    // Makes a fresh folder holding the files that layout describes, an
    // object from relative path to {size, seed, modified}; files with equal
    // size and seed have equal content, and modified (optional) is the
    // file's modification time in seconds since the epoch. Returns the
    // folder as a file URL.
    Q_INVOKABLE QUrl makeTree(const QJSValue &layout);
    // The path of a file URL, for messages and comparisons.
    Q_INVOKABLE QString pathOf(const QUrl &url) const;
    Q_INVOKABLE QUrl urlOf(const QUrl &folder, const QString &relative) const;
    Q_INVOKABLE bool exists(const QUrl &url) const;
    Q_INVOKABLE void removeTree(const QUrl &url);
    // The original paths the Trash recorded for its files, sorted.
    Q_INVOKABLE QStringList trashedOrigins() const;

    // Scans of folder stop at their first report, or with hashing true at
    // the first report after a file was hashed, until releaseScans(). Every
    // controller made after the fixture runs the engine through this gate.
    Q_INVOKABLE void holdScansOf(const QUrl &folder, bool hashing = false);
    Q_INVOKABLE void releaseScans();
    Q_INVOKABLE bool scanIsHeld() const { return m_gate.isHeld(); }
    Q_INVOKABLE bool heldScanSawStop() const { return m_gate.stopWasRequested(); }

    // Cleanup runs started after holdCleanups() wait, before they check or
    // move anything, until releaseCleanups(): a test can act while one runs.
    Q_INVOKABLE void holdCleanups();
    Q_INVOKABLE void releaseCleanups() { m_cleanupHold.reset(); }

    // Drags urls from outside the window over the middle of target, as a
    // file manager does, and drops them there unless drop is false.
    Q_INVOKABLE bool dragUrls(QQuickItem *target, const QList<QUrl> &urls, bool drop = true);
    // The drag leaves the window without a drop.
    Q_INVOKABLE void dragAway(QQuickItem *target);

    // Screenshot scenes: shot() saves window as name.png in the shot folder
    // (an image of one colour fails the scene), when() runs action once
    // condition() holds (failing the scene after timeout ms), and finish() or
    // fail() ends the scene.
    void setShotFolder(const QString &folder) { m_shotFolder = folder; }
    Q_INVOKABLE void shot(QQuickWindow *window, const QString &name);
    Q_INVOKABLE void when(const QJSValue &condition, const QJSValue &action, int timeout = 20000);
    Q_INVOKABLE void finish() { emit sceneFinished(); }
    Q_INVOKABLE void fail(const QString &message);
    int failures() const { return m_failures; }

signals:
    void sceneFinished();

private:
    explicit TestFixture(QObject *parent = nullptr);

    std::vector<std::unique_ptr<TempDir>> m_folders;
    ScanGate m_gate;
    std::unique_ptr<CleanupLock> m_cleanupHold;
    QString m_shotFolder;
    int m_failures = 0;
};

} // namespace twinsift::testing
