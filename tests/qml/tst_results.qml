import QtQuick
import QtQuick.Controls
import QtTest
import Twinsift
import TwinsiftTest

// The results screen over real scans of real folders, driven through its
// buttons; cleanup moves files into the process's own Trash.
ScreenTest {
    id: screen
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

    Component {
        id: glyphComponent
        Text {
            font.family: Theme.iconFont.name
            renderType: Text.QtRendering
        }
    }

    // The first visible icon of the icon font that draws symbol.
    function iconOf(item, symbol) {
        if (item.visible === false)
            return null
        if (item.name === symbol && item.font !== undefined && item.font.family === Theme.iconFont.name)
            return item
        const children = item.children || []
        for (let i = 0; i < children.length; ++i) {
            const found = iconOf(children[i], symbol)
            if (found)
                return found
        }
        if (item.contentItem && item.contentItem.parent !== item)
            return iconOf(item.contentItem, symbol)
        return null
    }

    // Each icon is drawn at the size of the text it stands beside: as high
    // as the same glyph drawn at that text's size in points.
    function test_iconsAreDrawnAtTheSizeOfTheirText() {
        const host = showResults(copies(["a.bin", "b.bin"]))
        const cases = [
            { symbol: "checkmark.shield.fill", points: Theme.captionPoints },
            { symbol: "magnifyingglass", points: Theme.subheadlinePoints },
            { symbol: "doc.text.magnifyingglass", points: Theme.title3Points },
        ]
        for (const c of cases) {
            let icon = null
            tryVerify(() => (icon = iconOf(host.view, c.symbol)) !== null, 5000, c.symbol)
            const reference = createTemporaryObject(glyphComponent, screen,
                                                    { text: icon.text, "font.pixelSize": c.points })
            waitForRendering(reference)
            const expected = inkHeight(grabImage(reference))
            verify(expected > 0, c.symbol)
            const drawn = inkHeight(grabImage(icon))
            verify(Math.abs(drawn - expected) <= 1,
                   c.symbol + " is " + drawn + " px high, its text's size draws it " + expected + " px high")
        }
    }

    // Hovers item at (x, y) of row and waits for the tooltip it brings.
    function expectTip(row, item, x, y, text, what) {
        const p = item.mapToItem(row, x, y)
        mouseMove(row, p.x, p.y)
        tryCompare(row, "hoverTip", text, 2000, what)
        const tip = findChild(row, "rowToolTip")
        tryVerify(() => tip.visible && tip.text === text, 3000, what + " shows its tooltip")
    }

    function test_eachPartOfARowShowsItsOwnTooltip() {
        const host = showResults(copies(["a.bin", "sub/b.bin"]))
        host.view.review.showFolderPaths = true
        const grid = findChild(host.view, "resultGrid")
        const index = rowOf(host, "sub/b.bin")
        let row = null
        tryVerify(() => (row = grid.itemAtIndex(index)) !== null && row.showFolderPaths)
        waitForRendering(row)
        const columns = grid.columns
        const name = findChild(row, "fileNameLabel"), folder = findChild(row, "folderLabel")
        const middle = row.height - 18
        const rowTip = "Click the filename to show the file in its folder. Use Cleanup to mark a copy for Trash, or the actions menu to Open File explicitly."

        expectTip(row, name, 2, name.height / 2, "Full path:\n" + Fixture.pathOf(Fixture.urlOf(host.folder, "sub/b.bin")), "the name")
        expectTip(row, folder, 2, folder.height / 2, Fixture.pathOf(Fixture.urlOf(host.folder, "sub")), "the folder line")
        expectTip(row, row, columns.strip + columns.file - 4, middle,
                  "Click the filename area to show this file in its folder.", "the file cell")
        expectTip(row, row, columns.strip + columns.file + columns.size / 2, middle, rowTip, "the size")
        expectTip(row, row, 1, middle, rowTip, "the strip")
        expectTip(row, row, columns.strip + columns.file + columns.size + columns.verification / 2, middle,
                  "Verified exact duplicate: same file size and same SHA-256 content hash. Filenames may differ.", "the verification")
        const cleanupX = columns.strip + columns.file + columns.size + columns.verification + columns.cleanup / 2
        expectTip(row, row, cleanupX, middle, "Keep this copy. It will remain in place.", "KEEP")

        // The mark flips under the pointer: the tooltip follows it at once.
        mouseClick(row, cleanupX, middle)
        tryCompare(host.view.review, "selectedCount", 1)
        tryCompare(row, "hoverTip", "Trash this copy. It will be moved to the Trash when cleanup is run.")
        const tip = findChild(row, "rowToolTip")
        tryVerify(() => tip.text === row.hoverTip && tip.visible)
    }

    // A search that matches nothing says so in the flat list as it does in
    // the grouped view, and neither shows a table header over nothing.
    function test_aSearchThatMatchesNothingSaysSoInBothViews() {
        const host = showResults(copies(["a.bin", "b.bin"]))
        const review = host.view.review
        const panel = findChild(host.view, "noMatchesPanel")
        const grid = findChild(host.view, "resultGrid")
        for (const show of [() => review.showDuplicateGroups(), () => review.showDuplicateFiles()]) {
            show()
            review.searchText = "a"
            verify(!panel.visible)
            verify(grid.count > 0)
            review.searchText = "nothing-is-called-this"
            tryCompare(panel, "visible", true)
            compare(grid.count, 0)
            review.clearSearch()
            tryCompare(panel, "visible", false)
        }
        verify(review.showsFlatList)
    }
}
