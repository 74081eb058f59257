#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

namespace twinsift {

// Chooses a folder with the desktop's own dialog, through the XDG desktop
// portal's FileChooser on the session bus: GNOME's or KDE's chooser, and the
// only one that reaches the user's files from inside Flatpak or Snap. When
// the session has no such portal, it says so at once and the screen shows
// its built-in dialog instead. The call never blocks: the portal answers
// with a request object whose Response signal carries the choice.
class DesktopFolderChooser : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString title READ title WRITE setTitle NOTIFY titleChanged)

public:
    explicit DesktopFolderChooser(QObject *parent = nullptr);
    ~DesktopFolderChooser() override;

    QString title() const { return m_title; }
    void setTitle(const QString &title);

    // Shows the chooser at startFolder (a file URL; empty for the portal's
    // own choice). An earlier request still open is forgotten.
    Q_INVOKABLE void open(const QUrl &startFolder);

signals:
    void titleChanged();
    void chosen(const QUrl &folder);
    void dismissed();
    // No portal answered; nothing was shown.
    void unavailable();

private slots:
    void response(uint code, const QVariantMap &results);

private:
    void listenTo(const QString &requestPath);
    void forgetRequest();

    QString m_title;
    QString m_requestPath;
    quint64 m_requests = 0;
};

} // namespace twinsift
