pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// One of the three tiles that say what the tool does.
Rectangle {
    id: card

    required property string icon
    required property string title
    required property string text
    required property color accent

    implicitHeight: 140
    radius: 20
    color: Theme.withAlpha(Theme.white, 0.6)
    border.color: Theme.withAlpha(accent, 0.28)
    border.width: 1.6

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 18
        spacing: 10

        Rectangle {
            Layout.preferredWidth: 42
            Layout.preferredHeight: 42
            radius: 12
            color: Theme.withAlpha(card.accent, 0.09)
            SymbolIcon {
                anchors.centerIn: parent
                name: card.icon
                size: 18
                color: card.accent
            }
        }
        Label {
            text: card.title
            font.pointSize: Theme.headlineSize
            font.weight: Font.DemiBold
            color: Theme.primaryText
        }
        Label {
            Layout.fillWidth: true
            text: card.text
            font.pointSize: Theme.subheadlineSize
            color: Theme.secondaryText
            wrapMode: Text.WordWrap
            lineHeight: 1.15
        }
        Item {
            Layout.fillHeight: true
        }
    }
}
