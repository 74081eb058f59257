pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

ApplicationWindow {
    id: window
    title: "Ambrivo - Twinsift"
    // The sizes are the content's; the in-window menu bar comes on top.
    readonly property real menuBarHeight: menuBar ? menuBar.implicitHeight : 0
    width: 1240
    height: 820 + menuBarHeight
    minimumWidth: 1080
    minimumHeight: 720 + menuBarHeight
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
