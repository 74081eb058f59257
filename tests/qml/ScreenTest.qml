import QtQuick
import QtTest
import Twinsift
import TwinsiftTest

// What the screen tests share: a stage the size of the app's window, the
// root view or the results screen over a real scan, and clicks that wait for
// the layout. Scans a test held are let go after it.
TestCase {
    id: stage
    when: windowShown
    visible: true
    width: 1240
    height: 820

    function cleanup() {
        Fixture.releaseScans()
        Fixture.releaseCleanups()
    }

    Component {
        id: rootComponent
        RootView {
            anchors.fill: parent
        }
    }

    Component {
        id: resultsComponent
        Item {
            id: host
            property url folder
            property alias scanner: scanner
            property alias view: view
            anchors.fill: parent
            DuplicateScanViewModel { id: scanner }
            DuplicateResultsView {
                id: view
                anchors.fill: parent
                result: scanner.result
                isScanning: scanner.isScanning
                progressText: scanner.scanProgressText
                progressFraction: scanner.scanProgressFraction
                onRescanRequested: scanner.scan(host.folder)
                onStopScanRequested: scanner.cancelScan()
            }
        }
    }

    // The root view, once its scan screen (or the screen shown) is ready.
    function showRoot() {
        const root = createTemporaryObject(rootComponent, stage)
        scanScreenOf(root)
        return root
    }

    function scanScreenOf(root) {
        tryVerify(() => root.detailItem !== null && root.detailItem.controller !== undefined)
        return root.detailItem
    }

    // The results screen over a scan of a fresh tree, once its rows take marks.
    function showResults(layout) {
        const folder = Fixture.makeTree(layout)
        const host = createTemporaryObject(resultsComponent, stage, { folder: folder })
        host.scanner.scan(folder)
        tryCompare(host.scanner, "isScanning", false, 10000)
        const rows = host.view.review.rows
        tryVerify(() => rows.rowCount() > 0
                  && rows.data(rows.index(0, 0), ReviewRowsModel.CleanupStateRole) === ReviewRowsModel.Keep, 10000)
        return host
    }

    // Clicks item once the layout has stopped moving it.
    function click(item) {
        let last = ""
        tryVerify(() => {
            const p = item.mapToItem(null, 0, 0)
            const now = [p.x, p.y, item.width, item.height, item.visible].join()
            const settled = now === last
            last = now
            return settled && item.visible
        }, 5000, "settled " + item)
        mouseClick(item)
    }

    // Rows of the image with ink in them, top to bottom: what differs from
    // the background.
    function inkHeight(image) {
        // The corner is the background, whatever colour the grab gave it.
        const back = image.pixel(0, 0)
        let top = -1, bottom = -1
        for (let y = 0; y < image.height; ++y) {
            for (let x = 0; x < image.width; ++x) {
                const p = image.pixel(x, y)
                if (Math.abs(p.r - back.r) + Math.abs(p.g - back.g) + Math.abs(p.b - back.b) + Math.abs(p.a - back.a) > 0.3) {
                    if (top < 0)
                        top = y
                    bottom = y
                    break
                }
            }
        }
        return top < 0 ? 0 : bottom - top + 1
    }
}
