pragma ComponentBehavior: Bound
import QtQuick
import Twinsift

// One symbol of the icon table, drawn from the icon font. A name the table
// does not know draws nothing.
Text {
    id: icon

    property string name
    // In layout points, like every size the screens are drawn to: a number,
    // or one of Theme's *Points, never a *Size (those are converted already).
    property real size: 13

    text: SymbolTable.glyph(name)
    font.family: Theme.iconFont.name
    font.pointSize: Theme.pt(size)
    color: Theme.primaryText
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    renderType: Text.QtRendering
    Accessible.ignored: true
}
