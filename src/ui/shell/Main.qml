import QtQuick
import QtQuick.Controls

ApplicationWindow {
    id: window
    title: "Ambrivo - Twinsift"
    width: 1240
    height: 820
    minimumWidth: 1080
    minimumHeight: 720
    visible: true

    Label {
        anchors.centerIn: parent
        text: "Twinsift"
        font.pointSize: 24
        opacity: 0.6
    }
}
