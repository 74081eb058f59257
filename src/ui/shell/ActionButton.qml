pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// A button with a symbol before its text: bordered, or filled with tint
// when prominent. The results screen's header and cleanup bar use the
// toolbar face: the style's tighter padding, semibold text and a frame in
// the fill's own colour.
Button {
    id: button

    property string symbol
    property bool prominent: false
    property color tint: Theme.teal
    property bool large: false
    property bool toolbar: false
    // Shown on hover, and said as the description (or as the name of a
    // symbol-only button).
    property string tip
    property string accessibleName: text !== "" ? text : tip

    leftPadding: toolbar ? 4 : large ? 16 : 12
    rightPadding: toolbar ? 4 : large ? 16 : 12
    topPadding: toolbar ? 4 : large ? 8 : 5
    bottomPadding: toolbar ? 4 : large ? 8 : 5
    hoverEnabled: true
    font.pointSize: large ? Theme.largeButtonSize : Theme.bodySize
    font.weight: toolbar ? Font.DemiBold : Font.Normal

    HoverTip {
        text: button.tip
    }
    ControlAccess {
        control: button
        name: button.accessibleName
        description: button.tip !== button.accessibleName ? button.tip : ""
    }

    // The toolbar face is laid out as the results screen has always drawn
    // it, which places the symbol a pixel apart from the plain row.
    contentItem: button.toolbar ? toolbarFace : plainFace
    readonly property Item plainFace: Row {
        spacing: 6
        opacity: button.enabled ? 1 : Theme.disabledOpacity
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.symbol !== ""
            name: button.symbol
            size: button.large ? 15 : Theme.bodyPoints
            color: button.prominent ? Theme.white : Theme.primaryText
        }
        Label {
            anchors.verticalCenter: parent.verticalCenter
            text: button.text
            font: button.font
            color: button.prominent ? Theme.white : Theme.primaryText
        }
    }
    // It keeps the symbol's place even without one.
    readonly property Item toolbarFace: RowLayout {
        spacing: 6
        SymbolIcon {
            name: button.symbol
            size: Theme.bodyPoints
            color: button.prominent ? Theme.white : Theme.primaryText
        }
        Label {
            text: button.text
            font: button.font
            color: button.prominent ? Theme.white : Theme.primaryText
        }
    }

    background: Rectangle {
        implicitHeight: button.toolbar ? 0 : button.large ? 34 : 26
        radius: Theme.controlRadius
        opacity: button.enabled ? 1 : Theme.disabledOpacity
        color: button.prominent ? (button.down ? Qt.darker(button.tint, button.toolbar ? 1.1 : 1.2) : button.tint)
                                : (button.down ? (button.toolbar ? Qt.darker(Theme.controlBackground, 1.1)
                                                                 : Theme.withAlpha(Theme.black, 0.08))
                                               : Theme.controlBackground)
        border.width: button.visualFocus ? 2 : button.prominent && !button.toolbar ? 0 : 1
        border.color: button.visualFocus ? Theme.systemAccent
                                         : !button.toolbar ? Theme.withAlpha(Theme.black, 0.16)
                                                           : button.prominent ? button.tint : Theme.separator
    }
}
