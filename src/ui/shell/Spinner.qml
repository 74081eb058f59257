pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// A small busy sign that reads at button size: a turning glyph in the
// colour of the text beside it. The style's own indicator shrinks to a dot
// at this size.
BusyIndicator {
    id: spinner

    property color color: Theme.white
    // In layout points, as SymbolIcon takes them.
    property real size: Theme.bodyPoints

    padding: 0
    implicitWidth: implicitContentWidth
    implicitHeight: implicitContentHeight
    Accessible.name: qsTr("Working")

    contentItem: SymbolIcon {
        name: "arrow.triangle.2.circlepath"
        size: spinner.size
        color: spinner.color
        visible: spinner.running
        RotationAnimator on rotation {
            running: spinner.running && spinner.visible
            from: 0
            to: 360
            duration: Theme.spinDuration
            loops: Animation.Infinite
        }
    }
}
