pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// What a cleanup run did. However it closes (either button or Escape), the
// folder is scanned again.
ReportSheet {
    id: sheet

    required property DuplicateReviewModel review
    readonly property CleanupJob job: review.cleanup

    shown: job.hasReport
    onClosed: if (job.hasReport) review.closeCleanupReport()
    title: job.reportTitle
    symbol: job.reportIcon
    summary: job.reportSummary
    failureText: job.failureText
    failures: job.failures
    failuresName: qsTr("Files not moved")
    note: qsTr("Rescan the folder to refresh duplicate counts and potential savings.")
    initialFocus: closeButton

    Button {
        id: restoreButton
        text: qsTr("Restore Files")
        objectName: "restoreFilesButton"
        visible: sheet.job.canRestore
        enabled: !CleanupRestorer.isRunning
        // The sheet closes as always, and the folder is scanned again once
        // the files are back.
        onClicked: {
            CleanupRestorer.restore()
            sheet.review.closeCleanupReport()
        }
        ControlAccess { control: restoreButton; name: restoreButton.text }
    }
    Button {
        id: closeButton
        text: qsTr("Close")
        objectName: "closeReportButton"
        onClicked: sheet.review.closeCleanupReport()
        ControlAccess { control: closeButton; name: closeButton.text }
    }
    FilledButton {
        text: qsTr("Rescan Now")
        symbol: "arrow.clockwise"
        onClicked: sheet.review.closeCleanupReport()
    }
}
