pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// A destination that has no screen of its own yet.
Item {
    id: placeholder

    required property string title
    required property string subtitle
    required property string icon

    ColumnLayout {
        anchors.centerIn: parent
        width: parent.width - 40
        spacing: 18

        SymbolIcon {
            Layout.alignment: Qt.AlignHCenter
            name: placeholder.icon
            size: 44
            color: Theme.secondaryText
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: placeholder.title
            font.pointSize: Theme.largeTitleSize
            font.bold: true
            color: Theme.primaryText
        }
        Label {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: placeholder.subtitle
            font.pointSize: Theme.title3Size
            color: Theme.secondaryText
        }
    }
}
