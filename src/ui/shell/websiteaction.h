#pragma once

#include <QJSValue>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace twinsift {

// The maker's website: shown as scheme and host, opened with a trailing "/".
class WebsiteAction : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString address READ address CONSTANT)
    Q_PROPERTY(QUrl url READ url CONSTANT)

public:
    explicit WebsiteAction(QObject *parent = nullptr) : QObject(parent) {}

    static QString address();
    // The page opened; empty when the address does not make a valid one.
    static QUrl url();

    // Opens the page in the default browser; does nothing without a valid
    // address. When no browser opens it, unanswered, a function, is called
    // with the sentence that says so.
    Q_INVOKABLE static void openWebsite(const QJSValue &unanswered = QJSValue());
    static QString unansweredMessage();
};

} // namespace twinsift
