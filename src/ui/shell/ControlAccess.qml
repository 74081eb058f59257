pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Twinsift

// What the accessibility bus needs from one interactive control: its role,
// name, description (the tooltip) and state, and a press or toggle action
// that runs the very handler a click runs. Every control takes these from
// here: with Qt 6.4 a Controls button's own press action never reaches its
// click handler, so the action is routed here, in one place. While a modal
// sheet is open in the window, controls behind it leave the bus.
QtObject {
    id: access

    required property Item control
    property int role: Accessible.Button
    property string name
    property string description
    // A toggle offers the toggle action and reports its state.
    property bool checkable: false
    property bool checked: false
    // What pressing does when it is not a button's click, such as
    // opening a drop-down.
    property var press: null

    // Return and Enter press a button as Space does.
    readonly property bool returnPresses: role === Accessible.Button || role === Accessible.ButtonMenu
    readonly property bool behindSheet: ModalSheets.revision >= 0 && ModalSheets.hides(control)

    // A Control writes its own name and check state over ours when it is
    // completed and when the bus becomes active; ours win again.
    function reassert() {
        const attached = control.Accessible
        if (attached.name !== name)
            attached.name = name
        if (attached.checkable !== checkable)
            attached.checkable = checkable
        if (attached.checked !== checked)
            attached.checked = checked
    }
    Component.onCompleted: reassert()

    function run() {
        if (!control.enabled || behindSheet)
            return
        const button = access.control as T.AbstractButton
        if (access.press)
            access.press.call(access)
        else if (button && button.action)
            button.action.trigger(button)
        else if (button)
            button.clicked()
    }

    readonly property list<QtObject> bindings: [
        Binding {
            target: access.control.Accessible
            property: "role"
            value: access.role
        },
        Binding {
            target: access.control.Accessible
            property: "name"
            value: access.name
        },
        Binding {
            target: access.control.Accessible
            property: "description"
            value: access.description
        },
        Binding {
            target: access.control.Accessible
            property: "checkable"
            value: access.checkable
        },
        Binding {
            target: access.control.Accessible
            property: "checked"
            value: access.checked
        },
        Binding {
            target: access.control.Accessible
            property: "focusable"
            value: access.control.activeFocusOnTab
        },
        // A combo box's text is a field of its own inside it, not editable
        // and so dimmed: a reader would read the choice twice, once as a
        // dimmed field. The combo box says it.
        Binding {
            target: access.role === Accessible.ComboBox && (access.control as T.Control)?.contentItem
                    ? (access.control as T.Control).contentItem.Accessible : null
            property: "ignored"
            value: true
        },
        Binding {
            target: access.control.Accessible
            property: "ignored"
            value: access.behindSheet
        },
        Connections {
            target: access.control.Accessible
            function onPressAction() { access.run() }
            function onNameChanged() { access.reassert() }
            function onCheckableChanged() { access.reassert() }
            function onCheckedChanged() { access.reassert() }
        },
        Connections {
            target: access.returnPresses ? access.control.Keys : null
            function onReturnPressed(event) { access.run(); event.accepted = true }
            function onEnterPressed(event) { access.run(); event.accepted = true }
        },
        // Only a toggle offers the toggle action.
        Connections {
            target: access.checkable ? access.control.Accessible : null
            function onToggleAction() { access.run() }
        }
    ]
}
