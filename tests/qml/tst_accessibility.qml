import QtQuick
import QtQuick.Controls
import QtTest
import Twinsift
import TwinsiftTest

// The screens as a screen reader or an automation tool uses them: every step
// goes through the accessibility interfaces (or, in one test, the keyboard
// alone), never the pointer, and each checks the effect on the app.
ScreenTest {
    id: test
    name: "Accessibility"

    // The test's own win(), once it is shown.
    function win() {
        return test.Window.window
    }

    function init() {
        HistoryFixture.mendStorage()
        HistoryFixture.reset()
    }

    function copies(names) {
        const layout = {}
        for (const name of names)
            layout[name] = { size: 6000, seed: 7 }
        return layout
    }

    function press(name) {
        const ok = AccessTree.press(win(), name)
        verify(ok, "pressed " + name)
    }

    function noProblems() {
        compare(AccessTree.problems(win()), [])
    }

    function test_aRememberedFolderIsChosenAndRescannedThroughTheBus() {
        const folder = Fixture.makeTree(copies(["a.bin", "b.bin"]))
        HistoryFixture.add(folder)
        const root = showRoot()

        press("Recent Scans")
        tryCompare(root, "selection", RootNavigation.RecentScans)
        tryVerify(() => root.detailItem.history !== undefined && root.detailItem.history.count === 1)
        noProblems()

        // The card's rescan waits for the disk to say the folder is there.
        const cards = findChild(root.detailItem, "cards")
        tryVerify(() => cards.itemAtIndex(0) !== null && findChild(cards.itemAtIndex(0), "rescanButton").enabled)
        press("Rescan")
        tryCompare(root, "selection", RootNavigation.Twinsift)
        const scan = root.detailItem
        tryVerify(() => scan.hasResult, 20000)
        compare(Fixture.pathOf(scan.controller.selectedFolder), Fixture.pathOf(folder))
        compare(scan.scanModel.result.groupCount, 1)
        noProblems()

        // Rescan on the results screen scans the same folder again.
        tryCompare(RecentScanStore.records, "length", 2)
        press("Rescan")
        tryCompare(RecentScanStore.records, "length", 3, 20000)
        compare(Fixture.pathOf(scan.controller.selectedFolder), Fixture.pathOf(folder))
    }

    function test_aCopyIsMarkedReviewedAndMovedToTheTrashThroughTheBus() {
        const host = showResults(copies(["a.bin", "b.bin"]))
        const review = host.view.review

        verify(AccessTree.toggle(win(), "Trash a.bin"))
        compare(review.selectedCount, 1)
        tryVerify(() => AccessTree.isChecked(win(), "Trash a.bin"))
        verify(!AccessTree.isChecked(win(), "Trash b.bin"))
        noProblems()

        // The review sheet is the only thing a reader reaches, and it starts
        // on the choice that moves nothing.
        press("Review Cleanup")
        tryCompare(review, "showCleanupReview", true)
        tryVerify(() => AccessTree.focusedName(win()) === "Cancel")
        noProblems()
        verify(!AccessTree.press(win(), "Rescan"), "the header's Rescan is out of reach")
        compare(AccessTree.controls(win()).sort(), ["Cancel", "Files selected", "Move to Trash"])

        press("Cancel")
        tryCompare(review, "showCleanupReview", false)
        verify(!review.cleanup.isRunning)
        compare(review.selectedCount, 1)
        verify(Fixture.exists(Fixture.urlOf(host.folder, "a.bin")))

        press("Review Cleanup")
        tryCompare(review, "showCleanupReview", true)
        press("Move to Trash")
        tryVerify(() => review.cleanup.hasReport, 10000)
        verify(Fixture.trashedOrigins().includes(Fixture.pathOf(Fixture.urlOf(host.folder, "a.bin"))))
        verify(!Fixture.exists(Fixture.urlOf(host.folder, "a.bin")))
        verify(Fixture.exists(Fixture.urlOf(host.folder, "b.bin")))
        tryVerify(() => AccessTree.focusedName(win()) === "Close")
        noProblems()

        // Closing the result sheet scans the folder again: one file is left.
        press("Close")
        tryVerify(() => !review.cleanup.hasReport)
        tryVerify(() => !host.scanner.isScanning && host.scanner.result.hasValue
                  && host.scanner.result.groupCount === 0, 10000)
        noProblems()
    }

    function test_theSameCleanupWithTheKeyboardAlone() {
        const host = showResults(copies(["a.bin", "b.bin"]))
        const review = host.view.review
        const grid = findChild(host.view, "resultGrid")
        win().requestActivate()
        tryVerify(() => win().active)

        // Tab reaches the table; Down picks the first file and Space marks it.
        function tabTo(check) {
            for (let i = 0; i < 40 && !check(); ++i)
                keyClick(Qt.Key_Tab)
            verify(check(), "reached by Tab")
        }
        tabTo(() => win().activeFocusItem === grid)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Space)
        compare(review.selectedCount, 1)

        tabTo(() => AccessTree.focusedName(win()) === "Review Cleanup")
        keyClick(Qt.Key_Return)
        tryCompare(review, "showCleanupReview", true)
        tryVerify(() => AccessTree.focusedName(win()) === "Cancel")
        keyClick(Qt.Key_Tab)
        compare(AccessTree.focusedName(win()), "Move to Trash")
        const trashedBefore = Fixture.trashedOrigins().length
        keyClick(Qt.Key_Space)
        tryVerify(() => review.cleanup.hasReport, 10000)
        compare(Fixture.trashedOrigins().length, trashedBefore + 1)
        tryVerify(() => AccessTree.focusedName(win()) === "Close")
        keyClick(Qt.Key_Return)
        tryVerify(() => !review.cleanup.hasReport)
    }

    function test_sidebarRowsTakeTheFocusAndChooseWithTheKeyboard() {
        const root = showRoot()
        win().requestActivate()
        tryVerify(() => win().active)
        compare(AccessTree.roleOf(win(), "Recent Scans"), "button")
        verify(!AccessTree.isChecked(win(), "Recent Scans"))
        verify(AccessTree.isChecked(win(), "Twinsift"))

        for (let i = 0; i < 30 && AccessTree.focusedName(win()) !== "Twinsift"; ++i)
            keyClick(Qt.Key_Tab)
        compare(AccessTree.focusedName(win()), "Twinsift")
        keyClick(Qt.Key_Down)
        compare(AccessTree.focusedName(win()), "New Scan")
        keyClick(Qt.Key_Down)
        compare(AccessTree.focusedName(win()), "Recent Scans")
        keyClick(Qt.Key_Space)
        tryCompare(root, "selection", RootNavigation.RecentScans)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Return)
        tryCompare(root, "selection", RootNavigation.Settings)
        keyClick(Qt.Key_Up)
        keyClick(Qt.Key_Up)
        keyClick(Qt.Key_Up)
        keyClick(Qt.Key_Up)
        // The top row keeps the focus: Up does not leave the sidebar.
        compare(AccessTree.focusedName(win()), "Twinsift")
        verify(AccessTree.toggle(win(), "Twinsift"))
        tryCompare(root, "selection", RootNavigation.Twinsift)
    }

    function test_everyScreenNamesItsControlsAndOffersTheirActions() {
        HistoryFixture.add(Fixture.makeTree(copies(["a.bin", "b.bin"])))
        const root = showRoot()
        noProblems()
        root.selection = RootNavigation.RecentScans
        tryVerify(() => root.detailItem.history !== undefined && root.detailItem.history.count === 1)
        noProblems()
        root.selection = RootNavigation.HowToUse
        tryVerify(() => root.guideItem !== null)
        noProblems()
    }

    function test_theResultsScreenNamesItsControlsInEveryView() {
        const host = showResults(copies(["c.bin", "d.bin", "e.bin"]))
        noProblems()
        host.view.review.showFolderPaths = true
        noProblems()
        host.view.review.showDuplicateFiles()
        noProblems()
    }

    function test_aFinishedScanAndAFinishedCleanupAreAnnounced() {
        AccessTree.listen()
        const host = showResults(copies(["a.bin", "b.bin"]))
        const review = host.view.review
        tryVerify(() => AccessTree.announcements().some(
                      said => said.startsWith("Scan finished: Exact Duplicates (1), 1 groups, ")))

        verify(AccessTree.toggle(win(), "Trash a.bin"))
        review.showCleanupReview = true
        press("Move to Trash")
        tryVerify(() => review.cleanup.hasReport, 10000)
        const said = AccessTree.announcements()
        const report = said[said.length - 1]
        verify(report.startsWith(review.cleanup.reportTitle + ". "), report)
        verify(report.includes(review.cleanup.reportSummary), report)
        // The scan's words come once, not for every report on the way.
        compare(said.filter(s => s.startsWith("Scan finished")).length, 1)
    }

    Component {
        id: mainComponent
        Main {}
    }

    function test_menusOpenAndActThroughTheBusAndShowTheirShortcuts() {
        const main = createTemporaryObject(mainComponent, null)
        tryVerify(() => main.active || main.visible)
        compare(AccessTree.roleOf(main, "Help"), "menu item")
        verify(AccessTree.press(main, "Help"))
        // The open menu's entries are reachable, with their shortcuts.
        tryVerify(() => AccessTree.controls(main).includes("Ambrivo Twinsift Help"))
        const table = AccessTree.table(main).join("\n")
        verify(table.includes("menu item | Ambrivo Twinsift Help [Ctrl+?] | Press"), table)
        verify(AccessTree.press(main, "Ambrivo Twinsift Help"))
        tryCompare(main.rootView, "selection", RootNavigation.HowToUse)
        compare(AccessTree.problems(main), [])

        // Alt and the underlined letter open a menu from the keyboard. An
        // entry that can do nothing now is read as dimmed and refuses a press.
        main.requestActivate()
        tryVerify(() => main.active)
        keyClick(Qt.Key_E, Qt.AltModifier)
        tryVerify(() => AccessTree.controls(main).includes("Undo"))
        verify(AccessTree.isDisabled(main, "Undo"))
        verify(AccessTree.table(main).includes("menu item | Undo (dimmed) | Press"),
               AccessTree.table(main).join("\n"))
        keyClick(Qt.Key_Escape)
        tryVerify(() => !AccessTree.controls(main).includes("Undo"))

        verify(AccessTree.pressAs(main, "menu item", "Twinsift"))
        tryVerify(() => AccessTree.controls(main).includes("Close Window"))
        const entries = AccessTree.table(main).join("\n")
        verify(entries.includes("menu item | Close Window [Ctrl+W] | Press"), entries)
        verify(AccessTree.press(main, "Close Window"))
        tryVerify(() => !main.visible)
    }

    function test_aRunningScanIsSaidEveryFewSecondsNotPerFile() {
        const view = showRoot().detailItem
        const folder = Fixture.makeTree(copies(["a.bin", "b.bin"]))
        view.controller.folderChosen(folder)
        AccessTree.listen()
        Fixture.holdScansOf(folder)
        press("Scan for Duplicates")
        tryVerify(() => Fixture.scanIsHeld(), 10000)
        const progress = view.scanModel.scanProgressText
        verify(progress !== "")
        const said = () => AccessTree.announcements().filter(text => text === progress).length
        wait(1000)
        compare(said(), 0)
        tryVerify(() => said() === 1, 6000)
        Fixture.releaseScans()
        tryCompare(view.scanModel, "isScanning", false, 10000)
    }

    // Tab visits the controls in the order a reader reads them: each stop
    // comes later in the tree than the one before, until the tour wraps.
    function test_tabFollowsTheReadingOrderOfTheResultsScreen() {
        showResults(copies(["a.bin", "b.bin"]))
        win().requestActivate()
        tryVerify(() => win().active)
        const order = AccessTree.controls(win())
        const stops = []
        for (let i = 0; i < 20; ++i) {
            keyClick(Qt.Key_Tab)
            const name = AccessTree.focusedName(win())
            if (name !== "")
                stops.push(order.indexOf(name))
        }
        verify(stops.length >= 10, stops)
        let wraps = 0
        for (let i = 1; i < stops.length; ++i)
            if (stops[i] <= stops[i - 1])
                ++wraps
        verify(wraps <= 1, "tab stops " + stops + " over " + order)
    }

    function test_theMenuKeyOpensTheFocusedRowsActions() {
        const host = showResults(copies(["a.bin", "b.bin"]))
        const grid = findChild(host.view, "resultGrid")
        win().requestActivate()
        tryVerify(() => win().active)
        grid.forceActiveFocus()
        keyClick(Qt.Key_Down)
        compare(grid.currentIndex, 0)
        verify(!AccessTree.controls(win()).includes("Open File"))
        keyClick(Qt.Key_F10, Qt.ShiftModifier)
        tryVerify(() => AccessTree.controls(win()).includes("Open File"))
        keyClick(Qt.Key_Escape)
        tryVerify(() => !AccessTree.controls(win()).includes("Open File"))
        keyClick(Qt.Key_Menu)
        tryVerify(() => AccessTree.controls(win()).includes("Open File"))
        keyClick(Qt.Key_Escape)
    }
}
