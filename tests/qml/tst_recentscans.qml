import QtQuick
import QtQuick.Controls
import QtTest
import Twinsift
import TwinsiftTest

// Runs under a German locale (see CMakeLists.txt), so figures that must keep
// a point as decimal separator are checked where a comma would creep in, and
// the screen's words are the German translation's.
TestCase {
    id: testCase
    name: "RecentScans"
    when: windowShown
    visible: true
    width: 1100
    height: 800

    Component {
        id: viewComponent
        RecentScansView {
            anchors.fill: parent
            navy: Theme.navy
            teal: Theme.teal
        }
    }

    SignalSpy {
        id: rescanSpy
        signalName: "rescan"
    }

    function init() {
        HistoryFixture.mendStorage()
        HistoryFixture.reset()
    }

    function makeView() {
        const view = createTemporaryObject(viewComponent, testCase)
        verify(view)
        return view
    }

    function cardAt(view, row) {
        const list = findChild(view, "cards")
        list.forceLayout()
        list.positionViewAtIndex(row, ListView.Beginning)
        return list.itemAtIndex(row)
    }

    function textOf(item, name) {
        return findChild(item, name).text
    }

    function tileValues(card) {
        const values = []
        for (let i = 0; i < 5; ++i) {
            const tile = findChild(card, "tile" + i)
            values.push(findChild(tile, "tileValue").text + " " + findChild(tile, "tileTitle").text)
        }
        return values
    }

    function test_emptyThenCountLineAndCardFigures() {
        const view = makeView()
        verify(findChild(view, "emptyState").visible)
        verify(!findChild(view, "clearHistoryButton").visible)
        verify(!findChild(view, "cards").visible)

        const folder = Fixture.makeTree({})
        HistoryFixture.add(folder, { files: 1234567, groups: 2, duplicates: 5, savings: 0, ignored: 9, seconds: 3 })
        tryCompare(findChild(view, "countLine"), "text", "1 gespeicherte Suche")
        verify(findChild(view, "clearHistoryButton").visible)
        verify(!findChild(view, "emptyState").visible)

        verify(Qt.locale().name.startsWith("de"), "the test runs under a German locale")
        const card = cardAt(view, 0)
        compare(tileValues(card), ["1234567 Dateien", "2 Gruppen", "5 Duplikate",
                                   "Null KB Mögliche Ersparnis", "9 Unter 1 KB ignoriert"])
        compare(textOf(card, "duration"), "3.00 s")
        compare(textOf(card, "folderPath"), Fixture.pathOf(folder))

        HistoryFixture.add(Fixture.makeTree({}))
        tryCompare(findChild(view, "countLine"), "text", "2 gespeicherte Suchen")
    }

    function test_storageMessageShowsInBothStates() {
        const message = "„Letzte Suchen“ konnte nicht gespeichert werden. Die aktuellen Ergebnisse sind davon nicht betroffen."
        const view = makeView()
        HistoryFixture.breakStorage()
        HistoryFixture.reset()
        const underButton = findChild(view, "emptyStorageMessage")
        tryVerify(() => underButton.visible)
        compare(underButton.text, message)

        HistoryFixture.add(Fixture.makeTree({}))
        tryVerify(() => findChild(view, "cards").visible)
        const list = findChild(view, "cards")
        tryVerify(() => list.headerItem !== null)
        const warning = findChild(list.headerItem, "storageWarning")
        verify(warning.visible)
        compare(findChild(warning, "storageWarningText").text, message)

        HistoryFixture.mendStorage()
        HistoryFixture.add(Fixture.makeTree({}))
        tryVerify(() => !warning.visible)
    }

    function test_clearingAsksFirstAndCancelLeavesEverything() {
        const view = makeView()
        HistoryFixture.add(Fixture.makeTree({}))
        HistoryFixture.add(Fixture.makeTree({}))
        tryCompare(view.history, "count", 2)
        const before = HistoryFixture.fileText()

        mouseClick(findChild(view, "clearHistoryButton"))
        const alert = view.clearAlert
        tryCompare(alert, "opened", true)
        compare(alert.title, "Letzte Suchen leeren?")
        mouseClick(findChild(alert, "cancelClearButton"))
        tryCompare(alert, "visible", false)
        compare(view.confirmClear, false)
        compare(view.history.count, 2)
        compare(HistoryFixture.fileText(), before)

        // A click beside the alert is no answer: it stays open.
        mouseClick(findChild(view, "clearHistoryButton"))
        tryCompare(alert, "opened", true)
        mouseClick(view, 5, view.height - 5)
        wait(50)
        verify(alert.opened)
        compare(view.history.count, 2)
        mouseClick(findChild(alert, "confirmClearButton"))
        tryCompare(alert, "visible", false)
        compare(view.history.count, 0)
        compare(view.confirmClear, false)
        verify(findChild(view, "emptyState").visible)
        compare(HistoryFixture.fileText().replace(/\s/g, ""), "[]")
    }

    function test_availabilityFollowsTheFolderWithoutARestart() {
        const view = makeView()
        const folder = Fixture.makeTree({})
        HistoryFixture.add(folder)
        tryVerify(() => cardAt(view, 0) !== null)
        const card = cardAt(view, 0)
        tryCompare(findChild(card, "availabilityText"), "text", "Verfügbar")
        verify(findChild(card, "rescanButton").enabled)
        verify(findChild(card, "revealButton").enabled)

        // Deleted while the app runs; the screen shown again asks the disk.
        Fixture.removeTree(folder)
        view.visible = false
        view.visible = true
        tryCompare(findChild(card, "availabilityText"), "text", "Ordner nicht verfügbar")
        verify(!findChild(card, "rescanButton").enabled)
        verify(!findChild(card, "revealButton").enabled)
        rescanSpy.target = card
        mouseClick(findChild(card, "rescanButton"))
        compare(rescanSpy.count, 0)

        verify(HistoryFixture.makeFolder(folder))
        view.visible = false
        view.visible = true
        tryCompare(findChild(card, "availabilityText"), "text", "Verfügbar")
        verify(findChild(card, "rescanButton").enabled)

        // While the screen stays in front, untouched, it follows the disk
        // on its own within a few seconds.
        Fixture.removeTree(folder)
        tryCompare(findChild(card, "availabilityText"), "text", "Ordner nicht verfügbar", 3 * view.recheckInterval)
        verify(HistoryFixture.makeFolder(folder))
        tryCompare(findChild(card, "availabilityText"), "text", "Verfügbar", 3 * view.recheckInterval)
    }

    // A screen shown again draws each card's badge from the first frame,
    // with the last answer, while it asks the disk afresh.
    function test_aScreenShownAgainStartsWithTheLastAnswers() {
        const folder = Fixture.makeTree({})
        HistoryFixture.add(folder)
        const first = makeView()
        tryVerify(() => cardAt(first, 0) !== null)
        tryCompare(findChild(cardAt(first, 0), "availabilityText"), "text", "Verfügbar")
        first.destroy()

        const again = createTemporaryObject(viewComponent, testCase)
        const rows = again.history
        // No event has been handled since it was made: no probe can have
        // answered yet.
        verify(rows.data(rows.index(0, 0), RecentScansModel.AvailabilityKnownRole))
        verify(rows.data(rows.index(0, 0), RecentScansModel.AvailableRole))
    }
}
