#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqmlregistration.h>

namespace twinsift {

// The modal sheets and alerts open in each window. A control outside every
// open sheet of its window is out of reach, on the accessibility bus as for
// the pointer, until the sheets close.
class ModalSheets : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // Changes whenever a sheet opens or closes, so bindings over hides()
    // are evaluated again.
    Q_PROPERTY(int revision READ revision NOTIFY changed)

public:
    explicit ModalSheets(QObject *parent = nullptr) : QObject(parent) {}

    int revision() const { return m_revision; }

    // sheet is the item that holds the sheet's content.
    Q_INVOKABLE void opened(QQuickItem *sheet);
    Q_INVOKABLE void closed(QQuickItem *sheet);
    Q_INVOKABLE bool hides(QQuickItem *control) const { return hidden(control); }
    // The same question from C++, such as the accessibility bus's: the open
    // sheets are those of every window of the process.
    static bool hidden(const QQuickItem *item);

signals:
    void changed();

private:
    static QList<QPointer<QQuickItem>> &openSheets();
    int m_revision = 0;
};

} // namespace twinsift
