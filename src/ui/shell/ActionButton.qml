import QtQuick
import QtQuick.Controls
import Twinsift

// A button with a symbol before its text: bordered, or filled with tint
// when prominent.
Button {
    id: button

    property string symbol
    property bool prominent: false
    property color tint: Theme.teal
    property bool large: false
    // A symbol-only button is named by its tooltip.
    property string accessibleName: text !== "" ? text : ToolTip.text

    leftPadding: large ? 16 : 12
    rightPadding: large ? 16 : 12
    topPadding: large ? 8 : 5
    bottomPadding: large ? 8 : 5
    font.pointSize: large ? Theme.pt(14) : Theme.bodySize

    ToolTip.delay: 600
    ToolTip.visible: hovered && ToolTip.text !== ""
    ControlAccess {
        control: button
        name: button.accessibleName
        description: button.ToolTip.text !== button.accessibleName ? button.ToolTip.text : ""
    }

    contentItem: Row {
        spacing: 6
        opacity: button.enabled ? 1 : 0.45
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.symbol !== ""
            name: button.symbol
            size: button.large ? 15 : 13
            color: label.color
        }
        Label {
            id: label
            anchors.verticalCenter: parent.verticalCenter
            text: button.text
            font: button.font
            color: button.prominent ? Theme.white : Theme.primaryText
        }
    }

    background: Rectangle {
        implicitHeight: button.large ? 34 : 26
        radius: 7
        opacity: button.enabled ? 1 : 0.45
        color: button.prominent ? (button.down ? Qt.darker(button.tint, 1.2) : button.tint)
                                : (button.down ? Theme.withAlpha(Theme.black, 0.08) : Theme.controlBackground)
        border.width: button.visualFocus ? 2 : button.prominent ? 0 : 1
        border.color: button.visualFocus ? Theme.systemAccent : Theme.withAlpha(Theme.black, 0.16)
    }
}
