import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The guide's page with its header only; closing it by "Back" or Escape
// calls close.
Rectangle {
    id: guide

    signal close

    color: Theme.windowBackground

    Shortcut {
        sequence: "Escape"
        onActivated: guide.close()
    }

    // A click on the page must not reach the screen below it.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
    }

    RowLayout {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 34
        spacing: 20

        ColumnLayout {
            spacing: 4
            Label {
                text: qsTr("How to Use Twinsift")
                font.pointSize: Theme.pt(38)
                font.bold: true
                color: Theme.primaryText
            }
            Label {
                text: qsTr("Ambrivo · Private, local duplicate review")
                font.pointSize: Theme.pt(18)
                color: Theme.secondaryText
            }
        }
        Item {
            Layout.fillWidth: true
        }
        Button {
            text: qsTr("Back")
            Accessible.name: text
            onClicked: guide.close()
        }
    }
}
