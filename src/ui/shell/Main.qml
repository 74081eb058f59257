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
    menuBar: AppMenuBar {}

    RootView {
        id: rootView
        anchors.fill: parent
    }

    RestoreSheets {}
}
