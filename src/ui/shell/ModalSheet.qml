pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// A modal sheet or alert: one dialog on the accessibility bus, named by its
// title, with every control behind it out of reach while it is open, and the
// keyboard on its safe default. A sheet that stands for a state of its
// model binds `shown` to it; one opened by hand calls open() and close().
Popup {
    id: sheet

    property string title
    property bool shown: false
    // Takes the focus when the sheet opens: the choice that changes nothing.
    property Item initialFocus: null
    readonly property Item frame: contentItem ? contentItem.parent : null

    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    focus: true
    padding: 22
    closePolicy: Popup.CloseOnEscape
    Overlay.modal: Rectangle { color: Theme.withAlpha(Theme.black, Theme.sheetDim) }

    background: Rectangle {
        radius: Theme.sheetRadius
        color: Theme.controlBackground
        border.color: Theme.separator
    }

    onShownChanged: shown ? open() : close()
    Component.onCompleted: if (shown) open()
    onOpened: {
        ModalSheets.opened(sheet.frame)
        if (sheet.initialFocus)
            sheet.initialFocus.forceActiveFocus(Qt.TabFocusReason)
    }
    onClosed: ModalSheets.closed(sheet.frame)
    Component.onDestruction: ModalSheets.closed(sheet.frame)

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
