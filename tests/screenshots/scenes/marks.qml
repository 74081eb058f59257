import QtQuick
import QtQuick.Controls
import Twinsift
import TwinsiftTest

// The "Mark" menu open beside the sort, and the feedback line under the
// cleanup bar after "Keep Oldest in Each Set" over a real scan.
ResultsScene {
    id: window

    readonly property url tree: Fixture.makeTree({
        "Photos/2021/beach.jpg": { size: 2400000, seed: 1, modified: 1620000000 },
        "Photos/2021/beach copy.jpg": { size: 2400000, seed: 1, modified: 1630000000 },
        "Old drive/Photos/beach.jpg": { size: 2400000, seed: 1, modified: 1500000000 },
        "Documents/report.pdf": { size: 820000, seed: 2, modified: 1600000000 },
        "Old drive/Documents/report.pdf": { size: 820000, seed: 2, modified: 1400000000 },
        "Music/track01.mp3": { size: 5100000, seed: 5, modified: 1550000000 },
        "Old drive/Music/track01.mp3": { size: 5100000, seed: 5, modified: 1450000000 },
        "Downloads/setup.tar.gz": { size: 16000000, seed: 6, modified: 1690000000 },
        "Downloads/setup (1).tar.gz": { size: 16000000, seed: 6, modified: 1690000100 },
        "Desktop/setup.tar.gz": { size: 16000000, seed: 6, modified: 1680000000 }
    })

    // Popups are not visual children, so walk each item's data.
    function find(item, name) {
        if (item.objectName === name)
            return item
        const data = item.data || []
        for (let i = 0; i < data.length; ++i) {
            const found = find(data[i], name)
            if (found)
                return found
        }
        return null
    }

    Component.onCompleted: {
        scanner.scan(tree)
        play([
            { ready: () => scanner.result.hasValue && review.rows.rowCount() > 0
                           && review.rows.data(review.rows.index(0, 0), ReviewRowsModel.CleanupStateRole) === ReviewRowsModel.Keep,
              act: () => find(view, "markMenuButton").clicked() },
            { ready: () => find(view, "markMenu").opened,
              act: () => Fixture.shot(window, "marks-menu-open") },
            { act: () => {
                  find(view, "markMenu").close()
                  review.marks.apply(MarkRuleRunner.KeepOldest)
              } },
            { ready: () => review.marks.feedback !== "",
              act: () => Fixture.shot(window, "marks-feedback-line") }
        ])
    }
}
