pragma ComponentBehavior: Bound
import QtQuick
// For the ToolTip attached to the parent below, which qmllint cannot see.
import QtQuick.Controls
import Twinsift

// The window's tooltip over the item this sits in, after the usual pause
// while the pointer rests on it. An empty text shows nothing, so a control
// whose tip comes and goes needs no condition of its own.
HoverHandler {
    id: tip

    property string text
    property int delay: Theme.tipDelay
    readonly property bool shown: hovered && text !== ""

    readonly property list<QtObject> bindings: [
        Binding {
            target: tip.parent.ToolTip
            property: "text"
            value: tip.text
        },
        Binding {
            target: tip.parent.ToolTip
            property: "delay"
            value: tip.delay
        },
        Binding {
            target: tip.parent.ToolTip
            property: "visible"
            value: tip.shown
        }
    ]
}
