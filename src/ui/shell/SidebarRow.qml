import QtQuick
import QtQuick.Controls
import Twinsift

// One sidebar row. A row with an item selects that destination; a row
// without one is a plain button.
ItemDelegate {
    id: row

    required property RootNavigation navigation
    property string item
    property string title
    property string symbol
    property string toolTip
    readonly property bool selected: item !== "" && navigation.selection === item

    signal activated

    text: title
    highlighted: selected
    leftPadding: 10
    topPadding: 6
    bottomPadding: 6
    focusPolicy: Qt.NoFocus
    Accessible.name: title
    Accessible.role: item !== "" ? Accessible.PageTab : Accessible.Button

    ToolTip.visible: toolTip !== "" && hovered
    ToolTip.text: toolTip
    ToolTip.delay: 600

    contentItem: Row {
        spacing: 8
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            name: row.symbol
            size: 15
            color: row.selected ? Theme.systemAccent : Theme.secondaryText
            width: 20
        }
        Label {
            anchors.verticalCenter: parent.verticalCenter
            text: row.title
            font.pointSize: Theme.bodySize
            color: Theme.primaryText
        }
    }

    background: Rectangle {
        radius: 6
        color: row.selected ? Theme.selection : row.hovered ? Theme.withAlpha(Theme.black, 0.04) : Theme.clear
    }

    onClicked: {
        if (item !== "")
            navigation.selection = item
        activated()
    }
}
