import QtQuick
import QtTest
import Twinsift
import TwinsiftTest

// Moving between destinations: what survives, what is discarded, and how
// requests reach the scan screen.
ScreenTest {
    name: "Navigation"

    function tree() {
        return Fixture.makeTree({
            "x/one.bin": { size: 3000, seed: 5 },
            "y/one.bin": { size: 3000, seed: 5 }
        })
    }

    function test_newScanFromSettingsShowsTheScanScreenWithItsChooserOpen() {
        const root = showRoot()
        root.selection = RootNavigation.Settings
        tryVerify(() => root.detailItem !== null && root.detailItem.title === "Settings")

        click(findChild(root, "newScanRow"))
        compare(root.selection, RootNavigation.Twinsift)
        const view = scanScreenOf(root)
        verify(view.controller.isImporterPresented)
        tryCompare(view.chooser, "visible", true)
        // The request was served and cleared.
        verify(!root.newScanRequested)
        view.chooser.reject()
        verify(!view.controller.isImporterPresented)
    }

    function test_pendingRequestsAreServedWhenTheScanScreenIsShownPathFirst() {
        const root = showRoot()
        const folder = tree()
        root.selection = RootNavigation.Settings
        root.newScanRequested = true
        root.recentScanPathRequest = folder
        root.selection = RootNavigation.Twinsift
        const view = scanScreenOf(root)
        tryCompare(view, "hasResult", true, 10000)
        compare(view.controller.selectedFolder, folder)
        verify(!view.controller.isImporterPresented)
        verify(!root.newScanRequested)
        compare(root.recentScanPathRequest, "")
    }

    function test_recentRequestForAMissingFolderShowsTheMessageAndNoFolder() {
        const root = showRoot()
        const view = root.detailItem
        view.controller.folderChosen(tree())
        const gone = tree()
        Fixture.removeTree(gone)

        root.navigation.requestRescan(gone)
        tryCompare(view.scanModel, "errorMessage",
                   "This recent-scan folder is no longer available. Choose the folder again to scan it.")
        verify(!view.controller.hasFolder)
        verify(!view.scanModel.isScanning)
        verify(!view.hasResult)
        verify(findChild(view, "selectFolderButton").visible)
        verify(findChild(view, "errorMessage").visible)
        compare(root.recentScanPathRequest, "")
    }

    function test_leavingTheScanScreenMidScanStopsThatScan() {
        const root = showRoot()
        const folder = tree()
        const before = RecentScanStore.records.length
        root.detailItem.controller.folderChosen(folder)
        Fixture.holdScansOf(folder)
        root.detailItem.controller.startScan()
        tryVerify(() => Fixture.scanIsHeld(), 10000)

        root.selection = RootNavigation.RecentScans
        tryVerify(() => root.detailItem !== null && root.detailItem.controller === undefined)
        Fixture.releaseScans()
        tryVerify(() => Fixture.heldScanSawStop(), 10000)

        // Back on the scan screen: a fresh one, ready, with nothing recorded.
        root.selection = RootNavigation.Twinsift
        const view = scanScreenOf(root)
        verify(!view.controller.hasFolder)
        verify(!view.scanModel.isScanning)
        wait(100)
        compare(RecentScanStore.records.length, before)
    }

    function test_theGuideLiesOverTheScreenAndReturnsToItUnchanged() {
        const root = showRoot()
        const view = root.detailItem
        view.controller.folderChosen(tree())
        view.controller.startScan()
        tryCompare(view, "hasResult", true, 10000)
        const review = view.results.review
        tryVerify(() => review.rows.rowCount() === 2
                  && review.rows.data(review.rows.index(0, 0), ReviewRowsModel.CleanupStateRole) === ReviewRowsModel.Keep, 10000)
        review.toggleRow(0)
        review.searchText = "one"
        compare(review.selectedCount, 1)
        const results = view.results

        // Posted for every window, as the Help menu does.
        AppEvents.postShowHowToUse()
        compare(root.selection, RootNavigation.HowToUse)
        verify(root.guideItem !== null)
        verify(root.detailItem === view)
        verify(!view.enabled)
        // The screen's shortcuts sleep under the guide.
        keyClick(Qt.Key_F5)
        verify(!view.scanModel.isScanning)

        keyClick(Qt.Key_Escape)
        compare(root.selection, RootNavigation.Twinsift)
        verify(root.guideItem === null)
        verify(root.detailItem === view)
        verify(view.enabled)
        // The same results screen, with its search and marks.
        compare(view.results, results)
        compare(review.selectedCount, 1)
        compare(review.searchText, "one")

        // From Settings the guide returns to Settings, by its Back button.
        root.selection = RootNavigation.Settings
        root.selection = RootNavigation.HowToUse
        compare(root.helpReturnSelection, RootNavigation.Settings)
        compare(root.detailItem.title, "Settings")
        click(findChild(root.guideItem, "backButton"))
        compare(root.selection, RootNavigation.Settings)
    }
}
