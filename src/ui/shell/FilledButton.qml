pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// A sheet's button for the choice that acts: filled with its tint, white
// semibold text after an optional symbol, or a spinner while busy.
Button {
    id: button

    property color tint: Theme.teal
    property string symbol
    property bool busy: false
    // The choice, even while the text says how it is going.
    property string accessibleName: text
    // What tests find the spinner by.
    property string spinnerName

    ControlAccess { control: button; name: button.accessibleName }

    background: Rectangle {
        radius: Theme.smallRadius
        color: button.down ? Qt.darker(button.tint, 1.15) : button.tint
        border.width: button.visualFocus ? 2 : 0
        border.color: Theme.systemAccent
    }
    contentItem: RowLayout {
        spacing: 6
        Spinner {
            objectName: button.spinnerName
            visible: button.busy
            running: button.busy
            color: Theme.white
            size: Theme.bodyPoints
        }
        SymbolIcon {
            visible: !button.busy && button.symbol !== ""
            name: button.symbol
            color: Theme.white
            size: Theme.bodyPoints
        }
        // A text alone is centred in the button.
        Label {
            Layout.fillWidth: true
            horizontalAlignment: button.symbol === "" && !button.busy ? Text.AlignHCenter : Text.AlignLeft
            text: button.text
            color: Theme.white
            font.pointSize: Theme.bodySize
            font.weight: Font.DemiBold
        }
    }
}
