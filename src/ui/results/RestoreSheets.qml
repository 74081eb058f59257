pragma ComponentBehavior: Bound
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
        // Wider where the title or the buttons need it, as in German.
        width: Math.max(440, Math.max(restoreTitle.implicitWidth, restoreButtons.implicitWidth)
                        + leftPadding + rightPadding)
        shown: sheets.restorer.isConfirming
        onClosed: sheets.restorer.cancelRestore()
        title: qsTr("Restore Files from Last Cleanup?")
        initialFocus: cancelRestoreButton

        ColumnLayout {
            anchors.fill: parent
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
                FilledButton {
                    objectName: "confirmRestoreButton"
                    text: qsTr("Restore Files")
                    onClicked: sheets.restorer.restore()
                }
            }
        }
    }

    ReportSheet {
        id: report
        objectName: "restoreReport"
        shown: sheets.restorer.hasReport
        onClosed: sheets.restorer.closeReport()
        title: sheets.restorer.reportTitle
        symbol: sheets.restorer.reportIcon
        summary: sheets.restorer.reportSummary
        failureText: sheets.restorer.failureText
        failures: sheets.restorer.failures
        failuresName: qsTr("Files not restored")
        initialFocus: closeRestoreButton

        Button {
            id: closeRestoreButton
            text: qsTr("Close")
            objectName: "closeRestoreReportButton"
            onClicked: sheets.restorer.closeReport()
            ControlAccess { control: closeRestoreButton; name: closeRestoreButton.text }
        }
    }
}
