import QtQuick
import Twinsift
import TwinsiftTest

// The scan screen before a folder is chosen, its own folder chooser, with a
// folder, and while scanning.
Main {
    id: window

    readonly property var scanScreen: rootView.detailItem
    property url folder

    Component.onCompleted: {
        folder = Fixture.makeTree({
            "Photos/Summer/IMG_0412.jpg": { size: 420000, seed: 1 },
            "Backup/Photos/IMG_0412.jpg": { size: 420000, seed: 1 },
            "Documents/Quarterly report.pdf": { size: 96000, seed: 2 },
            "Downloads/Quarterly report (1).pdf": { size: 96000, seed: 2 },
            "Music/track01.flac": { size: 640000, seed: 3 },
            "notes.txt": { size: 300, seed: 4 }
        })
        Fixture.when(() => scanScreen !== null, noFolder)
    }

    function noFolder() {
        Fixture.shot(window, "landing-no-folder")
        scanScreen.controller.folderChosen(folder)
        Fixture.when(() => scanScreen.controller.hasFolder, chooser)
    }

    // Opens where the last choice was, with one of its folders selected.
    function chooser() {
        scanScreen.controller.changeFolder()
        const dialog = scanScreen.chooser
        Fixture.when(() => dialog.opened && !dialog.browser.loading && dialog.browser.rowCount() > 0,
                     () => {
            findChild(dialog.contentItem, "subfolderList").currentIndex = 2
            Fixture.shot(window, "folder-chooser")
            dialog.reject()
            scanScreen.controller.folderChosen(folder)
            Fixture.when(() => !dialog.visible && scanScreen.controller.hasFolder, withFolder)
        })
    }

    function findChild(item, name) {
        if (item.objectName === name)
            return item
        for (let i = 0; i < item.children.length; ++i) {
            const found = findChild(item.children[i], name)
            if (found)
                return found
        }
        return null
    }

    function withFolder() {
        Fixture.shot(window, "landing-folder")
        Fixture.holdScansOf(folder, true)
        scanScreen.controller.startScan()
        Fixture.when(() => Fixture.scanIsHeld() && scanScreen.scanModel.scanProgressFraction !== undefined, scanning)
    }

    function scanning() {
        Fixture.shot(window, "landing-scanning")
        scanScreen.scanModel.errorMessage = qsTr("The scan stopped because of an internal error.")
        Fixture.when(() => true, scanningWithError)
    }

    function scanningWithError() {
        Fixture.shot(window, "landing-scanning-error")
        Fixture.releaseScans()
        Fixture.when(() => !scanScreen.scanModel.isScanning, shortWindow)
    }

    // The smallest window: the page runs past the bottom and says so.
    function shortWindow() {
        scanScreen.controller.folderChosen(folder)
        window.width = window.minimumWidth
        window.height = window.minimumHeight
        Fixture.when(() => window.contentItem.height === 720 && !scanScreen.hasResult, () => {
            Fixture.shot(window, "landing-smallest-window")
            Fixture.finish()
        })
    }
}
