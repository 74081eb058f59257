import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// What a cleanup run did. However it closes (either button or Escape), the
// folder is scanned again.
ModalSheet {
    id: sheet

    required property DuplicateReviewModel review
    readonly property CleanupJob job: review.cleanup
    readonly property bool shown: job.hasReport
    readonly property bool warnings: job.failureText !== ""

    width: 560
    height: Math.min(parent ? parent.height - 60 : 600, implicitHeight)
    onShownChanged: shown ? open() : close()
    Component.onCompleted: if (shown) open()
    onClosed: if (job.hasReport) review.closeCleanupReport()
    title: job.reportTitle
    initialFocus: closeButton

    contentItem: ColumnLayout {
        spacing: 12
        SymbolIcon {
            Layout.alignment: Qt.AlignHCenter
            name: sheet.job.reportIcon
            color: sheet.warnings ? Theme.orange : Theme.green
            size: 34
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: sheet.job.reportTitle
            color: Theme.primaryText
            font.pointSize: Theme.title2Size
            font.weight: Font.Bold
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: sheet.job.reportSummary
            color: Theme.primaryText
            font.pointSize: Theme.bodySize
        }
        Label {
            visible: sheet.warnings
            text: sheet.job.failureText
            color: Theme.orange
            font.pointSize: Theme.bodySize
            font.weight: Font.DemiBold
        }
        ListView {
            visible: sheet.warnings
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: visible ? 60 : 0
            implicitHeight: Math.min(contentHeight, 200)
            clip: true
            spacing: 6
            model: sheet.job.failures
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {
                id: failureScroll
                ControlAccess { control: failureScroll; role: Accessible.ScrollBar; name: qsTr("Files not moved") }
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
        Label {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: qsTr("Rescan the folder to refresh duplicate counts and potential savings.")
            wrapMode: Text.Wrap
            color: Theme.secondaryText
            font.pointSize: Theme.subheadlineSize
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            spacing: 10
            Button {
                id: restoreButton
                text: qsTr("Restore Files")
                objectName: "restoreFilesButton"
                visible: sheet.job.canRestore
                enabled: !CleanupRestorer.isRunning
                // The sheet closes as always, and the folder is scanned
                // again once the files are back.
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
            Button {
                id: rescanNow
                onClicked: sheet.review.closeCleanupReport()
                ControlAccess { control: rescanNow; name: qsTr("Rescan Now") }
                background: Rectangle {
                    radius: 6
                    color: rescanNow.down ? Qt.darker(Theme.teal, 1.15) : Theme.teal
                    border.width: rescanNow.visualFocus ? 2 : 0
                    border.color: Theme.systemAccent
                }
                contentItem: RowLayout {
                    spacing: 6
                    SymbolIcon { name: "arrow.clockwise"; color: Theme.white; size: Theme.bodyPoints }
                    Label { text: qsTr("Rescan Now"); color: Theme.white; font.pointSize: Theme.bodySize; font.weight: Font.DemiBold }
                }
            }
        }
    }
}
