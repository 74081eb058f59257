import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// A small modal alert with one "OK" button. It shows while `shown` holds;
// closing it in any way (OK, Escape) calls `dismissed`, which clears the
// message behind it.
Popup {
    id: alert

    required property bool shown
    required property string title
    required property string message
    signal dismissed()

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: 420
    modal: true
    focus: true
    padding: 22
    closePolicy: Popup.CloseOnEscape
    Overlay.modal: Rectangle { color: Theme.withAlpha(Theme.black, 0.28) }
    onShownChanged: shown ? open() : close()
    Component.onCompleted: if (shown) open()
    onClosed: if (shown) dismissed()

    background: Rectangle {
        radius: 12
        color: Theme.controlBackground
        border.color: Theme.separator
    }

    contentItem: ColumnLayout {
        Accessible.role: Accessible.AlertMessage
        Accessible.name: title
        spacing: 12
        RowLayout {
            spacing: 10
            SymbolIcon {
                name: "exclamationmark.triangle.fill"
                color: Theme.orange
                size: Theme.title2Size
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
            Layout.alignment: Qt.AlignRight
            text: qsTr("OK")
            Accessible.name: text
            onClicked: alert.close()
        }
    }
}
