#include "desktopfiles.h"

#include "fileurls.h"
#include "paths.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QProcess>

#include <memory>

namespace twinsift::DesktopFiles {

namespace {
Q_LOGGING_CATEGORY(lcDesktop, "twinsift.desktop", QtInfoMsg)

// On a desktop without a session helper, xdg-open runs the application it
// finds in the foreground and ends only when that application does. Its
// exit status after this long tells nothing about whether it was shown.
constexpr qint64 answeredAfterMilliseconds = 5000;
} // namespace

void openUrl(const QUrl &url, Unanswered unanswered) {
    // QDesktopServices only reports whether xdg-open could be started, not
    // whether anything opened; its exit status says that (3: no tool, 4: no
    // application for the type).
    auto *process = new QProcess;
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    QObject::connect(process, &QProcess::finished, process,
                     [process, started, unanswered, url](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if ((status == QProcess::NormalExit && code == 0) ||
                             started->elapsed() > answeredAfterMilliseconds)
                             return;
                         qCWarning(lcDesktop) << "no application opened" << url << "status" << code;
                         unanswered();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, unanswered, url](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         qCWarning(lcDesktop) << "xdg-open not found for" << url;
                         unanswered();
                     });
    // Its output is the opened application's; the user's terminal is no
    // place for it, and neither is a pipe nobody reads.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    process->start(QStringLiteral("xdg-open"), {QString::fromLatin1(url.toEncoded())});
}

void open(std::string_view path, Unanswered unanswered) {
    openUrl(fileurls::fromPath(path), std::move(unanswered));
}

void reveal(std::string_view path, Unanswered unanswered) {
    const QUrl folder = fileurls::fromPath(paths::parent(path));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openUrl(folder, std::move(unanswered));
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
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [watcher, folder, unanswered = std::move(unanswered)] {
                         watcher->deleteLater();
                         if (watcher->isError()) {
                             qCInfo(lcDesktop)
                                 << "no file manager answered:" << watcher->error().message();
                             openUrl(folder, unanswered);
                         }
                     });
}

} // namespace twinsift::DesktopFiles
