pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// A small promise about privacy or safety, in the strip under the card.
Rectangle {
    id: pill

    required property string icon
    required property string title
    required property string text
    required property color accent

    implicitHeight: row.implicitHeight + 20
    radius: Theme.sectionRadius
    color: Theme.withAlpha(Theme.white, 0.63)
    border.color: Theme.withAlpha(accent, 0.3)
    border.width: 1

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.leftMargin: 13
        anchors.rightMargin: 13
        anchors.topMargin: 10
        anchors.bottomMargin: 10
        spacing: 11

        Rectangle {
            Layout.preferredWidth: 36
            Layout.preferredHeight: 36
            radius: 10
            color: Theme.withAlpha(pill.accent, 0.1)
            SymbolIcon {
                anchors.centerIn: parent
                name: pill.icon
                size: 14
                color: pill.accent
            }
        }
        ColumnLayout {
            spacing: 2
            Layout.fillWidth: true
            Label {
                text: pill.title
                font.pointSize: Theme.subheadlineSize
                font.weight: Font.DemiBold
                color: Theme.primaryText
            }
            Label {
                Layout.fillWidth: true
                text: pill.text
                font.pointSize: Theme.captionSize
                color: Theme.secondaryText
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
            }
        }
        Item {
            Layout.minimumWidth: 4
        }
    }
}
