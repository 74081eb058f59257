pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// One file of a results table. Everything it shows comes from the row model;
// its actions go back to the review model by row index.
Item {
    id: row

    required property int index
    required property string fileName
    required property string folderPath
    required property string fileTooltip
    required property string sizeText
    required property string verification
    required property string verificationHelp
    required property var accentIndex
    required property bool firstInGroup
    required property int cleanupState
    required property string cleanupText
    required property string cleanupTooltip

    required property DuplicateReviewModel review
    required property GridColumns columns
    required property bool showFolderPaths
    // The keyboard's row: Space toggles it.
    property bool current: false

    readonly property color accent: accentIndex >= 0 ? Theme.accent(accentIndex) : Theme.teal
    readonly property bool opensGroup: firstInGroup && index > 0
    readonly property bool toggles: cleanupState === ReviewRowsModel.Keep || cleanupState === ReviewRowsModel.Trash

    function openActions() {
        menu.popup(actions, 0, actions.height)
    }
    function closeActions() {
        menu.close()
    }

    width: columns.rowWidth
    height: body.height + (opensGroup ? 10 : 0)

    // A reader meets the row as one line of the table, named by the file
    // and its folder, with its cells inside.
    Accessible.role: Accessible.Row
    Accessible.name: qsTr("%1, in %2").arg(fileName).arg(folderPath)

    // One tooltip for the whole row, its text chosen by what the pointer is
    // over. Tooltips of their own on the cells would share one tooltip and
    // fight over it: whichever spoke last would win, not the element under
    // the pointer.
    HoverHandler { id: rowHover }
    readonly property string rowTip: qsTr("Click the filename to show the file in its folder. Use Cleanup to mark a copy for Trash, or the actions menu to Open File explicitly.")
    readonly property string hoverTip: rowHover.hovered ? tipAt(rowHover.point.position) : ""
    // A tooltip of the row's own: the window's shared one keeps the text it
    // was opened with when the text changes during its delay.
    ToolTip {
        objectName: "rowToolTip"
        parent: row
        delay: Theme.tipDelay
        text: row.hoverTip
        visible: row.hoverTip !== "" && !menu.visible
    }

    function over(item, p) {
        if (!item.visible)
            return false
        const q = item.mapFromItem(row, p.x, p.y)
        return q.x >= 0 && q.y >= 0 && q.x < item.width && q.y < item.height
    }

    // What the element at p (in the row's coordinates) says about itself.
    function tipAt(p) {
        if (!over(body, p))
            return ""
        if (over(fileCell, p)) {
            if (over(nameLabel, p) && nameLabel.mapFromItem(row, p.x, p.y).x <= nameLabel.contentWidth)
                return row.fileTooltip
            if (over(folderLabel, p) && folderLabel.mapFromItem(row, p.x, p.y).x <= folderLabel.contentWidth)
                return row.folderPath
            return qsTr("Click the filename area to show this file in its folder.")
        }
        if (over(verificationCell, p))
            return row.verificationHelp
        if (over(cleanupCell, p))
            return row.cleanupTooltip
        if (over(actions, p))
            return qsTr("Open File or Show in Folder")
        // The strip, the Size cell and the space around the actions button.
        return row.rowTip
    }

    Rectangle {
        visible: row.opensGroup
        anchors.left: parent.left
        anchors.right: parent.right
        y: 4
        height: 1
        color: Theme.separator
    }

    Rectangle {
        id: body
        y: row.opensGroup ? 10 : 0
        width: parent.width
        height: row.showFolderPaths ? 50 : 36
        color: Theme.withAlpha(row.accent, 0.115)
        border.width: row.current ? 2 : 0
        border.color: Theme.systemAccent

        Rectangle {
            width: row.columns.strip
            height: parent.height
            color: row.accent
        }
        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: Theme.separator
        }

        Row {
            x: row.columns.strip
            height: parent.height

            Item {
                id: fileCell
                width: row.columns.file
                height: parent.height
                signal clicked()
                onClicked: row.review.revealRow(row.index)
                HoverHandler { cursorShape: Qt.PointingHandCursor }
                TapHandler { onTapped: fileCell.clicked() }
                ControlAccess {
                    control: fileCell
                    name: qsTr("Show in Folder")
                    description: row.fileTooltip
                    press: () => fileCell.clicked()
                }
                Column {
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.leftMargin: 10
                    anchors.rightMargin: 10
                    spacing: 2
                    Label {
                        id: nameLabel
                        objectName: "fileNameLabel"
                        width: parent.width
                        text: row.fileName
                        elide: Text.ElideMiddle
                        maximumLineCount: 1
                        color: Theme.primaryText
                        font.pointSize: Theme.bodySize
                        font.weight: Font.Medium
                    }
                    Label {
                        id: folderLabel
                        objectName: "folderLabel"
                        visible: row.showFolderPaths
                        width: parent.width
                        text: row.folderPath
                        elide: Text.ElideMiddle
                        maximumLineCount: 1
                        color: Theme.secondaryText
                        font.pointSize: Theme.captionSize
                    }
                }
            }
            Label {
                width: row.columns.size
                height: parent.height
                verticalAlignment: Text.AlignVCenter
                text: row.sizeText
                elide: Text.ElideRight
                color: Theme.primaryText
                font.pointSize: Theme.subheadlineSize
            }
            Label {
                id: verificationCell
                width: row.columns.verification
                height: parent.height
                verticalAlignment: Text.AlignVCenter
                text: row.verification
                elide: Text.ElideRight
                color: Theme.secondaryText
                font.pointSize: Theme.subheadlineSize
            }
            Item {
                id: cleanupCell
                width: row.columns.cleanup
                height: parent.height

                Rectangle {
                    visible: row.cleanupState === ReviewRowsModel.Protected
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.min(badge.implicitWidth + 10, parent.width - 4)
                    height: 22
                    radius: 11
                    color: Theme.withAlpha(Theme.orange, 0.16)
                    Row {
                        id: badge
                        anchors.centerIn: parent
                        spacing: 3
                        SymbolIcon {
                            name: "lock.shield.fill"
                            color: Theme.orange
                            size: Theme.captionPoints
                        }
                        Label {
                            text: row.cleanupText
                            color: Theme.orange
                            font.pointSize: Theme.captionSize - 1
                            font.weight: Font.DemiBold
                        }
                    }
                }
                Button {
                    id: toggle
                    objectName: "cleanupToggle"
                    // While the row's protection is worked out it shows KEEP as
                    // usual, and a click waits for the answer.
                    visible: row.toggles || row.cleanupState === ReviewRowsModel.Checking
                    anchors.verticalCenter: parent.verticalCenter
                    // Grows for a longer word in another language, within the
                    // column.
                    width: Math.min(row.columns.cleanup - 8, Math.max(72, contentItem.implicitWidth + 12))
                    height: 24
                    focusPolicy: Qt.NoFocus
                    readonly property color tone: row.cleanupState === ReviewRowsModel.Trash ? Theme.red : Theme.green
                    onClicked: row.review.toggleRow(row.index)
                    ControlAccess {
                        control: toggle
                        name: qsTr("Trash %1").arg(row.fileName)
                        description: row.cleanupTooltip
                        checkable: true
                        checked: row.cleanupState === ReviewRowsModel.Trash
                    }
                    background: Rectangle {
                        radius: Theme.smallRadius
                        color: Theme.withAlpha(toggle.tone, toggle.down ? 0.3 : 0.16)
                        border.color: toggle.tone
                    }
                    contentItem: Label {
                        text: row.cleanupState === ReviewRowsModel.Checking ? qsTr("KEEP") : row.cleanupText
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideRight
                        color: toggle.tone
                        font.pointSize: Theme.captionSize
                        font.weight: Font.Bold
                    }
                }
                Label {
                    visible: row.cleanupState === ReviewRowsModel.ReviewOnly
                    anchors.verticalCenter: parent.verticalCenter
                    text: row.cleanupText
                    color: Theme.orange
                    font.pointSize: Theme.subheadlineSize
                }
            }
            Item {
                width: row.columns.actions
                height: parent.height
                ToolButton {
                    id: actions
                    anchors.centerIn: parent
                    focusPolicy: Qt.NoFocus
                    ControlAccess {
                        control: actions
                        role: Accessible.ButtonMenu
                        name: qsTr("Open File or Show in Folder")
                    }
                    contentItem: SymbolIcon {
                        name: "ellipsis.circle"
                        color: Theme.secondaryText
                        size: Theme.title3Points
                    }
                    onClicked: menu.popup()
                    Menu {
                        id: menu
                        // The keyboard goes back to the table it came from.
                        onClosed: if (row.ListView.view) row.ListView.view.forceActiveFocus()
                        AccessibleMenuItem {
                            text: qsTr("Open File")
                            onTriggered: row.review.openRow(row.index)
                        }
                        AccessibleMenuItem {
                            objectName: "showInFolderItem"
                            text: qsTr("Show in Folder")
                            symbol: "folder"
                            onTriggered: row.review.revealRow(row.index)
                        }
                    }
                }
            }
        }
    }
}
