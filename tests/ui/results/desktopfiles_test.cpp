// Handing files to the desktop, against a session bus of the test's own and
// an xdg-open on PATH that the test writes: what is asked for reaches the
// file manager or xdg-open as the path's bytes, and when nothing on the
// desktop takes it, the caller hears so exactly once.
#include "../privatesessionbus.h"
#include "desktopfiles.h"
#include "fileurls.h"
#include "tempdir.h"

#include <QDBusConnection>
#include <QGuiApplication>
#include <QTest>

#include <sys/stat.h>

using namespace twinsift;

namespace {

// The file manager's side of org.freedesktop.FileManager1.
class FileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    QStringList shown;

public slots:
    void ShowItems(const QStringList &uris, const QString &) { shown += uris; }
};

} // namespace

class DesktopFilesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void fileManagerOnTheBusShowsTheItemItself();
    void withoutFileManagerTheFolderOpensThroughXdgOpen();
    void nothingToOpenWithIsSaidOnce_data();
    void nothingToOpenWithIsSaidOnce();

private:
    // An xdg-open that records its argument and ends with status.
    void installXdgOpen(int status);
    QString xdgOpenArgument() const;

    testing::TempDir m_bin;
    int m_unanswered = 0;
};

void DesktopFilesTest::init() {
    m_unanswered = 0;
    qputenv("PATH", QByteArray::fromStdString(m_bin.path()));
    std::remove((m_bin / "asked").c_str());
    std::remove((m_bin / "xdg-open").c_str());
}

void DesktopFilesTest::installXdgOpen(int status) {
    testing::writeFile(m_bin / "xdg-open", "#!/bin/sh\nprintf %s \"$1\" > " + (m_bin / "asked") +
                                               "\nexit " + std::to_string(status) + "\n");
    QCOMPARE(chmod((m_bin / "xdg-open").c_str(), 0755), 0);
}

QString DesktopFilesTest::xdgOpenArgument() const {
    QFile asked(QString::fromStdString(m_bin / "asked"));
    return asked.open(QIODevice::ReadOnly) ? QString::fromLatin1(asked.readAll()) : QString();
}

void DesktopFilesTest::fileManagerOnTheBusShowsTheItemItself() {
    // The file manager is another client of the same bus.
    QDBusConnection other =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fileManager"));
    FileManager manager;
    QVERIFY(other.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                 QDBusConnection::ExportAllSlots));
    QVERIFY(other.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    installXdgOpen(0);

    const std::string path = "/tmp/caf\xe9/a b.txt";
    DesktopFiles::reveal(path, [this] { ++m_unanswered; });
    QTRY_COMPARE(manager.shown.size(), 1);
    QCOMPARE(manager.shown.first(), QString::fromLatin1(fileurls::fromPath(path).toEncoded()));
    QCOMPARE(manager.shown.first(), QStringLiteral("file:///tmp/caf%E9/a%20b.txt"));
    QTest::qWait(200);
    QCOMPARE(m_unanswered, 0);
    QVERIFY(xdgOpenArgument().isEmpty());

    other.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fileManager"));
}

void DesktopFilesTest::withoutFileManagerTheFolderOpensThroughXdgOpen() {
    installXdgOpen(0);
    DesktopFiles::reveal("/tmp/caf\xe9/a b.txt", [this] { ++m_unanswered; });
    QTRY_COMPARE(xdgOpenArgument(), QStringLiteral("file:///tmp/caf%E9"));
    QTest::qWait(200);
    QCOMPARE(m_unanswered, 0);
}

void DesktopFilesTest::nothingToOpenWithIsSaidOnce_data() {
    QTest::addColumn<int>("xdgOpenStatus");
    QTest::addColumn<bool>("reveal");
    // -1: no xdg-open at all; 3: it finds no tool; 4: no application for it.
    QTest::newRow("reveal, no xdg-open") << -1 << true;
    QTest::newRow("reveal, no tool") << 3 << true;
    QTest::newRow("open, no application") << 4 << false;
    QTest::newRow("open, no xdg-open") << -1 << false;
}

void DesktopFilesTest::nothingToOpenWithIsSaidOnce() {
    QFETCH(int, xdgOpenStatus);
    QFETCH(bool, reveal);
    if (xdgOpenStatus >= 0)
        installXdgOpen(xdgOpenStatus);
    const auto unanswered = [this] { ++m_unanswered; };
    if (reveal)
        DesktopFiles::reveal("/tmp/x/y.txt", unanswered);
    else
        DesktopFiles::open("/tmp/x/y.txt", unanswered);
    QTRY_COMPARE(m_unanswered, 1);
    QTest::qWait(200);
    QCOMPARE(m_unanswered, 1);
    if (xdgOpenStatus >= 0)
        QCOMPARE(xdgOpenArgument(),
                 reveal ? QStringLiteral("file:///tmp/x") : QStringLiteral("file:///tmp/x/y.txt"));
}

int main(int argc, char *argv[]) {
    PrivateSessionBus bus;
    if (bus.address().isEmpty())
        qFatal("dbus-daemon did not start");
    QGuiApplication app(argc, argv);
    DesktopFilesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "desktopfiles_test.moc"
