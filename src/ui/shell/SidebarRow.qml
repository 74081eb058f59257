pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// One sidebar row. A row with an item selects that destination; a row
// without one is a plain button. Rows take the keyboard focus: Up and Down
// move between them, Return and Space choose.
AbstractButton {
    id: row

    required property RootNavigation navigation
    property int item: RootNavigation.None
    property string title
    property string symbol
    property string toolTip
    readonly property bool selected: item !== RootNavigation.None && navigation.selection === item

    signal activated

    text: title
    hoverEnabled: true
    leftPadding: 10
    rightPadding: 10
    topPadding: 6
    bottomPadding: 6
    focusPolicy: Qt.StrongFocus
    ControlAccess {
        control: row
        name: row.title
        description: row.toolTip
        checkable: row.item !== RootNavigation.None
        checked: row.selected
    }

    function moveFocus(forward) {
        const next = nextItemInFocusChain(forward)
        // Only among the rows: the ends do not leave the sidebar.
        if (next && next.parent === row.parent && (forward ? next.y > row.y : next.y < row.y))
            next.forceActiveFocus(forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
    }
    Keys.onUpPressed: moveFocus(false)
    Keys.onDownPressed: moveFocus(true)

    HoverTip { text: row.toolTip }

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
        radius: Theme.smallRadius
        color: row.selected ? Theme.selection : row.hovered ? Theme.withAlpha(Theme.black, 0.04) : Theme.clear
        border.width: row.visualFocus ? 2 : 0
        border.color: Theme.systemAccent
    }

    onClicked: {
        if (item !== RootNavigation.None)
            navigation.selection = item
        activated()
    }
}
