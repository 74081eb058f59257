#include "desktopfolderchooser.h"

#include "fileurls.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPointer>
#include <QWindow>

namespace twinsift {

namespace {
Q_LOGGING_CATEGORY(lcChooser, "twinsift.chooser", QtInfoMsg)

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// The portal's name for the window the dialog belongs to, so that it opens
// over it. Wayland would need an exported handle; there the dialog is
// merely not attached.
QString parentWindowId() {
    const QWindow *window = QGuiApplication::focusWindow();
    if (window && QGuiApplication::platformName() == QLatin1String("xcb"))
        return QStringLiteral("x11:%1").arg(window->winId(), 0, 16);
    return QString();
}
} // namespace

DesktopFolderChooser::DesktopFolderChooser(QObject *parent) : QObject(parent) {}

DesktopFolderChooser::~DesktopFolderChooser() {
    forgetRequest();
}

void DesktopFolderChooser::setTitle(const QString &title) {
    if (title == m_title)
        return;
    m_title = title;
    emit titleChanged();
}

void DesktopFolderChooser::listenTo(const QString &requestPath) {
    forgetRequest();
    m_requestPath = requestPath;
    QDBusConnection::sessionBus().connect(QString(), requestPath, requestInterface,
                                          QStringLiteral("Response"), this,
                                          SLOT(response(uint, QVariantMap)));
}

void DesktopFolderChooser::forgetRequest() {
    if (m_requestPath.isEmpty())
        return;
    QDBusConnection::sessionBus().disconnect(QString(), m_requestPath, requestInterface,
                                             QStringLiteral("Response"), this,
                                             SLOT(response(uint, QVariantMap)));
    m_requestPath.clear();
}

void DesktopFolderChooser::open(const QUrl &startFolder) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        emit unavailable();
        return;
    }
    // The portal names the request after our bus name and a token of ours.
    // Listening there before calling means even an instant answer is heard.
    const QString token = QStringLiteral("twinsift%1").arg(++m_requests);
    const QString sender = bus.baseService().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    listenTo(QStringLiteral("%1/request/%2/%3").arg(portalPath, sender, token));

    QVariantMap options{{QStringLiteral("handle_token"), token},
                        {QStringLiteral("directory"), true},
                        {QStringLiteral("modal"), true}};
    const std::string start = fileurls::toPath(startFolder);
    // A byte string with its terminating NUL, as the portal wants paths.
    if (!start.empty())
        options.insert(QStringLiteral("current_folder"),
                       QByteArray(start.data(), qsizetype(start.size() + 1)));
    QDBusMessage call = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.portal.FileChooser"),
        QStringLiteral("OpenFile"));
    call << parentWindowId() << m_title << options;
    // The user may take minutes; the answer comes as a signal, not as the
    // reply, which only names the request.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 10000), this);
    const quint64 request = m_requests;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, request] {
        watcher->deleteLater();
        if (request != m_requests)
            return;
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (reply.isError()) {
            qCInfo(lcChooser) << "no folder chooser portal:" << reply.error().message();
            forgetRequest();
            emit unavailable();
            return;
        }
        // Portals older than the token scheme pick their own path.
        const QString path = reply.value().path();
        if (path != m_requestPath)
            listenTo(path);
    });
}

void DesktopFolderChooser::response(uint code, const QVariantMap &results) {
    forgetRequest();
    // 0: chosen; 1: cancelled by the user; 2: ended another way.
    const QStringList uris = results.value(QStringLiteral("uris")).toStringList();
    const QUrl folder = uris.isEmpty() ? QUrl() : QUrl(uris.first(), QUrl::StrictMode);
    const std::string path = fileurls::toPath(folder);
    if (code != 0 || folder.scheme() != QLatin1String("file") || path.empty()) {
        emit dismissed();
        return;
    }
    emit chosen(fileurls::fromPath(path));
}

} // namespace twinsift
