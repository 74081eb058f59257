import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// Putting the last cleanup's files back: the question first, when asked
// from the Edit menu, and then what came back. Closing the report scans the
// folder again.
Item {
    id: sheets

    readonly property CleanupRestorer restorer: CleanupRestorer

    ModalSheet {
        id: confirmation
        objectName: "restoreConfirmation"
        readonly property bool shown: sheets.restorer.isConfirming
        // Wider where the title or the buttons need it, as in German.
        width: Math.max(440, Math.max(restoreTitle.implicitWidth, restoreButtons.implicitWidth)
                        + leftPadding + rightPadding)
        onShownChanged: shown ? open() : close()
        onClosed: sheets.restorer.cancelRestore()
        title: qsTr("Restore Files from Last Cleanup?")
        initialFocus: cancelRestoreButton

        contentItem: ColumnLayout {
            spacing: 12
            SymbolIcon {
                Layout.alignment: Qt.AlignHCenter
                name: "arrow.uturn.backward.circle.fill"
                color: Theme.teal
                size: 34
            }
            Label {
                id: restoreTitle
                Layout.alignment: Qt.AlignHCenter
                text: confirmation.title
                color: Theme.primaryText
                font.pointSize: Theme.title2Size
                font.weight: Font.Bold
            }
            Label {
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: sheets.restorer.confirmationText
                wrapMode: Text.Wrap
                color: Theme.primaryText
                font.pointSize: Theme.bodySize
            }
            Label {
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: qsTr("A file whose name is taken again stays in the Trash.")
                wrapMode: Text.Wrap
                color: Theme.secondaryText
                font.pointSize: Theme.subheadlineSize
            }
            RowLayout {
                id: restoreButtons
                Layout.alignment: Qt.AlignRight
                spacing: 10
                Button {
                    id: cancelRestoreButton
                    text: qsTr("Cancel")
                    onClicked: sheets.restorer.cancelRestore()
                    ControlAccess { control: cancelRestoreButton; name: cancelRestoreButton.text }
                }
                Button {
                    id: restoreButton
                    objectName: "confirmRestoreButton"
                    onClicked: sheets.restorer.restore()
                    ControlAccess { control: restoreButton; name: qsTr("Restore Files") }
                    background: Rectangle {
                        radius: 6
                        color: restoreButton.down ? Qt.darker(Theme.teal, 1.15) : Theme.teal
                        border.width: restoreButton.visualFocus ? 2 : 0
                        border.color: Theme.systemAccent
                    }
                    contentItem: Label {
                        text: qsTr("Restore Files")
                        color: Theme.white
                        font.pointSize: Theme.bodySize
                        font.weight: Font.DemiBold
                        horizontalAlignment: Text.AlignHCenter
                    }
                }
            }
        }
    }

    ModalSheet {
        id: report
        objectName: "restoreReport"
        readonly property bool shown: sheets.restorer.hasReport
        readonly property bool warnings: sheets.restorer.failureText !== ""
        width: 560
        height: Math.min(parent ? parent.height - 60 : 600, implicitHeight)
        onShownChanged: shown ? open() : close()
        onClosed: sheets.restorer.closeReport()
        title: sheets.restorer.reportTitle
        initialFocus: closeRestoreButton

        contentItem: ColumnLayout {
            spacing: 12
            SymbolIcon {
                Layout.alignment: Qt.AlignHCenter
                name: sheets.restorer.reportIcon
                color: report.warnings ? Theme.orange : Theme.green
                size: 34
            }
            Label {
                Layout.alignment: Qt.AlignHCenter
                text: sheets.restorer.reportTitle
                color: Theme.primaryText
                font.pointSize: Theme.title2Size
                font.weight: Font.Bold
            }
            Label {
                Layout.alignment: Qt.AlignHCenter
                text: sheets.restorer.reportSummary
                color: Theme.primaryText
                font.pointSize: Theme.bodySize
            }
            Label {
                visible: report.warnings
                text: sheets.restorer.failureText
                color: Theme.orange
                font.pointSize: Theme.bodySize
                font.weight: Font.DemiBold
            }
            ListView {
                visible: report.warnings
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.minimumHeight: visible ? 60 : 0
                implicitHeight: Math.min(contentHeight, 200)
                clip: true
                spacing: 6
                model: sheets.restorer.failures
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar {
                    id: failureScroll
                    ControlAccess { control: failureScroll; role: Accessible.ScrollBar; name: qsTr("Files not restored") }
                }
                delegate: Column {
                    id: failure
                    required property string path
                    required property string message
                    width: ListView.view.width
                    Label {
                        width: parent.width
                        text: failure.path
                        elide: Text.ElideMiddle
                        color: Theme.primaryText
                        font.pointSize: Theme.subheadlineSize
                        font.weight: Font.DemiBold
                    }
                    Label {
                        width: parent.width
                        text: failure.message
                        wrapMode: Text.Wrap
                        color: Theme.secondaryText
                        font.pointSize: Theme.captionSize
                    }
                }
            }
            RowLayout {
                Layout.alignment: Qt.AlignRight
                Button {
                    id: closeRestoreButton
                    text: qsTr("Close")
                    objectName: "closeRestoreReportButton"
                    onClicked: sheets.restorer.closeReport()
                    ControlAccess { control: closeRestoreButton; name: closeRestoreButton.text }
                }
            }
        }
    }
}
