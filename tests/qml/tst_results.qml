import QtQuick
import QtTest
import Twinsift
import TwinsiftTest

// The results screen over real scans of real folders, driven through its
// buttons; cleanup moves files into the process's own Trash.
ScreenTest {
    name: "ResultsScreen"

    function rowOf(host, relative) {
        const rows = host.view.review.rows
        const path = Fixture.pathOf(Fixture.urlOf(host.folder, relative))
        for (let i = 0; i < rows.rowCount(); ++i)
            if (rows.data(rows.index(i, 0), ReviewRowsModel.DisplayPathRole) === path)
                return i
        fail("no row shows " + relative)
    }

    function clickToggle(host, relative) {
        const grid = findChild(host.view, "resultGrid")
        const index = rowOf(host, relative)
        grid.positionViewAtIndex(index, ListView.Contain)
        let toggle = null
        tryVerify(() => {
            const row = grid.itemAtIndex(index)
            toggle = row ? findChild(row, "cleanupToggle") : null
            return toggle !== null && toggle.visible && toggle.enabled
        })
        mouseClick(toggle)
    }

    function copies(names) {
        const layout = {}
        for (const name of names)
            layout[name] = { size: 6000, seed: 7 }
        return layout
    }

    function test_markingTheLastCopyRaisesTheKeepOneCopyAlert() {
        const host = showResults(copies(["a.bin", "b.bin"]))
        clickToggle(host, "a.bin")
        compare(host.view.review.selectedCount, 1)
        clickToggle(host, "b.bin")

        const alert = findChild(host.view, "keepOneCopyAlert")
        tryCompare(alert, "opened", true)
        compare(alert.title, "Keep at Least One Copy")
        verify(alert.message.startsWith("At least one copy in every exact-duplicate set must remain."))
        compare(host.view.review.selectedCount, 1)

        // Escape closes the alert and nothing else: the marks stay and no
        // cleanup starts.
        keyClick(Qt.Key_Escape)
        tryCompare(alert, "opened", false)
        verify(!host.view.review.hasCleanupGuardMessage)
        compare(host.view.review.selectedCount, 1)
        verify(!host.view.review.cleanup.isRunning)
        verify(Fixture.exists(Fixture.urlOf(host.folder, "a.bin")))

        // Ctrl+F reaches the search field; Space flips the focused row.
        keyClick(Qt.Key_F, Qt.ControlModifier)
        tryCompare(findChild(host.view, "searchField"), "activeFocus", true)
        const grid = findChild(host.view, "resultGrid")
        grid.currentIndex = rowOf(host, "a.bin")
        grid.forceActiveFocus()
        keyClick(Qt.Key_Space)
        compare(host.view.review.selectedCount, 0)
    }

    function test_stopScanDuringARescanKeepsTheResultShown() {
        const host = showResults(copies(["one.bin", "two.bin", "sub/three.bin"]))
        compare(host.view.review.rows.rowCount(), 3)
        Fixture.holdScansOf(host.folder)
        const rescan = findChild(host.view, "rescanButton")
        mouseClick(rescan)
        tryVerify(() => Fixture.scanIsHeld(), 10000)
        const stop = findChild(host.view, "stopScanButton")
        verify(stop.visible && stop.enabled)
        verify(!rescan.visible)
        mouseClick(stop)
        Fixture.releaseScans()
        tryCompare(host.scanner, "isScanning", false, 10000)
        verify(Fixture.heldScanSawStop())
        verify(rescan.visible)
        verify(!stop.visible)
        // The result that was shown stays, with its rows.
        compare(host.view.review.rows.rowCount(), 3)
        verify(host.view.review.hasResult)
    }
}
