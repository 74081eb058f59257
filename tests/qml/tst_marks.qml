import QtQuick
import QtTest
import Twinsift
import TwinsiftTest

// The "Mark" menu over a real scan of files with real modification times,
// then a real cleanup into the process's own Trash.
ScreenTest {
    name: "MarkMenu"

    // Three sets whose oldest copies are never the first in path order, so
    // only the times read from the disk can pick them.
    readonly property var tree: ({
        "a/photo.jpg": { size: 7000, seed: 1, modified: 1500000000 },
        "b/photo.jpg": { size: 7000, seed: 1, modified: 1200000000 },
        "c/photo.jpg": { size: 7000, seed: 1, modified: 1600000000 },
        "song.mp3": { size: 9000, seed: 2, modified: 1100000000 },
        "old/song.mp3": { size: 9000, seed: 2, modified: 1700000000 },
        "x/report.pdf": { size: 5000, seed: 3, modified: 1000000002 },
        "y/report.pdf": { size: 5000, seed: 3, modified: 1000000001 },
        "z/report.pdf": { size: 5000, seed: 3, modified: 1000000000 },
        "single.txt": { size: 4000, seed: 4, modified: 900000000 }
    })
    readonly property var oldest: ["b/photo.jpg", "song.mp3", "z/report.pdf", "single.txt"]
    readonly property var others: ["a/photo.jpg", "c/photo.jpg", "old/song.mp3", "x/report.pdf",
                                   "y/report.pdf"]

    function chooseRule(host, objectName) {
        const button = findChild(host.view, "markMenuButton")
        verify(button.visible && button.enabled)
        mouseClick(button)
        const menu = findChild(host.view, "markMenu")
        tryCompare(menu, "opened", true)
        let item = null
        for (let i = 0; i < menu.count; ++i)
            if (menu.itemAt(i).objectName === objectName)
                item = menu.itemAt(i)
        verify(item, "menu entry " + objectName)
        mouseClick(item)
        tryCompare(menu, "visible", false)
    }

    function test_keepOldestThenCleanupLeavesTheOldestCopyOfEverySet() {
        const host = showResults(tree)
        const review = host.view.review
        const url = name => Fixture.urlOf(host.folder, name)

        chooseRule(host, "keepOldestItem")
        tryCompare(review.marks, "busy", false, 10000)
        compare(review.selectedCount, 5)
        const feedback = findChild(host.view, "markFeedback")
        tryCompare(feedback, "visible", true)
        compare(review.marks.feedback, "Marked 5 copies in 3 sets")

        // Ctrl+Z takes the rule back and the line with it; the rule again
        // brings both back.
        keyClick(Qt.Key_Z, Qt.ControlModifier)
        compare(review.selectedCount, 0)
        verify(!feedback.visible)
        chooseRule(host, "keepOldestItem")
        tryCompare(review, "selectedCount", 5, 10000)

        const trashedBefore = Fixture.trashedOrigins().length
        mouseClick(findChild(host.view, "reviewCleanupButton"))
        tryCompare(review, "showCleanupReview", true)
        mouseClick(findChild(host.view, "moveToTrashButton"))
        tryCompare(review.cleanup, "hasReport", true, 10000)
        compare(review.cleanup.reportTitle, "Cleanup Complete")

        for (const name of oldest)
            verify(Fixture.exists(url(name)), name + " is still on disk")
        const origins = Fixture.trashedOrigins()
        compare(origins.length, trashedBefore + others.length)
        for (const name of others) {
            verify(!Fixture.exists(url(name)), name + " left its folder")
            verify(origins.includes(Fixture.pathOf(url(name))), name + " is in the Trash")
        }
        // The cleared marks named files now in the Trash: nothing to undo.
        verify(!review.marks.canUndo)
    }

    // Which copies a folder takes is the core's; here, the chooser opens on
    // the scanned folder and its answer reaches the rule.
    function test_markCopiesInFolderTakesTheChosenFolder() {
        const host = showResults({
            "old/a.bin": { size: 3000, seed: 6 }, "new/a.bin": { size: 3000, seed: 6 },
            "old/b.bin": { size: 3000, seed: 7 }, "new/b.bin": { size: 3000, seed: 7 }
        })
        chooseRule(host, "markInFolderItem")
        const chooser = findChild(host.view, "markFolderChooser")
        compare(Fixture.pathOf(chooser.currentFolder), Fixture.pathOf(host.folder))
        chooser.selectedFolder = Fixture.urlOf(host.folder, "old")
        chooser.accept()
        tryCompare(host.view.review, "selectedCount", 2)
        compare(host.view.review.marks.feedback, "Marked 2 copies in 2 sets")
    }

    function test_theMenuIsOfferedOnlyInTheGroupedExactView() {
        const host = showResults({ "p.bin": { size: 3000, seed: 5 }, "q.bin": { size: 3000, seed: 5 } })
        const button = findChild(host.view, "markMenuButton")
        verify(button.visible)
        host.view.review.selectCategory(DuplicateReviewModel.SameName)
        verify(!button.visible)
        host.view.review.selectCategory(DuplicateReviewModel.Exact)
        verify(button.visible)
    }
}
