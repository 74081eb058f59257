import QtQuick
import Twinsift
import TwinsiftTest

// Settings, and the guide laid over the scan screen.
Main {
    id: window

    Component.onCompleted: {
        rootView.selection = RootNavigation.Settings
        Fixture.when(() => rootView.detailItem !== null && rootView.detailItem.title === qsTranslate("RootView", "Settings"), settings)
    }

    function settings() {
        Fixture.shot(window, "settings")
        rootView.selection = RootNavigation.Twinsift
        AppEvents.postShowHowToUse()
        Fixture.when(() => rootView.guideItem !== null, guide)
    }

    function guide() {
        Fixture.shot(window, "guide-overlay")
        Fixture.finish()
    }
}
