pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The header row of a results table.
Rectangle {
    id: header

    required property GridColumns columns
    required property bool showFolderPaths
    required property string folderToggleTooltip
    required property string cleanupHeader
    signal folderToggleClicked()

    implicitWidth: columns.rowWidth
    implicitHeight: 34
    color: Theme.windowBackground
    border.color: Theme.separator
    radius: Theme.smallRadius

    component HeaderText: Label {
        color: Theme.secondaryText
        font.pointSize: Theme.captionSize
        font.weight: Font.DemiBold
        elide: Text.ElideRight
        verticalAlignment: Text.AlignVCenter
    }

    Row {
        anchors.fill: parent
        Item { width: header.columns.strip; height: 1 }
        Item {
            width: header.columns.file
            height: parent.height
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: 10
                anchors.rightMargin: 10
                spacing: 10
                HeaderText { text: qsTr("File") }
                ToolButton {
                    id: folderToggle
                    checkable: true
                    checked: header.showFolderPaths
                    onClicked: header.folderToggleClicked()
                    ControlAccess {
                        control: folderToggle
                        name: qsTr("Show Folders")
                        description: header.folderToggleTooltip
                        checkable: true
                        checked: header.showFolderPaths
                    }
                    HoverTip { text: header.folderToggleTooltip }
                    implicitHeight: 24
                    contentItem: RowLayout {
                        spacing: 4
                        SymbolIcon {
                            name: header.showFolderPaths ? "folder.fill" : "folder"
                            color: header.showFolderPaths ? Theme.teal : Theme.secondaryText
                            size: Theme.subheadlinePoints
                        }
                        Label {
                            text: qsTr("Show Folders")
                            font.pointSize: Theme.captionSize
                            color: header.showFolderPaths ? Theme.teal : Theme.secondaryText
                        }
                    }
                }
                Item { Layout.fillWidth: true }
            }
        }
        HeaderText { width: header.columns.size; height: parent.height; text: qsTr("Size") }
        Item {
            width: header.columns.verification
            height: parent.height
            HoverTip {
                text: qsTr("Same Content means the file size and SHA-256 content hash both match.")
            }
            Row {
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4
                HeaderText { text: qsTr("Verification") }
                SymbolIcon {
                    anchors.verticalCenter: parent.verticalCenter
                    name: "info.circle"
                    color: Theme.secondaryText
                    size: Theme.captionPoints
                }
            }
        }
        HeaderText { width: header.columns.cleanup; height: parent.height; text: header.cleanupHeader }
        HeaderText { width: header.columns.actions; height: parent.height; text: qsTr("Actions") }
    }
}
