#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>

// A D-Bus session bus of the test's own, so that what answers on it is what
// the test put there, never the desktop's file manager or portal. Make it
// before anything connects to the session bus: it points
// DBUS_SESSION_BUS_ADDRESS at itself.
class PrivateSessionBus {
public:
    PrivateSessionBus() {
        m_daemon.setProgram(QStringLiteral("dbus-daemon"));
        m_daemon.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"),
                               QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
        m_daemon.start();
        if (!m_daemon.waitForStarted(5000) || !m_daemon.waitForReadyRead(5000))
            return;
        m_address = m_daemon.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_address);
    }
    ~PrivateSessionBus() {
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
    PrivateSessionBus(const PrivateSessionBus &) = delete;
    PrivateSessionBus &operator=(const PrivateSessionBus &) = delete;

    // Empty when the daemon did not start.
    const QByteArray &address() const { return m_address; }

private:
    QProcess m_daemon;
    QByteArray m_address;
};
