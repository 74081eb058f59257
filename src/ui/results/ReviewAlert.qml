pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// A small modal alert with one "OK" button. It shows while `shown` holds;
// closing it in any way (OK, Escape) calls `dismissed`, which clears the
// message behind it.
ModalSheet {
    id: alert

    required shown
    required property string message
    signal dismissed()

    width: 420
    onClosed: if (shown) dismissed()
    initialFocus: okButton

    ColumnLayout {
        anchors.fill: parent
        spacing: 12
        RowLayout {
            spacing: 10
            SymbolIcon {
                name: "exclamationmark.triangle.fill"
                color: Theme.orange
                size: Theme.title2Points
            }
            Label {
                Layout.fillWidth: true
                text: alert.title
                wrapMode: Text.Wrap
                color: Theme.primaryText
                font.pointSize: Theme.title3Size
                font.weight: Font.Bold
            }
        }
        Label {
            Layout.fillWidth: true
            text: alert.message
            wrapMode: Text.Wrap
            color: Theme.primaryText
            font.pointSize: Theme.bodySize
        }
        Button {
            id: okButton
            Layout.alignment: Qt.AlignRight
            text: qsTr("OK")
            onClicked: alert.close()
            ControlAccess { control: okButton; name: okButton.text }
        }
    }
}
