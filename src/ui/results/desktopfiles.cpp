#include "desktopfiles.h"

#include "fileurls.h"
#include "paths.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDesktopServices>
#include <QLoggingCategory>
#include <QUrl>

namespace twinsift::DesktopFiles {

namespace {
Q_LOGGING_CATEGORY(lcDesktop, "twinsift.desktop")

void openFolderOf(std::string_view path) {
    const QUrl folder = fileurls::fromPath(paths::parent(path));
    if (!QDesktopServices::openUrl(folder))
        qCWarning(lcDesktop) << "no application opened" << folder;
}
} // namespace

void open(std::string_view path) {
    const QUrl url = fileurls::fromPath(path);
    if (!QDesktopServices::openUrl(url))
        qCWarning(lcDesktop) << "no application opened" << url;
}

void reveal(std::string_view path) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openFolderOf(path);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QString::fromLatin1(fileurls::fromPath(path).toEncoded())} << QString();
    // Never wait on the bus from the main thread: the answer, or its absence,
    // arrives later.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 3000));
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, [watcher, folderPath = std::string(path)] {
            watcher->deleteLater();
            if (watcher->isError()) {
                qCInfo(lcDesktop) << "no file manager answered:" << watcher->error().message();
                openFolderOf(folderPath);
            }
        });
}

} // namespace twinsift::DesktopFiles
