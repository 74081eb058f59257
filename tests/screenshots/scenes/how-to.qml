import QtQuick
import QtQuick.Controls
import Twinsift
import TwinsiftTest

// The guide as it opens, and further down with one question expanded.
ApplicationWindow {
    id: window
    width: 1000
    height: 820
    visible: true

    TwinsiftHowToView {
        id: guide
        anchors.fill: parent
    }

    Component.onCompleted: Fixture.when(() => window.visible && guide.questions.count === 3, () => {
        Fixture.shot(window, "how-to")
        guide.questions.itemAt(1).expanded = true
        const opened = Date.now()
        Fixture.when(() => Date.now() - opened > 300, () => {
            guide.scrollToEnd()
        }, 2000)
        Fixture.when(() => Date.now() - opened > 600, () => {
            Fixture.shot(window, "how-to-question")
            Fixture.finish()
        })
    })
}
