import QtQuick
import Twinsift

// One symbol of the icon table, drawn from the icon font. A name the table
// does not know draws nothing.
Text {
    id: icon

    property string name
    property real size: Theme.bodySize

    text: SymbolTable.glyph(name)
    font.family: Theme.iconFont.name
    font.pointSize: size
    color: Theme.primaryText
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
    renderType: Text.QtRendering
    Accessible.ignored: true
}
