pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// One short line beside an action that handed something to the desktop and
// found nothing there to take it: no file manager, no application, no
// browser. It fades by itself; the next such answer replaces it.
Rectangle {
    id: notice

    readonly property alias text: line.text

    function show(message) {
        line.text = message
        hideTimer.restart()
    }

    visible: line.text !== ""
    implicitWidth: line.implicitWidth + 28
    implicitHeight: line.implicitHeight + 14
    radius: height / 2
    color: Theme.withAlpha(Theme.orange, 0.14)
    border.width: 1
    border.color: Theme.withAlpha(Theme.orange, 0.45)

    Row {
        anchors.centerIn: parent
        spacing: 6
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            name: "exclamationmark.triangle.fill"
            size: 12
            color: Theme.orange
        }
        Label {
            id: line
            objectName: "desktopNoticeText"
            anchors.verticalCenter: parent.verticalCenter
            font.pointSize: Theme.captionSize
            color: Theme.primaryText
        }
    }

    Timer {
        id: hideTimer
        interval: Theme.noticeDuration
        onTriggered: line.text = ""
    }
}
