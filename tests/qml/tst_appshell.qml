import QtQuick
import QtQuick.Controls
import QtTest
import Twinsift
import TwinsiftTest

// The Recent Scans screen, the guide and the menus inside real windows.
ScreenTest {
    name: "AppShell"

    Component {
        id: mainComponent
        Main {}
    }

    function init() {
        HistoryFixture.mendStorage()
        HistoryFixture.reset()
    }

    function recentScansIn(root) {
        root.selection = RootNavigation.RecentScans
        tryVerify(() => root.detailItem !== null && root.detailItem.history !== undefined)
        return root.detailItem
    }

    function firstCard(recent) {
        const list = findChild(recent, "cards")
        tryVerify(() => list.itemAtIndex(0) !== null)
        return list.itemAtIndex(0)
    }

    function test_rescanFromACardScansThatFolder() {
        const folder = Fixture.makeTree({ "a.bin": { size: 4096, seed: 1 }, "b.bin": { size: 4096, seed: 1 } })
        // The newer of two entries, so the card hands over its own folder.
        HistoryFixture.add(Fixture.makeTree({}))
        HistoryFixture.add(folder)
        const root = showRoot()
        const rescan = findChild(firstCard(recentScansIn(root)), "rescanButton")
        tryVerify(() => rescan.enabled)
        mouseClick(rescan)

        compare(root.selection, RootNavigation.Twinsift)
        const scan = root.detailItem
        tryVerify(() => scan.hasResult, 20000)
        compare(Fixture.pathOf(scan.controller.selectedFolder), Fixture.pathOf(folder))
        compare(scan.scanModel.result.groupCount, 1)
        // The finished scan joins the history as a new entry.
        tryCompare(RecentScanStore.records, "length", 3)
    }

    function test_newScanFromTheEmptyHistoryOpensTheChooser() {
        const root = showRoot()
        const recent = recentScansIn(root)
        waitForRendering(recent)
        mouseClick(findChild(recent, "startNewScanButton"))
        compare(root.selection, RootNavigation.Twinsift)
        tryVerify(() => root.detailItem.controller.isImporterPresented)
        root.detailItem.controller.chooserDismissed()
    }

    function test_helpMenuShowsTheGuideInEveryWindow() {
        const first = createTemporaryObject(mainComponent, null)
        const second = createTemporaryObject(mainComponent, null)
        first.rootView.selection = RootNavigation.RecentScans
        verify(first.menuBar !== null, "the window has the menu bar")

        first.menuBar.helpAction.trigger()
        compare(first.rootView.selection, RootNavigation.HowToUse)
        compare(second.rootView.selection, RootNavigation.HowToUse)
        tryVerify(() => first.rootView.guideItem !== null && second.rootView.guideItem !== null)

        // A window opened later is its own copy and hears the next request too.
        const third = AppWindows.openNewWindow()
        verify(third !== null && third.rootView !== first.rootView)
        compare(third.rootView.selection, RootNavigation.Twinsift)
        first.menuBar.helpAction.trigger()
        compare(third.rootView.selection, RootNavigation.HowToUse)
        third.close()
        // Closing the guide in one window leaves the others on it.
        first.rootView.guideItem.close()
        compare(first.rootView.selection, RootNavigation.RecentScans)
        compare(second.rootView.selection, RootNavigation.HowToUse)
    }

    // The window's sizes are those of its content: the menu bar above it
    // does not eat into the 1240 × 820 it opens with, nor the 1080 × 720 it
    // can shrink to.
    function test_theContentAreaHasTheWindowSizes() {
        const window = createTemporaryObject(mainComponent, null)
        tryVerify(() => window.visible && window.menuBar.height > 0)
        tryCompare(window.contentItem, "width", 1240)
        tryCompare(window.contentItem, "height", 820)
        compare(window.rootView.height, 820)
        compare(window.minimumWidth, 1080)
        compare(window.minimumHeight - window.menuBar.height, 720)
    }
}
