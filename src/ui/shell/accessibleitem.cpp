#include "accessibleitem.h"

#include "modalsheets.h"

#include <QtQuick/private/qaccessiblequickitem_p.h>
#include <QtQuick/private/qquickitem_p.h>

namespace twinsift {

namespace {

class AccessibleItem : public QAccessibleQuickItem {
public:
    explicit AccessibleItem(QQuickItem *item) : QAccessibleQuickItem(item) {}

    QAccessible::State state() const override;
    QAccessible::Role role() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;

private:
    QList<QQuickItem *> reachableChildItems() const;
};

QAccessibleInterface *accessibleItemFactory(const QString &className, QObject *object) {
    if (className != QLatin1String("QQuickItem"))
        return nullptr;
    auto *item = qobject_cast<QQuickItem *>(object);
    if (!item || !QQuickItemPrivate::get(item)->isAccessible)
        return nullptr;
    return new AccessibleItem(item);
}

} // namespace

void installAccessibleItems() {
    // The factory installed last is asked first.
    QAccessible::removeFactory(accessibleItemFactory);
    QAccessible::installFactory(accessibleItemFactory);
}

QAccessible::State AccessibleItem::state() const {
    QAccessible::State state = QAccessibleQuickItem::state();
    if (!item()->isEnabled()) {
        state.disabled = true;
        state.focusable = false;
    }
    if (ModalSheets::hidden(item()))
        state.invisible = true;
    return state;
}

QAccessible::Role AccessibleItem::role() const {
    const QAccessible::Role role = QAccessibleQuickItem::role();
    // Qt Quick gives each entry of a menu bar the bar's own role, so a reader
    // would hear a menu bar per entry. Qt's widget menu bars show their
    // entries as menu items; ours do the same.
    if (role == QAccessible::MenuBar && item()->inherits("QQuickMenuBarItem"))
        return QAccessible::MenuItem;
    return role;
}

QList<QQuickItem *> AccessibleItem::reachableChildItems() const {
    QList<QQuickItem *> items = childItems();
    items.removeIf([](const QQuickItem *child) { return ModalSheets::hidden(child); });
    return items;
}

int AccessibleItem::childCount() const {
    return int(reachableChildItems().size());
}

QAccessibleInterface *AccessibleItem::child(int index) const {
    const QList<QQuickItem *> items = reachableChildItems();
    if (index < 0 || index >= items.size())
        return nullptr;
    return QAccessible::queryAccessibleInterface(items.at(index));
}

int AccessibleItem::indexOfChild(const QAccessibleInterface *child) const {
    if (!child)
        return -1;
    return int(reachableChildItems().indexOf(qobject_cast<QQuickItem *>(child->object())));
}

} // namespace twinsift
