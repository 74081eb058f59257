pragma ComponentBehavior: Bound
import QtQuick

// Holds the one item made from `component` while active, sized as a Loader
// sizes its item: to the slot where the slot has a size, and the slot to
// the item where it has none. A new component discards the old item. Qt
// 6.4's Loader makes its item in a context of its own, which a component
// bound to its file (pragma ComponentBehavior: Bound) refuses; made here,
// it gets its own file's context, and this slot as its parent before it
// completes, so it is in the window when its Component.onCompleted runs.
FocusScope {
    id: slot

    property Component component
    property bool active: true
    readonly property Item item: made

    property Item made: null

    implicitWidth: made ? made.implicitWidth : 0
    implicitHeight: made ? made.implicitHeight : 0

    function remake() {
        const old = slot.made
        slot.made = null
        if (old) {
            old.visible = false
            old.parent = null
            old.destroy()
        }
        if (!slot.active || !slot.component)
            return
        const next = slot.component.createObject(slot)
        if (!next)
            return
        next.width = Qt.binding(() => slot.width)
        next.height = Qt.binding(() => slot.height)
        slot.made = next
    }

    onComponentChanged: if (completed) remake()
    onActiveChanged: if (completed) remake()
    property bool completed: false
    Component.onCompleted: {
        completed = true
        remake()
    }
}
