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

    Row {
        anchors.centerIn: parent
        spacing: 12
        SymbolIcon {
            name: "doc.on.doc"
            size: 24
            color: Theme.teal
        }
        Label {
            text: "Twinsift"
            font.pointSize: 24
            color: Theme.navy
        }
    }
}
