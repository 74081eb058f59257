import QtQuick
import QtQuick.Controls
import Twinsift
import TwinsiftTest

// The results screen over a real scan: the exact view with marks, the other
// categories, the flat list, an empty search, the review sheet, both alerts,
// the result sheet after a real cleanup, and restoring it.
ResultsScene {
    id: window

    readonly property url tree: Fixture.makeTree({
        "Photos/2021/beach.jpg": { size: 2400000, seed: 1 },
        "Photos/2021/beach copy.jpg": { size: 2400000, seed: 1 },
        "Backup/beach.jpg": { size: 2400000, seed: 1 },
        "Documents/report.pdf": { size: 820000, seed: 2 },
        "Archive/report.pdf": { size: 820000, seed: 2 },
        "Archive/notes.txt": { size: 4096, seed: 3 },
        "Documents/notes.txt": { size: 4096, seed: 4 },
        "Music/track01.mp3": { size: 5100000, seed: 5 },
        "Music/Old/track01.mp3": { size: 5100000, seed: 5 },
        "Downloads/setup.tar.gz": { size: 16000000, seed: 6 },
        "Downloads/setup (1).tar.gz": { size: 16000000, seed: 6 },
        "Desktop/setup.tar.gz": { size: 16000000, seed: 6 },
        "Misc/readme.md": { size: 3000, seed: 7 },
        "Misc/Other/readme.md": { size: 3001, seed: 8 },
        // Beside the scratch home's Library, which is a protected place.
        "../../Library/Caches/beach.jpg": { size: 2400000, seed: 1 },
        // A file where the Trash keeps its files: the first cleanup cannot
        // move anything and reports why.
        "../../.local/share/Trash/files": { size: 10, seed: 9 }
    })
    readonly property url brokenTrash: Fixture.urlOf(tree, "../../.local/share/Trash/files")

    function rowNamed(name, folder) {
        const rows = review.rows
        for (let i = 0; i < rows.rowCount(); ++i) {
            const path = rows.data(rows.index(i, 0), ReviewRowsModel.DisplayPathRole)
            if (path.endsWith("/" + folder + "/" + name))
                return i
        }
        Fixture.fail("no row for " + folder + "/" + name)
        return -1
    }

    // The row item at index of the results table.
    function rowMenuOf(index) {
        const grid = view.resultGrid
        return grid.itemAtIndex(index)
    }

    Component.onCompleted: {
        // The scratch home holds this tree and the protected Library copy.
        scanner.scan(Fixture.urlOf(tree, "../.."))
        play([
            { ready: () => scanner.result.hasValue && review.rows.rowCount() > 0
                           && review.rows.data(review.rows.index(0, 0), ReviewRowsModel.CleanupStateRole) !== ReviewRowsModel.Checking,
              act: () => {
                  review.toggleRow(rowNamed("setup (1).tar.gz", "Downloads"))
                  review.toggleRow(rowNamed("beach copy.jpg", "2021"))
              } },
            { act: () => Fixture.shot(window, "results-exact-marked") },
            { act: () => { review.showFolderPaths = true } },
            { act: () => Fixture.shot(window, "results-exact-folders") },
            // The first row's actions menu, with its folder icon.
            { act: () => {
                  rowMenuOf(0).openActions()
              } },
            { act: () => Fixture.shot(window, "results-row-menu") },
            { act: () => rowMenuOf(0).closeActions() },
            { act: () => review.selectCategory(DuplicateReviewModel.SameNameSize) },
            { act: () => Fixture.shot(window, "results-name-size") },
            { act: () => review.showDuplicateFiles() },
            { act: () => Fixture.shot(window, "results-flat-list") },
            { act: () => review.selectCategory(DuplicateReviewModel.Similar) },
            { act: () => Fixture.shot(window, "results-similar") },
            { act: () => { review.selectCategory(DuplicateReviewModel.Exact); review.searchText = "zebra" } },
            { act: () => Fixture.shot(window, "results-empty-search") },
            { act: () => review.showDuplicateFiles() },
            { act: () => Fixture.shot(window, "results-flat-empty-search") },
            { act: () => review.selectCategory(DuplicateReviewModel.Exact) },
            { act: () => { review.clearSearch(); review.showCleanupReview = true } },
            { act: () => Fixture.shot(window, "review-sheet") },
            { act: () => {
                  review.showCleanupReview = false
                  // Two of three copies are marked already: the last one
                  // must stay.
                  review.toggleRow(rowNamed("setup.tar.gz", "Downloads"))
                  review.toggleRow(rowNamed("setup.tar.gz", "Desktop"))
              } },
            { act: () => Fixture.shot(window, "alert-keep-one-copy") },
            { act: () => {
                  review.dismissCleanupGuard()
                  review.toggleRow(rowNamed("beach.jpg", "Caches"))
              } },
            { act: () => Fixture.shot(window, "alert-protected-location") },
            { act: () => {
                  review.dismissProtectedLocation()
                  review.showCleanupReview = true
                  review.performCleanup()
              } },
            { ready: () => review.cleanup.hasReport, act: () => Fixture.shot(window, "result-sheet-warnings") },
            { act: () => {
                  review.closeCleanupReport()
                  Fixture.removeTree(brokenTrash)
              } },
            // Closing the sheet rescanned the folder; mark again and clean up.
            { ready: () => !scanner.isScanning && review.rows.rowCount() > 0
                           && review.rows.data(review.rows.index(0, 0), ReviewRowsModel.CleanupStateRole) !== ReviewRowsModel.Checking,
              act: () => {
                  review.toggleRow(rowNamed("setup (1).tar.gz", "Downloads"))
                  review.toggleRow(rowNamed("beach copy.jpg", "2021"))
                  review.showCleanupReview = true
                  // Held at its start, to show the sheet while files move.
                  Fixture.holdCleanups()
                  review.performCleanup()
              } },
            { ready: () => review.cleanup.isRunning, act: () => Fixture.shot(window, "review-sheet-moving") },
            { act: () => Fixture.releaseCleanups() },
            { ready: () => review.cleanup.hasReport, act: () => Fixture.shot(window, "result-sheet") },
            { act: () => review.closeCleanupReport() },
            // Restoring that cleanup from the Edit menu, after one of its
            // files was taken out of the Trash.
            { ready: () => !scanner.isScanning, act: () => {
                  Fixture.removeTree(Fixture.urlOf(tree, "../../.local/share/Trash/files/beach copy.jpg"))
                  CleanupRestorer.askToRestore()
              } },
            { ready: () => CleanupRestorer.isConfirming, act: () => Fixture.shot(window, "restore-confirmation") },
            { act: () => CleanupRestorer.restore() },
            { ready: () => CleanupRestorer.hasReport, act: () => Fixture.shot(window, "restore-report-warnings") },
            { act: () => CleanupRestorer.closeReport() },
            { ready: () => !scanner.isScanning, act: () => {} }
        ])
    }
}
