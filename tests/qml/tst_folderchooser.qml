import QtQuick
import QtQuick.Controls
import QtTest
import Twinsift
import TwinsiftTest

// The built-in folder chooser, as a user without the desktop's own meets it
// on the scan screen: browsing into a folder that holds only files and
// choosing it, choosing a typed path, and what Open takes in between.
ScreenTest {
    name: "FolderChooser"

    function tree() {
        return Fixture.makeTree({
            "photos/2024/a.jpg": { size: 100, seed: 1 },
            "photos/2025/b.jpg": { size: 100, seed: 2 },
            "photos/notes.txt": { size: 10, seed: 3 },
            "photos/.cache/c.bin": { size: 10, seed: 4 }
        })
    }

    function openChooser() {
        const view = showRoot().detailItem
        keyClick(Qt.Key_O, Qt.ControlModifier)
        tryCompare(view.chooser, "opened", true)
        tryCompare(view.chooser.browser, "loading", false)
        return view
    }

    function typePath(path) {
        keyClick(Qt.Key_L, Qt.ControlModifier)
        const field = findChild(Overlay.overlay, "folderPathField")
        verify(field.activeFocus)
        field.text = ""
        for (const c of path)
            keyClick(c)
        compare(field.text, path)
    }

    function names(browser) {
        const result = []
        for (let i = 0; i < browser.rowCount(); ++i)
            result.push(browser.data(browser.index(i, 0), FolderBrowser.NameRole))
        return result
    }

    function test_browsingIntoAFolderOfFilesAndChoosingIt() {
        const root = tree()
        const view = openChooser()
        const browser = view.chooser.browser

        // Return on a typed path shows it; files and hidden folders are not
        // listed, and nothing is selected yet.
        typePath(Fixture.pathOf(Fixture.urlOf(root, "photos")))
        keyClick(Qt.Key_Return)
        tryCompare(browser, "folder", Fixture.urlOf(root, "photos"))
        compare(names(browser), ["2024", "2025"])
        const list = findChild(Overlay.overlay, "subfolderList")
        compare(list.currentIndex, -1)

        // Down selects the first folder, Return goes into it.
        list.forceActiveFocus()
        keyClick(Qt.Key_Down)
        compare(list.currentIndex, 0)
        keyClick(Qt.Key_Return)
        tryCompare(browser, "folder", Fixture.urlOf(root, "photos/2024"))
        compare(browser.rowCount(), 0)

        // Open is offered in a folder without subfolders, and takes it.
        const open = findChild(Overlay.overlay, "openFolderButton")
        verify(open.enabled)
        click(open)
        tryCompare(view.chooser, "opened", false)
        compare(view.controller.selectedFolder, Fixture.urlOf(root, "photos/2024"))
        verify(!view.scanModel.isScanning)

        // The next time the chooser opens where the last choice was.
        keyClick(Qt.Key_O, Qt.ControlModifier)
        tryCompare(view.chooser, "opened", true)
        tryCompare(browser, "folder", Fixture.urlOf(root, "photos/2024"))
        view.chooser.close()
    }

    function test_openTakesTheShownFolderUnlessASubfolderIsSelected() {
        const root = tree()
        const view = openChooser()
        const browser = view.chooser.browser
        browser.show(Fixture.urlOf(root, "photos"))
        tryCompare(browser, "folder", Fixture.urlOf(root, "photos"))
        tryCompare(browser, "loading", false)

        // Nothing selected: the folder shown, never its first subfolder.
        click(findChild(Overlay.overlay, "openFolderButton"))
        tryCompare(view.controller, "selectedFolder", Fixture.urlOf(root, "photos"))

        keyClick(Qt.Key_O, Qt.ControlModifier)
        tryCompare(view.chooser, "opened", true)
        tryCompare(browser, "folder", Fixture.urlOf(root, "photos"))
        tryCompare(browser, "loading", false)
        const list = findChild(Overlay.overlay, "subfolderList")
        list.currentIndex = 1
        click(findChild(Overlay.overlay, "openFolderButton"))
        tryCompare(view.controller, "selectedFolder", Fixture.urlOf(root, "photos/2025"))
    }

    function test_aTypedPathIsChosenAndANonFolderIsRefused() {
        const root = tree()
        const view = openChooser()
        const before = view.controller.selectedFolder

        // A file is no folder: the dialog says so and stays open.
        typePath(Fixture.pathOf(Fixture.urlOf(root, "photos/notes.txt")))
        click(findChild(Overlay.overlay, "openFolderButton"))
        const error = findChild(Overlay.overlay, "folderError")
        tryVerify(() => error.text.startsWith("There is no folder at"))
        verify(view.chooser.opened)
        compare(view.controller.selectedFolder, before)

        // A typed folder, even a hidden one that is not listed, is chosen
        // without browsing to it; "/." and ".." are tidied away.
        typePath(Fixture.pathOf(root) + "/photos/2025/../.cache/.")
        click(findChild(Overlay.overlay, "openFolderButton"))
        tryCompare(view.chooser, "opened", false)
        compare(view.controller.selectedFolder, Fixture.urlOf(root, "photos/.cache"))
    }

    function test_escapeChoosesNothing() {
        const view = openChooser()
        verify(view.controller.isImporterPresented)
        keyClick(Qt.Key_Escape)
        tryCompare(view.chooser, "opened", false)
        verify(!view.controller.isImporterPresented)
    }
}
