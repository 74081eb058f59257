pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// One history entry: the folder, when it was scanned, whether it is still
// there, the scan's figures and the two folder actions.
Rectangle {
    id: card

    required property int index
    required property string folderName
    required property string folderPath
    required property string scannedAtText
    required property string filesText
    required property string groupsText
    required property string duplicatesText
    required property string savingsText
    required property string ignoredText
    required property string secondsText
    required property bool availabilityKnown
    required property bool folderAvailable
    property color navy: Theme.navy
    property color teal: Theme.teal

    signal rescan()
    signal reveal()

    // Only a folder known to be gone disables the buttons: until the disk
    // answers they look and work as usual (a rescan checks the folder again
    // anyway), so they do not flash grey on every visit.
    readonly property bool actionsEnabled: !availabilityKnown || folderAvailable

    implicitHeight: content.implicitHeight + 36
    radius: Theme.sectionRadius
    color: Theme.withAlpha(Theme.controlBackground, 0.82)
    border.width: 1
    border.color: Theme.withAlpha(navy, 0.09)

    ColumnLayout {
        id: content
        anchors.fill: parent
        anchors.margins: 18
        spacing: 15

        RowLayout {
            Layout.fillWidth: true
            spacing: 14

            Rectangle {
                Layout.alignment: Qt.AlignTop
                implicitWidth: 46
                implicitHeight: 46
                radius: 12
                color: Theme.withAlpha(card.teal, 0.10)
                SymbolIcon {
                    anchors.centerIn: parent
                    name: "folder.fill"
                    size: 20
                    color: card.teal
                }
            }

            ColumnLayout {
                Layout.alignment: Qt.AlignTop
                Layout.fillWidth: true
                spacing: 4
                Label {
                    objectName: "folderName"
                    Layout.fillWidth: true
                    text: card.folderName
                    elide: Text.ElideRight
                    font.pointSize: Theme.pt(17)
                    font.weight: Font.DemiBold
                    color: card.navy
                }
                Label {
                    objectName: "folderPath"
                    Layout.fillWidth: true
                    text: card.folderPath
                    elide: Text.ElideMiddle
                    maximumLineCount: 1
                    font.family: "monospace"
                    font.pointSize: Theme.footnoteSize
                    color: Theme.secondaryText
                    HoverTip {
                        text: card.folderPath
                        // Sooner than elsewhere: the path is cut short in
                        // the middle and the card has no other way to show it.
                        delay: 500
                    }
                }
                Label {
                    text: card.scannedAtText
                    font.pointSize: Theme.captionSize
                    color: Theme.tertiaryText
                }
            }

            Row {
                objectName: "availabilityBadge"
                Layout.alignment: Qt.AlignTop
                // Nothing is claimed until the disk has answered.
                visible: card.availabilityKnown
                spacing: 4
                readonly property color tint: card.folderAvailable ? Theme.green : Theme.orange
                SymbolIcon {
                    anchors.verticalCenter: parent.verticalCenter
                    name: card.folderAvailable ? "checkmark.circle.fill"
                                               : "exclamationmark.triangle.fill"
                    size: 10
                    color: parent.tint
                }
                Label {
                    objectName: "availabilityText"
                    text: card.folderAvailable ? qsTr("Available") : qsTr("Folder unavailable")
                    font.pointSize: Theme.captionSize
                    font.weight: Font.DemiBold
                    color: parent.tint
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.separator
        }

        GridLayout {
            id: figures
            Layout.fillWidth: true
            columnSpacing: 10
            rowSpacing: 10
            // As many columns of at least 125 as fit.
            columns: Math.max(1, Math.floor((width + columnSpacing) / (125 + columnSpacing)))

            Repeater {
                model: [
                    { title: qsTr("Files"), value: card.filesText },
                    { title: qsTr("Groups"), value: card.groupsText },
                    { title: qsTr("Duplicates"), value: card.duplicatesText },
                    { title: qsTr("Potential Savings"), value: card.savingsText },
                    { title: qsTr("Under 1 KB Ignored"), value: card.ignoredText }
                ]
                delegate: Rectangle {
                    id: tile
                    required property int index
                    required property var modelData
                    objectName: "tile" + index
                    Layout.fillWidth: true
                    Layout.preferredWidth: 125
                    implicitHeight: tileText.implicitHeight + 18
                    radius: 9
                    color: Theme.withAlpha(card.navy, 0.035)
                    ColumnLayout {
                        id: tileText
                        anchors.fill: parent
                        anchors.leftMargin: 12
                        anchors.rightMargin: 12
                        anchors.topMargin: 9
                        anchors.bottomMargin: 9
                        spacing: 3
                        Label {
                            objectName: "tileValue"
                            text: tile.modelData.value
                            font.pointSize: Theme.pt(16)
                            font.weight: Font.DemiBold
                            color: card.navy
                        }
                        Label {
                            objectName: "tileTitle"
                            text: tile.modelData.title
                            font.pointSize: Theme.captionSize
                            color: Theme.secondaryText
                        }
                    }
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 10
            ActionButton {
                objectName: "rescanButton"
                text: qsTr("Rescan")
                symbol: "arrow.clockwise"
                prominent: true
                tint: card.navy
                enabled: card.actionsEnabled
                onClicked: card.rescan()
            }
            ActionButton {
                objectName: "revealButton"
                text: qsTr("Show in Folder")
                symbol: "folder"
                enabled: card.actionsEnabled
                onClicked: card.reveal()
            }
            Item {
                Layout.fillWidth: true
            }
            Label {
                objectName: "duration"
                text: qsTr("%1 sec").arg(card.secondsText)
                font.pointSize: Theme.captionSize
                color: Theme.tertiaryText
            }
        }
    }
}
