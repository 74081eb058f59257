pragma ComponentBehavior: Bound
import QtQuick

// Tells a screen reader what changed without a key press: an element with
// the status role (the alert role when urgent) whose name is the text, so a
// new text raises the bus's name-changed event. Nothing is drawn.
Item {
    id: announcer

    property string text
    property bool urgent: false

    // Not empty, or the bus would take it for hidden.
    width: 1
    height: 1
    Accessible.role: urgent ? Accessible.AlertMessage : Accessible.StatusBar
    Accessible.name: text
}
