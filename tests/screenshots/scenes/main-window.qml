import QtQuick
import Twinsift
import TwinsiftTest

Main {
    id: window
    Component.onCompleted: Fixture.when(() => window.active || window.visible, () => {
        Fixture.shot(window, "main-window")
        Fixture.finish()
    })
}
