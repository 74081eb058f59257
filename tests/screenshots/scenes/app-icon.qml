import QtQuick
import Twinsift
import TwinsiftTest

// The icon at its design size, and beside it the sizes a desktop shows it at.
Window {
    id: window
    width: 720
    height: 540
    visible: true
    color: Theme.windowBackground

    AppIcon {
        x: 10
        y: 14
        width: 512
        height: 512
    }
    Column {
        x: 560
        y: 14
        spacing: 16
        Repeater {
            model: [128, 64, 48, 32, 16]
            delegate: AppIcon {
                required property int modelData
                width: modelData
                height: modelData
            }
        }
    }

    Component.onCompleted: Fixture.when(() => window.visible, () => {
        Fixture.shot(window, "app-icon")
        Fixture.finish()
    })
}
