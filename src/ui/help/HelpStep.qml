pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// A numbered step of the guide's quick start.
RowLayout {
    id: step
    required property string number
    required property string title
    required property string detail
    Layout.fillWidth: true
    spacing: 12
    Rectangle {
        Layout.alignment: Qt.AlignTop
        implicitWidth: 24
        implicitHeight: 24
        radius: 12
        color: Theme.withAlpha(Theme.systemAccent, 0.12)
        Label {
            anchors.centerIn: parent
            text: step.number
            font.pointSize: Theme.calloutSize
            font.bold: true
            color: Theme.systemAccent
        }
    }
    ColumnLayout {
        Layout.fillWidth: true
        spacing: 3
        Label {
            Layout.fillWidth: true
            text: step.title
            font.pointSize: Theme.guideTextSize
            font.weight: Font.DemiBold
            color: Theme.primaryText
            wrapMode: Text.WordWrap
        }
        Label {
            Layout.fillWidth: true
            text: step.detail
            font.pointSize: Theme.guideTextSize
            color: Theme.secondaryText
            wrapMode: Text.WordWrap
        }
    }
}
