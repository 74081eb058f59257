pragma ComponentBehavior: Bound
import QtQuick
import Twinsift

// What scrolls above the result grid's rows: the item made from the grid's
// `above`, then the table's column headings.
Column {
    id: top

    // The grid this heads: a view makes its header inside its content item.
    readonly property ResultGrid grid: top.parent ? top.parent.parent as ResultGrid : null
    x: top.grid?.sidePadding ?? 0
    width: top.grid ? top.grid.width - 2 * top.grid.sidePadding : 0
    spacing: 10
    bottomPadding: (top.grid?.count ?? 0) > 0 ? 4 : 24
    ComponentSlot {
        id: aboveSlot
        width: parent.width
        component: top.grid?.above ?? null
    }
    Binding {
        target: top.grid
        property: "aboveItem"
        value: aboveSlot.item
    }
    GridHeader {
        visible: (top.grid?.count ?? 0) > 0
        columns: top.grid?.columns ?? null
        showFolderPaths: top.grid?.review.showFolderPaths ?? false
        folderToggleTooltip: top.grid?.review.folderToggleTooltip ?? ""
        cleanupHeader: top.grid?.review.cleanupHeader ?? ""
        onFolderToggleClicked: {
            if (top.grid)
                top.grid.review.showFolderPaths = !top.grid.review.showFolderPaths
        }
    }
}
