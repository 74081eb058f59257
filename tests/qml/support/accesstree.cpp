#include "accesstree.h"

#include "accessibleitem.h"

#include <QAccessible>
#include <QJSEngine>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <functional>

namespace twinsift::testing {

namespace {

struct Reached {
    QAccessibleInterface *element;
    bool inDialog;
};

bool isDialog(QAccessible::Role role) {
    return role == QAccessible::Dialog;
}

bool isOperable(QAccessible::Role role) {
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::EditableText:
    case QAccessible::Link:
    case QAccessible::ScrollBar:
    case QAccessible::ListItem:
        return true;
    default:
        return false;
    }
}

bool operable(QAccessibleInterface *element) {
    return isOperable(element->role());
}

QString roleText(QAccessible::Role role) {
    switch (role) {
    case QAccessible::Button:
        return "button";
    case QAccessible::CheckBox:
        return "check box";
    case QAccessible::RadioButton:
        return "radio button";
    case QAccessible::ComboBox:
        return "combo box";
    case QAccessible::PageTab:
        return "page tab";
    case QAccessible::MenuItem:
        return "menu item";
    case QAccessible::ButtonMenu:
        return "menu button";
    case QAccessible::MenuBar:
        return "menu bar";
    case QAccessible::EditableText:
        return "text field";
    case QAccessible::Link:
        return "link";
    case QAccessible::ScrollBar:
        return "scroll bar";
    case QAccessible::ListItem:
        return "list item";
    case QAccessible::List:
        return "list";
    case QAccessible::Table:
        return "table";
    case QAccessible::Row:
        return "row";
    case QAccessible::Cell:
        return "cell";
    case QAccessible::Dialog:
        return "dialog";
    case QAccessible::AlertMessage:
        return "alert";
    case QAccessible::StatusBar:
        return "status";
    default:
        return QString::number(role);
    }
}

// The action an element's role promises: what a reader offers to do with it.
QString expectedAction(QAccessibleInterface *element) {
    switch (element->role()) {
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
        return QAccessibleActionInterface::toggleAction();
    case QAccessible::EditableText:
    case QAccessible::ScrollBar:
        return {};
    default:
        return element->state().checkable ? QAccessibleActionInterface::toggleAction()
                                          : QAccessibleActionInterface::pressAction();
    }
}

QStringList actionsOf(QAccessibleInterface *element) {
    QStringList names;
    if (QAccessibleActionInterface *actions = element->actionInterface())
        names = actions->actionNames();
    names.removeDuplicates();
    names.removeAll(QAccessibleActionInterface::setFocusAction());
    return names;
}

// What a screen reader can reach: every element that is showing and whose
// ancestors are, in the order the tree gives them.
std::vector<Reached> reachable(QQuickWindow *window) {
    std::vector<Reached> out;
    std::function<void(QAccessibleInterface *, bool)> walk = [&](QAccessibleInterface *element,
                                                                 bool inDialog) {
        if (!element || element->state().invisible)
            return;
        out.push_back({element, inDialog});
        const bool dialog = inDialog || isDialog(element->role());
        for (int i = 0; i < element->childCount(); ++i)
            walk(element->child(i), dialog);
    };
    if (window)
        walk(QAccessible::queryAccessibleInterface(window), false);
    return out;
}

std::vector<Reached> named(QQuickWindow *window, const QString &name) {
    std::vector<Reached> out;
    for (const Reached &r : reachable(window))
        if (operable(r.element) && r.element->text(QAccessible::Name) == name)
            out.push_back(r);
    return out;
}

} // namespace

AccessTree *AccessTree::instance() {
    static AccessTree *tree = new AccessTree;
    return tree;
}

AccessTree *AccessTree::create(QQmlEngine *, QJSEngine *) {
    AccessTree *tree = instance();
    QJSEngine::setObjectOwnership(tree, QJSEngine::CppOwnership);
    return tree;
}

void AccessTree::activate() {
    if (QPlatformAccessibility *platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility())
        platform->setActive(true);
    twinsift::installAccessibleItems();
}

bool AccessTree::act(QQuickWindow *window, const QString &role, const QString &name,
                     const QString &action) {
    std::vector<Reached> found = named(window, name);
    if (!role.isEmpty())
        std::erase_if(found, [&](const Reached &r) { return roleText(r.element->role()) != role; });
    if (found.size() != 1)
        return false;
    QAccessibleActionInterface *actions = found.front().element->actionInterface();
    if (!actions || !actions->actionNames().contains(action))
        return false;
    actions->doAction(action);
    return true;
}

bool AccessTree::press(QQuickWindow *window, const QString &name) {
    return act(window, {}, name, QAccessibleActionInterface::pressAction());
}

bool AccessTree::toggle(QQuickWindow *window, const QString &name) {
    return act(window, {}, name, QAccessibleActionInterface::toggleAction());
}

bool AccessTree::pressAs(QQuickWindow *window, const QString &role, const QString &name) {
    return act(window, role, name, QAccessibleActionInterface::pressAction());
}

QStringList AccessTree::controls(QQuickWindow *window) const {
    QStringList names;
    for (const Reached &r : reachable(window))
        if (operable(r.element))
            names << r.element->text(QAccessible::Name);
    return names;
}

QStringList AccessTree::table(QQuickWindow *window) const {
    QStringList rows;
    for (const Reached &r : reachable(window)) {
        const QAccessible::Role role = r.element->role();
        if (!operable(r.element) && !isDialog(role) && role != QAccessible::Table &&
            role != QAccessible::List && role != QAccessible::Row && role != QAccessible::StatusBar)
            continue;
        QString state;
        // A menu entry's description is its shortcut.
        if (role == QAccessible::MenuItem && !r.element->text(QAccessible::Description).isEmpty())
            state = " [" + r.element->text(QAccessible::Description) + "]";
        if (r.element->state().checkable)
            state += r.element->state().checked ? " (checked)" : " (not checked)";
        if (r.element->state().disabled)
            state += " (dimmed)";
        rows << QStringLiteral("%1 | %2%3 | %4")
                    .arg(roleText(role), r.element->text(QAccessible::Name), state,
                         actionsOf(r.element).join(", "));
    }
    return rows;
}

QStringList AccessTree::problems(QQuickWindow *window) const {
    QStringList found;
    const std::vector<Reached> all = reachable(window);
    bool dialogOpen = false;
    for (const Reached &r : all)
        dialogOpen = dialogOpen || isDialog(r.element->role());
    for (const Reached &r : all) {
        const QAccessible::Role role = r.element->role();
        // A text behind a dialog is read out as if it were part of it.
        if (dialogOpen && !r.inDialog && role == QAccessible::StaticText &&
            !r.element->text(QAccessible::Name).isEmpty())
            found << "text \"" + r.element->text(QAccessible::Name) +
                         "\" is reachable behind the open dialog";
        if (!operable(r.element))
            continue;
        const QString name = r.element->text(QAccessible::Name);
        const QString label = roleText(role) + " \"" + name + "\"";
        if (name.trimmed().isEmpty())
            found << "unnamed " + roleText(role) + " (" +
                         (r.element->object() ? r.element->object()->metaObject()->className()
                                              : "") +
                         ")";
        const QString action = expectedAction(r.element);
        if (!action.isEmpty() && !actionsOf(r.element).contains(action))
            found << label + " offers no " + action;
        if (dialogOpen && !r.inDialog)
            found << label + " is reachable behind the open dialog";
    }
    return found;
}

bool AccessTree::isChecked(QQuickWindow *window, const QString &name) const {
    const std::vector<Reached> found = named(window, name);
    return found.size() == 1 && found.front().element->state().checked;
}

bool AccessTree::isDisabled(QQuickWindow *window, const QString &name) const {
    const std::vector<Reached> found = named(window, name);
    return found.size() == 1 && found.front().element->state().disabled;
}

QString AccessTree::roleOf(QQuickWindow *window, const QString &name) const {
    const std::vector<Reached> found = named(window, name);
    return found.size() == 1 ? roleText(found.front().element->role()) : QString();
}

QString AccessTree::focusedName(QQuickWindow *window) const {
    for (const Reached &r : reachable(window))
        if (r.element->state().focused && operable(r.element))
            return r.element->text(QAccessible::Name);
    return {};
}

void AccessTree::heard(QAccessibleEvent *event) {
    if (event->type() != QAccessible::NameChanged)
        return;
    QAccessibleInterface *element = event->accessibleInterface();
    if (!element)
        return;
    const QAccessible::Role role = element->role();
    const QString text = element->text(QAccessible::Name);
    if ((role == QAccessible::AlertMessage || role == QAccessible::StatusBar) && !text.isEmpty())
        instance()->m_announcements << text;
}

void AccessTree::listen() {
    m_announcements.clear();
    QAccessible::installUpdateHandler(&AccessTree::heard);
}

} // namespace twinsift::testing
