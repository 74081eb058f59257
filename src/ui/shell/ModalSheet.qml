import QtQuick
import QtQuick.Controls
import Twinsift

// A modal sheet or alert: one dialog on the accessibility bus, named by its
// title, with every control behind it out of reach while it is open, and the
// keyboard on its safe default.
Popup {
    id: sheet

    property string title
    // Takes the focus when the sheet opens: the choice that changes nothing.
    property Item initialFocus: null
    readonly property Item frame: contentItem ? contentItem.parent : null

    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    focus: true
    padding: 22
    closePolicy: Popup.CloseOnEscape
    Overlay.modal: Rectangle { color: Theme.withAlpha(Theme.black, 0.28) }

    background: Rectangle {
        radius: 12
        color: Theme.controlBackground
        border.color: Theme.separator
    }

    onOpened: {
        ModalSheets.opened(frame)
        if (initialFocus)
            initialFocus.forceActiveFocus(Qt.TabFocusReason)
    }
    onClosed: ModalSheets.closed(frame)
    Component.onDestruction: ModalSheets.closed(frame)

    readonly property list<QtObject> accessibility: [
        Binding {
            when: sheet.frame !== null
            target: sheet.frame ? sheet.frame.Accessible : null
            property: "name"
            value: sheet.title
        },
        Binding {
            when: sheet.frame !== null
            target: sheet.frame ? sheet.frame.Accessible : null
            property: "role"
            value: Accessible.Dialog
        }
    ]
}
