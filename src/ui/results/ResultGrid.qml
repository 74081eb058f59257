pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// The results table: the header row, then one row per file of the review
// model's rows, built lazily as they scroll into view. What sits above the
// table (cards, category bar, headings) scrolls with it as the list's header.
ListView {
    id: grid

    required property DuplicateReviewModel review
    // Drawn above the table's header row.
    property Component above
    // The item made from `above`, once the header has made it.
    property Item aboveItem: null
    property real sidePadding: 20
    readonly property GridColumns columns: GridColumns {
        tableWidth: grid.width - 2 * grid.sidePadding
    }

    model: review.rows
    clip: true
    reuseItems: true
    boundsBehavior: Flickable.StopAtBounds
    keyNavigationEnabled: true
    highlightFollowsCurrentItem: false
    currentIndex: -1
    activeFocusOnTab: true
    Accessible.role: Accessible.Table
    Accessible.name: qsTr("Results")
    ScrollBar.vertical: ScrollBar {
        id: scroll
        ControlAccess { control: scroll; role: Accessible.ScrollBar; name: qsTr("Results") }
    }

    Keys.onSpacePressed: event => {
        if (currentIndex >= 0)
            review.toggleRow(currentIndex)
        event.accepted = true
    }
    // The list is a focus scope: Tab into it would land on the control
    // focused there last and skip the ones above it. The list forgets that
    // control once the focus leaves, so a tour keeps the reading order.
    property Item focusedInside: null
    Connections {
        target: grid.Window.window
        function onActiveFocusItemChanged() {
            let item = grid.Window.window.activeFocusItem
            const focused = item
            while (item && item !== grid)
                item = item.parent
            if (item === grid) {
                grid.focusedInside = focused === grid ? null : focused
            } else if (grid.focusedInside) {
                grid.focusedInside.focus = false
                grid.focusedInside = null
            }
        }
    }

    // The menu key (or Shift+F10) opens the focused row's actions menu.
    Keys.onPressed: event => {
        const menuKey = event.key === Qt.Key_Menu
                        || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))
        if (!menuKey || currentIndex < 0)
            return
        const row = itemAtIndex(currentIndex)
        if (row)
            row.openActions()
        event.accepted = true
    }

    // Made from its own file: Qt 6.4's views make a header in a context of
    // their own, which a component bound to this file refuses.
    header: Qt.createComponent("ResultGridTop.qml")
    bottomMargin: 24

    delegate: FileGridRow {
        id: fileRow
        x: grid.sidePadding
        review: grid.review
        columns: grid.columns
        showFolderPaths: grid.review.showFolderPaths
        current: ListView.isCurrentItem && grid.activeFocus
        // A row kept for reuse is out of sight but would still be read out.
        visible: !pooled
        property bool pooled: false
        ListView.onPooled: pooled = true
        ListView.onReused: pooled = false
        TapHandler {
            onTapped: {
                grid.currentIndex = fileRow.index
                grid.forceActiveFocus()
            }
        }
    }
}
