pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtTest
import Twinsift

// The small shared pieces the screens are built from: the hover tip, the
// action and filled buttons and the sheet that follows a state.
TestCase {
    id: testCase
    name: "SharedPieces"
    when: windowShown
    visible: true
    width: 400
    height: 300

    Component {
        id: tippedComponent
        Rectangle {
            property alias tip: hoverTip
            x: 20
            y: 20
            width: 120
            height: 40
            HoverTip {
                id: hoverTip
                text: "Shown after a pause"
                delay: 50
            }
        }
    }

    Component {
        id: actionComponent
        ActionButton {}
    }

    Component {
        id: filledComponent
        FilledButton {}
    }

    Component {
        id: sheetComponent
        ModalSheet {
            width: 200
            height: 100
            title: "Sheet"
        }
    }

    // Components bound to this file, as the screens' are.
    Component {
        id: redComponent
        Rectangle {
            objectName: "red"
            implicitWidth: 30
            implicitHeight: 20
            color: "red"
            // Reaches this file's ids, which only a bound component may.
            readonly property string testName: testCase.name
        }
    }
    Component {
        id: blueComponent
        Rectangle {
            objectName: "blue"
            implicitWidth: 50
            implicitHeight: 40
            color: "blue"
        }
    }
    Component {
        id: slotComponent
        ComponentSlot {}
    }

    function init() {
        mouseMove(testCase, testCase.width - 2, testCase.height - 2)
    }

    function test_hoverTipShowsItsTextOverItsItemAfterItsDelay() {
        const item = createTemporaryObject(tippedComponent, testCase)
        compare(item.ToolTip.delay, 50)
        compare(item.ToolTip.text, "Shown after a pause")
        verify(!item.ToolTip.visible)
        mouseMove(item, 10, 10)
        tryVerify(() => item.tip.hovered)
        tryVerify(() => item.ToolTip.toolTip.visible, 2000)
        compare(item.ToolTip.toolTip.text, "Shown after a pause")
        // A text that changes while shown is shown as it is now.
        item.tip.text = "Changed"
        compare(item.ToolTip.toolTip.text, "Changed")
        mouseMove(testCase, testCase.width - 2, testCase.height - 2)
        tryVerify(() => !item.ToolTip.visible)
    }

    function test_hoverTipWithoutTextNeverShows() {
        const item = createTemporaryObject(tippedComponent, testCase)
        item.tip.text = ""
        mouseMove(item, 10, 10)
        tryVerify(() => item.tip.hovered)
        wait(150)
        verify(!item.ToolTip.visible)
        // Given a text while the pointer rests there, it shows.
        item.tip.text = "Now there is a tip"
        tryVerify(() => item.ToolTip.visible, 2000)
    }

    function test_actionButtonTipNamesOrDescribesIt() {
        const symbolOnly = createTemporaryObject(actionComponent, testCase, { symbol: "house", tip: "Home" })
        compare(symbolOnly.Accessible.name, "Home")
        compare(symbolOnly.Accessible.description, "")
        compare(symbolOnly.ToolTip.text, "Home")
        const labelled = createTemporaryObject(actionComponent, testCase,
                                               { text: "Rescan", tip: "Scan the folder again." })
        compare(labelled.Accessible.name, "Rescan")
        compare(labelled.Accessible.description, "Scan the folder again.")
        mouseMove(labelled, labelled.width / 2, labelled.height / 2)
        tryVerify(() => labelled.ToolTip.visible, 3000)
    }

    function test_filledButtonKeepsItsNameWhileBusy() {
        const button = createTemporaryObject(filledComponent, testCase,
                                             { text: "Move", symbol: "trash", accessibleName: "Move" })
        button.spinnerName = "busy"
        const busySpinner = findChild(button, "busy")
        verify(busySpinner !== null)
        verify(!busySpinner.visible)
        button.busy = true
        button.text = "Moving…"
        verify(busySpinner.visible && busySpinner.running)
        compare(button.Accessible.name, "Move")
        // Still pressed from the keyboard and the bus like any button.
        let clicks = 0
        button.clicked.connect(() => ++clicks)
        button.forceActiveFocus()
        keyClick(Qt.Key_Return)
        compare(clicks, 1)
    }

    function test_sheetFollowsItsShownState() {
        const sheet = createTemporaryObject(sheetComponent, testCase)
        verify(!sheet.opened)
        sheet.shown = true
        tryVerify(() => sheet.opened)
        verify(sheet.frame !== null)
        compare(sheet.frame.Accessible.role, Accessible.Dialog)
        compare(sheet.frame.Accessible.name, "Sheet")
        sheet.shown = false
        tryVerify(() => !sheet.visible)
        // A sheet whose state already holds when it is made opens at once.
        const early = createTemporaryObject(sheetComponent, testCase, { shown: true })
        tryVerify(() => early.opened)
    }

    function test_componentSlotMakesABoundComponentsItemAndSizesItAsALoaderDoes() {
        const slot = createTemporaryObject(slotComponent, testCase, { component: redComponent })
        verify(slot.item !== null)
        compare(slot.item.objectName, "red")
        compare(slot.item.testName, "SharedPieces")
        // Without a size of its own the slot takes the item's.
        compare(slot.width, 30)
        compare(slot.height, 20)
        // With one, the item takes the slot's.
        slot.width = 200
        slot.height = 100
        compare(slot.item.width, 200)
        compare(slot.item.height, 100)
        // A new component discards the old item for a new one.
        const red = slot.item
        slot.component = blueComponent
        tryVerify(() => slot.item !== null && slot.item.objectName === "blue")
        verify(slot.item !== red)
        compare(slot.item.width, 200)
        slot.active = false
        tryVerify(() => slot.item === null)
        slot.active = true
        tryVerify(() => slot.item !== null && slot.item.objectName === "blue")
    }
}
