pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// One summary tile: icon, title and a large value. The first card only
// informs; the others navigate and say so with an arrow.
AbstractButton {
    id: card

    required property string title
    required property string value
    required property string iconName
    required property color accent
    required property bool selected
    required property bool clickable
    required property string tooltip

    enabled: clickable
    implicitHeight: 86
    hoverEnabled: true
    focusPolicy: Qt.TabFocus
    ControlAccess {
        control: card
        name: card.title + " " + card.value
        description: card.tooltip
    }
    HoverTip { text: card.tooltip }

    background: Rectangle {
        radius: Theme.cardRadius
        color: card.selected ? Theme.withAlpha(card.accent, 0.12) : Theme.controlBackground
        border.width: card.selected || card.visualFocus ? 2 : 1
        border.color: card.selected || card.visualFocus ? card.accent : Theme.separator
    }

    contentItem: ColumnLayout {
        spacing: 4
        RowLayout {
            Layout.leftMargin: 14
            Layout.rightMargin: 14
            Layout.topMargin: 12
            spacing: 8
            SymbolIcon {
                name: card.iconName
                color: card.accent
                size: Theme.title3Points
            }
            Label {
                Layout.fillWidth: true
                text: card.title
                elide: Text.ElideRight
                color: Theme.secondaryText
                font.pointSize: Theme.subheadlineSize
                font.weight: Font.DemiBold
            }
            SymbolIcon {
                visible: card.clickable
                name: "arrow.right"
                color: Theme.tertiaryText
                size: Theme.subheadlinePoints
            }
        }
        Label {
            Layout.leftMargin: 14
            Layout.rightMargin: 14
            Layout.bottomMargin: 12
            Layout.fillWidth: true
            text: card.value
            elide: Text.ElideRight
            color: Theme.primaryText
            font.pointSize: Theme.largeTitleSize
            font.weight: Font.Bold
        }
    }
}
