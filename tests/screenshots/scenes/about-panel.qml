import QtQuick
import Twinsift
import TwinsiftTest

QtObject {
    Component.onCompleted: {
        AboutPanelKeeper.showAbout()
        Fixture.when(() => AboutPanelKeeper.panel !== null && AboutPanelKeeper.panel.visible, () => {
            Fixture.shot(AboutPanelKeeper.panel, "about-panel")
            AboutPanelKeeper.closeAbout()
            Fixture.finish()
        })
    }
}
