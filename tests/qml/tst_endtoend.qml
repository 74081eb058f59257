import QtQuick
import QtTest
import Twinsift
import TwinsiftTest

// The whole job in the application's own window: choose a folder, scan,
// mark a copy, review and move it to the Trash, and the rescan after.
TestCase {
    id: test
    name: "EndToEnd"
    when: windowShown

    Component {
        id: windowComponent
        Main {}
    }

    function click(item) {
        let last = ""
        tryVerify(() => {
            const p = item.mapToItem(null, 0, 0)
            const now = [p.x, p.y, item.width, item.height, item.visible, item.enabled].join()
            const settled = now === last
            last = now
            return settled && item.visible && item.enabled
        }, 5000, "settled " + item)
        mouseClick(item)
    }

    function test_scanMarkAndMoveACopyToTheTrash() {
        const folder = Fixture.makeTree({
            "Photos/beach.jpg": { size: 9000, seed: 11 },
            "Backup/beach.jpg": { size: 9000, seed: 11 },
            "Docs/unique.txt": { size: 9000, seed: 12 }
        })
        const window = createTemporaryObject(windowComponent, test)
        compare(window.title, "Ambrivo - Twinsift")
        const root = window.rootView
        tryVerify(() => root.detailItem !== null && root.detailItem.controller !== undefined)
        const view = root.detailItem
        const historyBefore = RecentScanStore.records.length

        click(findChild(view, "selectFolderButton"))
        tryCompare(view.chooser, "visible", true)
        view.chooser.selectedFolder = folder
        view.chooser.accept()
        click(findChild(view, "scanButton"))
        tryCompare(view, "hasResult", true, 10000)
        compare(RecentScanStore.records.length, historyBefore + 1)

        const review = view.results.review
        const rows = review.rows
        tryVerify(() => rows.rowCount() === 2
                  && rows.data(rows.index(0, 0), ReviewRowsModel.CleanupStateRole) === "keep", 10000)
        const backup = Fixture.pathOf(Fixture.urlOf(folder, "Backup/beach.jpg"))
        let index = -1
        for (let i = 0; i < rows.rowCount(); ++i)
            if (rows.data(rows.index(i, 0), ReviewRowsModel.DisplayPathRole) === backup)
                index = i
        verify(index >= 0)
        const grid = findChild(view.results, "resultGrid")
        grid.positionViewAtIndex(index, ListView.Contain)
        let toggle = null
        tryVerify(() => {
            const row = grid.itemAtIndex(index)
            toggle = row ? findChild(row, "cleanupToggle") : null
            return toggle !== null && toggle.visible
        })
        click(toggle)
        compare(review.selectedCount, 1)

        click(findChild(view.results, "reviewCleanupButton"))
        tryCompare(review, "showCleanupReview", true)
        click(findChild(view.results, "moveToTrashButton"))
        tryCompare(review.cleanup, "hasReport", true, 10000)

        // On disk: the marked copy is in the Trash, everything else stays.
        verify(!Fixture.exists(Fixture.urlOf(folder, "Backup/beach.jpg")))
        verify(Fixture.exists(Fixture.urlOf(folder, "Photos/beach.jpg")))
        verify(Fixture.exists(Fixture.urlOf(folder, "Docs/unique.txt")))
        verify(Fixture.trashedOrigins().includes(backup))

        // Closing the report rescans; the set is gone and the scan is
        // recorded like any other.
        click(findChild(view.results, "closeReportButton"))
        tryVerify(() => !view.scanModel.isScanning && view.hasResult
                  && view.scanModel.result.groupCount === 0, 10000)
        compare(RecentScanStore.records.length, historyBefore + 2)
    }
}
