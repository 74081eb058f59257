#include "testfixture.h"

#include "accesstree.h"

#include "duplicatescanviewmodel.h"
#include "fileurls.h"

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QJSEngine>
#include <QJSValueIterator>
#include <QMimeData>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace twinsift::testing {

TestFixture::TestFixture(QObject *parent) : QObject(parent) {
    DuplicateScanViewModel::setDefaultEngine(m_gate.engine());
}

TestFixture *TestFixture::instance() {
    static TestFixture *const fixture = new TestFixture;
    return fixture;
}

TestFixture *TestFixture::create(QQmlEngine *, QJSEngine *) {
    TestFixture *fixture = instance();
    QJSEngine::setObjectOwnership(fixture, QJSEngine::CppOwnership);
    return fixture;
}

QUrl TestFixture::makeTree(const QJSValue &layout) {
    auto folder = std::make_unique<TempDir>();
    QJSValueIterator it(layout);
    while (it.hasNext()) {
        it.next();
        const QJSValue file = it.value();
        const auto size = static_cast<std::uint64_t>(file.property("size").toNumber());
        const auto seed = static_cast<std::uint32_t>(file.property("seed").toInt());
        const std::string path = *folder / it.name().toStdString();
        writePattern(path, size, seed);
        // Optional: the file's modification time, in seconds since the epoch.
        if (const QJSValue modified = file.property("modified"); modified.isNumber()) {
            const timespec times[2] = {{static_cast<time_t>(modified.toNumber()), 0},
                                       {static_cast<time_t>(modified.toNumber()), 0}};
            if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
                fail(QStringLiteral("cannot set the time of ") + it.name());
        }
    }
    const QUrl url = fileurls::fromPath(folder->path());
    m_folders.push_back(std::move(folder));
    return url;
}

QString TestFixture::pathOf(const QUrl &url) const {
    return QString::fromStdString(fileurls::toPath(url));
}

QUrl TestFixture::urlOf(const QUrl &folder, const QString &relative) const {
    // Lexically, so "../.." reads as the folder it names on screen too.
    std::string path =
        std::filesystem::path(fileurls::toPath(folder) + "/" + relative.toStdString())
            .lexically_normal()
            .native();
    if (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return fileurls::fromPath(path);
}

bool TestFixture::exists(const QUrl &url) const {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(fileurls::toPath(url), error));
}

void TestFixture::removeTree(const QUrl &url) {
    testing::removeTree(fileurls::toPath(url));
}

QStringList TestFixture::trashedOrigins() const {
    QStringList origins;
    const QDir info(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                    QStringLiteral("/Trash/info"));
    for (const QString &name : info.entryList({QStringLiteral("*.trashinfo")}, QDir::Files)) {
        QSettings entry(info.filePath(name), QSettings::IniFormat);
        const QByteArray path = entry.value(QStringLiteral("Trash Info/Path")).toByteArray();
        origins << QString::fromUtf8(QByteArray::fromPercentEncoding(path));
    }
    origins.sort();
    return origins;
}

void TestFixture::holdScansOf(const QUrl &folder, bool hashing) {
    m_gate.holdAt(fileurls::toPath(folder), [hashing](const DuplicateScanProgress &report) {
        return !hashing || report.filesHashed > 0;
    });
}

void TestFixture::releaseScans() {
    m_gate.release();
}

void TestFixture::holdCleanups() {
    // Every run takes this lock first; holding it holds them.
    if (!m_cleanupHold)
        m_cleanupHold = std::make_unique<CleanupLock>();
}

bool TestFixture::dragUrls(QQuickItem *target, const QList<QUrl> &urls, bool drop) {
    if (!target || !target->window())
        return false;
    QQuickWindow *window = target->window();
    const QPoint at =
        target->mapToScene(QPointF(target->width() / 2, target->height() / 2)).toPoint();
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &move);
    if (!drop)
        return move.isAccepted();
    QDropEvent dropped(QPointF(at), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(window, &dropped);
    return dropped.isAccepted();
}

void TestFixture::dragAway(QQuickItem *target) {
    if (!target || !target->window())
        return;
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(target->window(), &leave);
}

void TestFixture::shot(QQuickWindow *window, const QString &name) {
    const QImage image = window ? window->grabWindow() : QImage();
    // A screen that rendered only its background is as bad as none.
    bool varied = false;
    for (int y = 0; y < image.height() && !varied; y += 7)
        for (int x = 0; x < image.width() && !varied; x += 7)
            varied = image.pixel(x, y) != image.pixel(0, 0);
    if (!varied || !image.save(m_shotFolder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
        std::fprintf(stderr, "shot %s: nothing, or only a background, to save\n", qPrintable(name));
        ++m_failures;
    }
    // Each state is read as a screen reader reads it, too: what it reaches
    // is written beside the picture, and what it would trip over fails.
    const AccessTree *tree = AccessTree::instance();
    QFile table(m_shotFolder + QLatin1Char('/') + name + QStringLiteral(".controls.txt"));
    if (table.open(QIODevice::WriteOnly | QIODevice::Truncate))
        table.write((tree->table(window).join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    for (const QString &problem : tree->problems(window)) {
        std::fprintf(stderr, "shot %s: %s\n", qPrintable(name), qPrintable(problem));
        ++m_failures;
    }
}

void TestFixture::when(const QJSValue &condition, const QJSValue &action, int timeout) {
    auto *poll = new QTimer(this);
    poll->setInterval(20);
    QElapsedTimer clock;
    clock.start();
    connect(poll, &QTimer::timeout, this, [this, poll, clock, condition, action, timeout] {
        QJSValue check = condition;
        const QJSValue holds = check.call();
        if (holds.isError()) {
            poll->deleteLater();
            fail(QStringLiteral("condition failed: ") + holds.toString());
        } else if (holds.toBool()) {
            poll->deleteLater();
            QJSValue run = action;
            const QJSValue outcome = run.call();
            if (outcome.isError())
                fail(QStringLiteral("action failed: ") + outcome.toString());
        } else if (clock.elapsed() > timeout) {
            poll->deleteLater();
            fail(QStringLiteral("timed out waiting for: ") + condition.toString());
        } else {
            return;
        }
        poll->stop();
    });
    poll->start();
}

void TestFixture::fail(const QString &message) {
    std::fprintf(stderr, "scene failed: %s\n", qPrintable(message));
    ++m_failures;
    emit sceneFinished();
}

} // namespace twinsift::testing
