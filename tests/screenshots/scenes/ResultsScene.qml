import QtQuick
import QtQuick.Controls
import Twinsift
import TwinsiftTest

// A window showing the results screen over a scan, and the steps a scene
// plays over it.
ApplicationWindow {
    width: 1020
    height: 800
    visible: true

    property alias scanner: scanner
    property alias view: view
    readonly property DuplicateReviewModel review: view.review

    DuplicateScanViewModel { id: scanner }

    RestoreSheets {}

    DuplicateResultsView {
        id: view
        anchors.fill: parent
        visible: scanner.result.hasValue
        result: scanner.result
        isScanning: scanner.isScanning
        progressText: scanner.scanProgressText
        progressFraction: scanner.scanProgressFraction
    }

    // Runs each step's act once its ready() holds and the step before has
    // had a frame to show, then finishes the scene.
    function play(steps) {
        if (steps.length === 0) {
            Fixture.finish()
            return
        }
        const step = steps[0]
        Fixture.when(() => step.ready === undefined || step.ready(), () => {
            step.act()
            Fixture.when(() => true, () => play(steps.slice(1)))
        })
    }
}
