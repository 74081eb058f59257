import QtQuick
import QtQuick.Controls
import QtTest
import Twinsift
import TwinsiftTest

// The scan screen inside a real root view, over real folders: choosing,
// dropping, scanning, stopping, and what the history records of each.
ScreenTest {
    id: screen
    name: "ScanScreen"

    function duplicates() {
        return Fixture.makeTree({
            "a/photo.jpg": { size: 5000, seed: 1 },
            "b/photo.jpg": { size: 5000, seed: 1 },
            "c/other.bin": { size: 7000, seed: 2 },
            "small.txt": { size: 100, seed: 3 }
        })
    }

    function historyCount() {
        return RecentScanStore.records.length
    }

    function settle() {
        // Long enough for a scan of these few files to have started, and
        // ended, had anything started one.
        wait(150)
    }

    function test_choosingOrDroppingNeverScansAndOnlyAFinishedScanIsRecorded() {
        const view = showRoot().detailItem
        const gone = duplicates(), second = duplicates()
        Fixture.removeTree(gone)
        const before = historyCount()

        // Through the chooser, a folder that is gone by now: only Ctrl+R
        // scans it, and that scan fails.
        keyClick(Qt.Key_O, Qt.ControlModifier)
        tryCompare(view.chooser, "visible", true)
        view.chooser.selectedFolder = gone
        view.chooser.accept()
        compare(view.controller.selectedFolder, gone)
        verify(!view.controller.isImporterPresented)
        settle()
        verify(!view.scanModel.isScanning)
        compare(view.scanModel.errorMessage, "")
        keyClick(Qt.Key_R, Qt.ControlModifier)
        tryVerify(() => view.scanModel.errorMessage !== "", 10000)
        tryCompare(view.scanModel, "isScanning", false)

        // Through a drop, which lights the card while the drag is over it.
        verify(Fixture.dragUrls(view.dropTarget, [second], false))
        verify(view.isDropTargeted)
        Fixture.dragAway(view.dropTarget)
        verify(!view.isDropTargeted)
        verify(Fixture.dragUrls(view.dropTarget, [second]))
        compare(view.controller.selectedFolder, second)
        settle()
        verify(!view.scanModel.isScanning)
        verify(!view.hasResult)
        compare(historyCount(), before)

        click(findChild(view, "scanButton"))
        tryCompare(view, "hasResult", true, 10000)
        compare(view.scanModel.result.rootPath, Fixture.pathOf(second))
        compare(view.scanModel.result.groupCount, 1)
        verify(view.results !== null)
        // Recorded once, and only once.
        settle()
        compare(historyCount(), before + 1)
        compare(RecentScanStore.records[0].folderUrl, second)

        // A drop clears the result the screen holds, as one that a rescan
        // from the results screen would replace.
        verify(view.controller.dropUrls([gone]))
        verify(!view.hasResult)
        compare(view.controller.selectedFolder, gone)
        verify(!view.scanModel.isScanning)
    }

    function test_dropOfThreeFoldersWhileScanningStopsTheScanAndTakesTheFirst() {
        const view = showRoot().detailItem
        const scanned = duplicates(), a = duplicates(), b = duplicates(), c = duplicates()
        view.controller.folderChosen(scanned)
        const before = historyCount()
        Fixture.holdScansOf(scanned)
        click(findChild(view, "scanButton"))
        tryVerify(() => Fixture.scanIsHeld(), 10000)
        verify(view.scanModel.isScanning)

        verify(Fixture.dragUrls(view.dropTarget, [a, b, c]))
        compare(view.controller.selectedFolder, a)
        Fixture.releaseScans()
        tryCompare(view.scanModel, "isScanning", false, 10000)
        verify(Fixture.heldScanSawStop())
        settle()
        verify(!view.hasResult)
        compare(view.scanModel.errorMessage, "")
        compare(historyCount(), before)
        // Nothing about the drop started a scan of the new folder.
        verify(findChild(view, "scanButton").visible)

        // An empty drop is refused and changes nothing.
        verify(!Fixture.dragUrls(view.dropTarget, []))
        compare(view.controller.selectedFolder, a)
    }

    function test_stopScanWhileScanningLocksTheSizeAndRecordsNothing() {
        const view = showRoot().detailItem
        const folder = duplicates()
        view.controller.folderChosen(folder)
        const picker = findChild(view, "sizePicker")
        verify(picker.enabled)
        compare(picker.currentText, "1 KB")
        const before = historyCount()

        Fixture.holdScansOf(folder, true)
        click(findChild(view, "scanButton"))
        tryVerify(() => Fixture.scanIsHeld(), 10000)
        tryVerify(() => view.scanModel.scanProgressFraction !== undefined)
        verify(!picker.enabled)
        // The count of ignored files follows the dot, set apart in orange.
        compare(view.controller.progressParts.length, 2)
        verify(view.controller.progressParts[1].indexOf("ignored") >= 0)
        const stop = findChild(view, "stopScanButton")
        verify(stop.visible)
        verify(!findChild(view, "scanButton").visible)

        click(stop)
        Fixture.releaseScans()
        tryCompare(view.scanModel, "isScanning", false, 10000)
        verify(Fixture.heldScanSawStop())
        settle()
        verify(!view.hasResult)
        compare(view.scanModel.errorMessage, "")
        compare(historyCount(), before)
        verify(picker.enabled)

        // With the scan over, the size can change, and a scan with it runs.
        picker.currentIndex = picker.indexOfValue("tenKB")
        picker.activated(picker.currentIndex)
        compare(view.scanModel.minimumFileSize, "tenKB")
        keyClick(Qt.Key_F5)
        tryCompare(view, "hasResult", true, 10000)
        compare(view.scanModel.result.groupCount, 0)
        compare(view.scanModel.result.ignoredSmallFiles, 4)
        compare(historyCount(), before + 1)
    }

    // Ctrl+R and F5 stand for the Rescan button: while a cleanup runs they
    // do nothing, also once its review sheet is out of the way, and the run's
    // report still comes.
    function test_rescanKeysObeyTheRescanButtonDuringACleanup() {
        const view = showRoot().detailItem
        view.controller.folderChosen(duplicates())
        click(findChild(view, "scanButton"))
        tryCompare(view, "hasResult", true, 10000)
        const review = view.results.review
        const rows = review.rows
        tryVerify(() => rows.rowCount() > 0
                  && rows.data(rows.index(0, 0), ReviewRowsModel.CleanupStateRole) === ReviewRowsModel.Keep, 10000)
        review.toggleRow(0)
        compare(review.selectedCount, 1)

        Fixture.holdCleanups()
        review.showCleanupReview = true
        review.performCleanup()
        tryCompare(review.cleanup, "isRunning", true)
        // "Moving…" comes with a spinner as tall as its text, not a dot.
        const spinner = findChild(view.results, "movingSpinner")
        tryVerify(() => spinner.visible && spinner.width > 0)
        // A glyph at the size of the button's text turns there, where the
        // style's indicator drew a dot.
        const glyph = spinner.contentItem
        verify(glyph.visible && glyph.text !== "")
        compare(glyph.fontInfo.pixelSize, Theme.bodyPoints)
        verify(spinner.running)
        const rescan = findChild(view.results, "rescanButton")
        verify(!rescan.enabled)
        keyClick(Qt.Key_Escape)
        for (const press of [() => keyClick(Qt.Key_F5), () => keyClick(Qt.Key_R, Qt.ControlModifier)]) {
            press()
            settle()
            verify(!view.scanModel.isScanning)
            verify(view.hasResult)
            compare(review.selectedCount, 1)
        }

        Fixture.releaseCleanups()
        tryCompare(review.cleanup, "hasReport", true, 10000)
        tryCompare(review.cleanup, "isRunning", false)
        verify(rescan.enabled)
    }

    // The central card keeps to its 315–345 points whatever it shows, with
    // all of its content inside, and the tiles below it never move.
    function test_theCardKeepsItsHeightInEveryStateAndTheShortPageScrolls() {
        const view = showRoot().detailItem
        const hero = findChild(view, "heroCard"), content = findChild(view, "heroContent")
        const tiles = findChild(view, "featureGrid")
        const check = (state) => {
            waitForRendering(view)
            verify(hero.height >= 315 && hero.height <= 345, state + ": the card is " + hero.height + " high")
            verify(content.y >= 8 && content.y + content.height <= hero.height - 8,
                   state + ": the content runs from " + content.y + " to " + (content.y + content.height))
            return tiles.mapToItem(view, 0, 0).y
        }
        const tilesAt = check("no folder")
        // The screen's and the card's titles are set in the rounded face.
        for (const name of ["screenTitle", "heroTitle"])
            tryVerify(() => findChild(view, name).fontInfo.family === Theme.roundedFamily, 2000, name)
        const folder = duplicates()
        view.controller.folderChosen(folder)
        compare(check("ready"), tilesAt)
        Fixture.holdScansOf(folder)
        click(findChild(view, "scanButton"))
        tryVerify(() => Fixture.scanIsHeld(), 10000)
        compare(check("scanning"), tilesAt)
        view.scanModel.errorMessage = "The selected folder could not be accessed."
        compare(check("scanning with an error"), tilesAt)
        Fixture.releaseScans()
        tryCompare(view.scanModel, "isScanning", false, 10000)

        // At the smallest window the page runs past the bottom: its scroll
        // bar says so.
        const bar = findChild(view, "pageScrollBar")
        verify(!bar.visible)
        screen.height = 720
        try {
            view.controller.folderChosen(folder)
            check("short window")
            tryVerify(() => bar.visible && bar.size < 1)
        } finally {
            screen.height = 820
        }
    }
}
