import QtQuick
import QtQuick.Controls
import Twinsift

ApplicationWindow {
    id: window
    title: "Ambrivo - Twinsift"
    width: 1240
    height: 820
    minimumWidth: 1080
    minimumHeight: 720
    visible: true
    color: Theme.windowBackground

    readonly property alias rootView: rootView
    menuBar: AppMenuBar {
        onWebsiteUnanswered: message => websiteNotice.show(message)
    }

    RootView {
        id: rootView
        anchors.fill: parent
    }

    RestoreSheets {}

    // Under the menu that asked.
    DesktopNotice {
        id: websiteNotice
        anchors.top: parent.top
        anchors.topMargin: 10
        anchors.horizontalCenter: parent.horizontalCenter
    }
}
