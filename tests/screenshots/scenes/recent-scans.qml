import QtQuick
import QtQuick.Controls
import Twinsift
import TwinsiftTest

// The Recent Scans screen in the main window: empty, with cards (one folder
// gone), and the clear confirmation.
Main {
    id: window
    readonly property var view: rootView.detailItem

    Component.onCompleted: {
        HistoryFixture.reset()
        rootView.selection = RootNavigation.RecentScans
        Fixture.when(() => view !== null && view.history !== undefined && view.history.count === 0, () => {
            Fixture.shot(window, "recent-scans-empty")
            const tree = Fixture.makeTree({ "Photos/a.jpg": { size: 4096, seed: 1 },
                                            "Projects/b.txt": { size: 2048, seed: 2 } })
            HistoryFixture.add(Fixture.urlOf(tree, "Old Camera Import"),
                               { files: 312, groups: 4, duplicates: 9, savings: 48200000, ignored: 17, seconds: 1.4 })
            HistoryFixture.add(Fixture.urlOf(tree, "Projects"),
                               { files: 58, groups: 0, duplicates: 0, savings: 0, ignored: 3, seconds: 0.21 })
            HistoryFixture.add(Fixture.urlOf(tree, "Photos"),
                               { files: 4821, groups: 37, duplicates: 96, savings: 1500000, ignored: 120, seconds: 3 })
            // Give the folder checks a moment to answer.
            const added = Date.now()
            Fixture.when(() => view.history.count === 3 && Date.now() - added > 500, () => {
                Fixture.shot(window, "recent-scans")
                view.confirmClear = true
                Fixture.when(() => view.clearAlert.opened, () => {
                    Fixture.shot(window, "recent-scans-clear")
                    view.clearAlert.close()
                    Fixture.finish()
                })
            })
        })
    }
}
