pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// The stop button keeps its full red while a scan runs, whatever the
// enabled state around it.
Button {
    id: button

    property string symbol: "stop.circle.fill"
    property string tip

    HoverTip {
        text: button.tip
    }
    ControlAccess {
        control: button
        name: button.text
        description: button.tip
    }
    leftPadding: 16
    rightPadding: 16
    font.pointSize: Theme.largeButtonSize

    contentItem: Item {
        implicitWidth: children[0].implicitWidth
        implicitHeight: children[0].implicitHeight
        Row {
            anchors.centerIn: parent
            spacing: 6
            SymbolIcon {
                anchors.verticalCenter: parent.verticalCenter
                name: button.symbol
                size: 15
                color: Theme.white
            }
            Label {
                anchors.verticalCenter: parent.verticalCenter
                text: button.text
                font: button.font
                color: Theme.white
            }
        }
    }

    background: Rectangle {
        implicitWidth: 190
        implicitHeight: 38
        radius: Theme.panelRadius
        color: Theme.red
        opacity: button.down ? 0.8 : 1
        border.width: button.visualFocus ? 2 : 0
        border.color: Theme.systemAccent
    }
}
