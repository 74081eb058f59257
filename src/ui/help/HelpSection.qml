pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// One card of the guide: a symbol and a title over its items, which are
// the card's children.
Rectangle {
    id: section
    required property string title
    required property string icon
    default property alias content: items.data
    Layout.fillWidth: true
    implicitHeight: sectionColumn.implicitHeight + 36
    radius: Theme.sectionRadius
    color: Theme.withAlpha(Theme.controlBackground, 0.72)
    border.width: 1
    border.color: Theme.withAlpha(Theme.primaryText, 0.07)
    ColumnLayout {
        id: sectionColumn
        anchors.fill: parent
        anchors.margins: 18
        spacing: 12
        Row {
            spacing: 8
            SymbolIcon {
                anchors.verticalCenter: parent.verticalCenter
                name: section.icon
                size: 20
                color: Theme.systemAccent
            }
            Label {
                text: section.title
                font.pointSize: Theme.headingSize
                font.weight: Font.DemiBold
                color: Theme.primaryText
            }
        }
        ColumnLayout {
            id: items
            Layout.fillWidth: true
            spacing: 12
        }
    }
}
