pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The sheet that confirms a cleanup: what will move, from where, and the
// button that moves it. Escape or "Cancel" only close it, and "Cancel" has
// the keyboard when it opens.
ModalSheet {
    id: sheet

    required property DuplicateReviewModel review
    readonly property bool moving: review.cleanup.isRunning

    width: 760
    height: Math.min(parent ? parent.height - 60 : 640, implicitHeight)
    shown: review.showCleanupReview
    onClosed: review.showCleanupReview = false
    title: qsTr("Review Cleanup")
    initialFocus: cancelButton

    ColumnLayout {
        anchors.fill: parent
        spacing: 16

        RowLayout {
            spacing: 12
            SymbolIcon {
                name: "trash.circle.fill"
                color: Theme.red
                size: Theme.largeTitlePoints
            }
            ColumnLayout {
                spacing: 2
                Label {
                    text: qsTr("Review Cleanup")
                    color: Theme.primaryText
                    font.pointSize: Theme.title2Size
                    font.weight: Font.Bold
                }
                Label {
                    text: sheet.review.reviewSummaryText
                    color: Theme.secondaryText
                    font.pointSize: Theme.bodySize
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: warning.implicitHeight + 20
            radius: Theme.panelRadius
            color: Theme.withAlpha(Theme.orange, 0.12)
            border.color: Theme.withAlpha(Theme.orange, 0.4)
            RowLayout {
                id: warning
                anchors.fill: parent
                anchors.margins: 10
                spacing: 10
                SymbolIcon {
                    Layout.alignment: Qt.AlignTop
                    name: "exclamationmark.triangle.fill"
                    color: Theme.orange
                    size: Theme.title3Points
                }
                Label {
                    Layout.fillWidth: true
                    text: qsTr("The selected files will be moved to the Trash. They are not permanently erased by Ambrivo and can normally be restored until the Trash is emptied.")
                    wrapMode: Text.Wrap
                    color: Theme.primaryText
                    font.pointSize: Theme.bodySize
                }
            }
        }

        Label {
            text: qsTr("Files selected")
            color: Theme.primaryText
            font.pointSize: Theme.headlineSize
            font.weight: Font.DemiBold
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: 120
            implicitHeight: 34 + Math.min(files.count, 8) * 30
            radius: Theme.panelRadius
            color: Theme.windowBackground
            border.color: Theme.separator
            clip: true

            Row {
                id: fileHeader
                x: 10
                height: 30
                Label { width: 190; height: parent.height; verticalAlignment: Text.AlignVCenter; text: qsTr("File"); color: Theme.secondaryText; font.pointSize: Theme.subheadlineSize; font.weight: Font.DemiBold }
                Label { width: files.width - 190 - 82 - 20; height: parent.height; verticalAlignment: Text.AlignVCenter; text: qsTr("Location"); color: Theme.secondaryText; font.pointSize: Theme.subheadlineSize; font.weight: Font.DemiBold }
                Label { width: 82; height: parent.height; verticalAlignment: Text.AlignVCenter; text: qsTr("Size"); color: Theme.secondaryText; font.pointSize: Theme.subheadlineSize; font.weight: Font.DemiBold }
            }
            ListView {
                id: files
                anchors.top: fileHeader.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                clip: true
                model: sheet.review.selectedFiles
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar {
                    id: filesScroll
                    ControlAccess { control: filesScroll; role: Accessible.ScrollBar; name: qsTr("Files selected") }
                }
                delegate: Rectangle {
                    id: fileRow
                    required property int index
                    required property string fileName
                    required property string location
                    required property string sizeText
                    required property string displayPath
                    width: files.width
                    height: 30
                    color: index % 2 ? Theme.windowBackground : Theme.controlBackground
                    HoverTip { text: fileRow.displayPath }
                    Row {
                        x: 10
                        height: parent.height
                        Label { width: 190; height: parent.height; verticalAlignment: Text.AlignVCenter; text: fileRow.fileName; elide: Text.ElideMiddle; rightPadding: 8; color: Theme.primaryText; font.pointSize: Theme.subheadlineSize }
                        Label { width: files.width - 190 - 82 - 20; height: parent.height; verticalAlignment: Text.AlignVCenter; text: fileRow.location; elide: Text.ElideMiddle; rightPadding: 8; color: Theme.secondaryText; font.pointSize: Theme.subheadlineSize }
                        Label { width: 82; height: parent.height; verticalAlignment: Text.AlignVCenter; text: fileRow.sizeText; color: Theme.primaryText; font.pointSize: Theme.subheadlineSize }
                    }
                }
            }
        }

        RowLayout {
            spacing: 10
            SymbolIcon {
                name: "shield.checkered"
                color: Theme.teal
                size: Theme.title3Points
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 1
                Label {
                    text: qsTr("No permanent deletion")
                    color: Theme.primaryText
                    font.pointSize: Theme.subheadlineSize
                    font.weight: Font.DemiBold
                }
                Label {
                    Layout.fillWidth: true
                    text: qsTr("Ambrivo uses the Trash. It does not permanently erase selected files.")
                    wrapMode: Text.Wrap
                    color: Theme.secondaryText
                    font.pointSize: Theme.captionSize
                }
            }
            Button {
                id: cancelButton
                objectName: "cancelReviewButton"
                text: qsTr("Cancel")
                onClicked: sheet.review.showCleanupReview = false
                ControlAccess { control: cancelButton; name: cancelButton.text }
            }
            FilledButton {
                objectName: "moveToTrashButton"
                tint: Theme.red
                symbol: "trash"
                busy: sheet.moving
                spinnerName: "movingSpinner"
                accessibleName: qsTr("Move to Trash")
                text: sheet.moving ? qsTr("Moving…") : qsTr("Move to Trash")
                onClicked: sheet.review.performCleanup()
            }
        }
    }
}
