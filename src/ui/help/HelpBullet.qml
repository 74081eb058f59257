pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// One point of a guide card: a tinted symbol before its text.
RowLayout {
    id: bullet
    required property string icon
    required property string text
    required property color tint
    Layout.fillWidth: true
    spacing: 10
    SymbolIcon {
        Layout.alignment: Qt.AlignTop
        Layout.preferredWidth: 18
        Layout.topMargin: 3
        name: bullet.icon
        size: 14
        color: bullet.tint
    }
    Label {
        Layout.fillWidth: true
        text: bullet.text
        font.pointSize: Theme.guideTextSize
        color: Theme.secondaryText
        wrapMode: Text.WordWrap
    }
}
