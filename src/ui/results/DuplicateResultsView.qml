pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The results screen: one scan result, the review of it and its cleanup. The
// scan screen embeds it while its controller holds a result and keeps it
// shown across rescans, so a new result keeps the review state.
Rectangle {
    id: root

    required property var result
    required property bool isScanning
    required property string progressText
    // undefined, or a fraction 0…1.
    required property var progressFraction
    signal stopScanRequested()
    signal changeFolderRequested()
    signal rescanRequested()

    readonly property DuplicateReviewModel review: reviewModel
    readonly property ListView resultGrid: grid
    // The Rescan button's rule; the window's rescan keys follow it too, so a
    // key can never do what the disabled button refuses.
    readonly property bool canRescan: !root.isScanning && !reviewModel.cleanup.isRunning

    function rescan() {
        if (canRescan)
            reviewModel.rescan()
    }

    color: Theme.windowBackground

    DuplicateReviewModel {
        id: reviewModel
        result: root.result
        onRescanRequested: root.rescanRequested()
        onChangeFolderRequested: root.changeFolderRequested()
        onDesktopUnanswered: message => desktopNotice.show(message)
    }

    // The window's Edit menu undoes these marks while they are shown.
    Binding {
        target: root.ApplicationWindow.menuBar
        when: root.ApplicationWindow.menuBar !== null
        property: "marks"
        value: reviewModel.marks
        restoreMode: Binding.RestoreBindingOrValue
    }

    // Undoes the last click, bulk mark or "Clear Selection"; a focused text
    // field keeps Ctrl+Z for its own text.
    Shortcut {
        sequences: [StandardKey.Undo] // qmllint disable unqualified
        enabled: reviewModel.marks.canUndo
        onActivated: reviewModel.marks.undo()
    }

    Shortcut {
        sequences: [StandardKey.Find] // qmllint disable unqualified
        onActivated: (grid.aboveItem as ResultsOverview)?.focusSearch()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        // --- Header ----------------------------------------------------------
        Rectangle {
            Layout.fillWidth: true
            implicitHeight: headerRow.implicitHeight + 32
            color: Theme.controlBackground

            RowLayout {
                id: headerRow
                anchors.fill: parent
                anchors.margins: 16
                anchors.leftMargin: 20
                anchors.rightMargin: 20
                spacing: 16

                ColumnLayout {
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignTop
                    spacing: 5
                    Label {
                        text: qsTr("Duplicate Scan Results")
                        color: Theme.navy
                        font.pointSize: Theme.title2Size
                        font.weight: Font.Bold
                    }
                    Label {
                        id: folderLabel
                        Layout.fillWidth: true
                        text: reviewModel.folderPath
                        elide: Text.ElideMiddle
                        maximumLineCount: 1
                        color: Theme.secondaryText
                        font.pointSize: Theme.subheadlineSize
                        HoverTip { text: reviewModel.folderPath }
                    }
                    Rectangle {
                        implicitWidth: verifiedRow.implicitWidth + 16
                        implicitHeight: 22
                        radius: 11
                        color: Theme.withAlpha(Theme.teal, 0.12)
                        HoverTip {
                            text: qsTr("Exact duplicates are verified locally using matching file size and matching SHA-256 content hash.")
                        }
                        Row {
                            id: verifiedRow
                            anchors.centerIn: parent
                            spacing: 4
                            SymbolIcon { name: "checkmark.shield.fill"; color: Theme.teal; size: Theme.captionPoints }
                            Label { text: qsTr("SHA-256 Verified"); color: Theme.teal; font.pointSize: Theme.captionSize; font.weight: Font.DemiBold }
                        }
                    }
                    Row {
                        spacing: 5
                        SymbolIcon { name: "line.3.horizontal.decrease.circle"; color: Theme.secondaryText; size: Theme.subheadlinePoints }
                        Label { text: reviewModel.ignoredSmallFilesText; color: Theme.secondaryText; font.pointSize: Theme.subheadlineSize }
                    }
                    Row {
                        visible: reviewModel.skippedFilesText !== ""
                        spacing: 5
                        HoverTip {
                            text: qsTr("Some files or folders could not be accessed or read. Duplicate results may therefore be incomplete.")
                        }
                        SymbolIcon { name: "exclamationmark.triangle.fill"; color: Theme.orange; size: Theme.subheadlinePoints }
                        Label { text: reviewModel.skippedFilesText; color: Theme.orange; font.pointSize: Theme.subheadlineSize }
                    }
                }

                ColumnLayout {
                    visible: root.isScanning
                    Layout.alignment: Qt.AlignVCenter
                    Layout.maximumWidth: 260
                    spacing: 4
                    Label {
                        Layout.fillWidth: true
                        text: root.progressText
                        elide: Text.ElideRight
                        color: Theme.secondaryText
                        font.pointSize: Theme.captionSize
                    }
                    ProgressBar {
                        visible: root.progressFraction !== undefined
                        Layout.fillWidth: true
                        value: root.progressFraction === undefined ? 0 : root.progressFraction
                    }
                    Spinner {
                        visible: root.progressFraction === undefined
                        running: visible
                        color: Theme.secondaryText
                        size: Theme.title3Points
                    }
                }
                ActionButton {
                    toolbar: true
                    Layout.alignment: Qt.AlignVCenter
                    text: qsTr("Change Folder")
                    symbol: "folder"
                    tip: qsTr("Choose a different folder to scan.")
                    onClicked: reviewModel.changeFolder()
                }
                ActionButton {
                    toolbar: true
                    visible: root.isScanning
                    Layout.alignment: Qt.AlignVCenter
                    objectName: "stopScanButton"
                    text: qsTr("Stop Scan")
                    symbol: "stop.circle.fill"
                    prominent: true
                    tint: Theme.red
                    tip: qsTr("Stop the current scan safely.")
                    enabled: !reviewModel.cleanup.isRunning
                    onClicked: root.stopScanRequested()
                }
                ActionButton {
                    toolbar: true
                    visible: !root.isScanning
                    Layout.alignment: Qt.AlignVCenter
                    objectName: "rescanButton"
                    text: qsTr("Rescan")
                    symbol: "arrow.clockwise"
                    prominent: true
                    tint: Theme.teal
                    tip: qsTr("Scan the selected folder again and refresh the results.")
                    enabled: root.canRescan
                    onClicked: root.rescan()
                }
            }
        }
        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.separator
        }

        // --- Cards, categories and the table, scrolling as one -------------
        ResultGrid {
            id: grid
            objectName: "resultGrid"
            Layout.fillWidth: true
            Layout.fillHeight: true
            review: reviewModel
            above: ResultsOverview {
                review: reviewModel
            }
        }

        // --- Cleanup bar -----------------------------------------------------
        Rectangle {
            id: cleanupBar
            visible: reviewModel.selectedCount > 0
            Layout.fillWidth: true
            implicitHeight: barColumn.implicitHeight + 24
            color: Theme.controlBackground
            Rectangle { width: parent.width; height: 1; color: Theme.separator }

            ColumnLayout {
                id: barColumn
                anchors.fill: parent
                anchors.margins: 12
                anchors.leftMargin: 20
                anchors.rightMargin: 20
                spacing: 6
                RowLayout {
                    spacing: 14
                    Row {
                        spacing: 6
                        SymbolIcon { name: "trash"; color: Theme.red; size: Theme.bodyPoints }
                        Label { text: reviewModel.selectedCountText; color: Theme.primaryText; font.pointSize: Theme.bodySize; font.weight: Font.DemiBold }
                    }
                    Label { text: reviewModel.selectedBytesLabel; color: Theme.secondaryText; font.pointSize: Theme.bodySize }
                    Item { Layout.fillWidth: true }
                    ActionButton {
                        toolbar: true
                        text: qsTr("Clear Selection")
                        onClicked: reviewModel.clearSelection()
                    }
                    ActionButton {
                        objectName: "reviewCleanupButton"
                        toolbar: true
                        text: qsTr("Review Cleanup")
                        symbol: "checklist"
                        prominent: true
                        tint: Theme.navy
                        onClicked: reviewModel.showCleanupReview = true
                    }
                }
            }
        }

        // What the last bulk mark did, until the marks change again.
        Rectangle {
            objectName: "markFeedback"
            visible: reviewModel.marks.feedback !== ""
            Layout.fillWidth: true
            implicitHeight: feedbackLabel.implicitHeight + 14
            color: Theme.controlBackground
            Rectangle { width: parent.width; height: 1; color: Theme.separator }
            Row {
                anchors.left: parent.left
                anchors.leftMargin: 20
                anchors.verticalCenter: parent.verticalCenter
                spacing: 6
                SymbolIcon { name: "checklist"; color: Theme.teal; size: Theme.subheadlinePoints }
                Label {
                    id: feedbackLabel
                    text: reviewModel.marks.feedback
                    color: Theme.secondaryText
                    font.pointSize: Theme.subheadlineSize
                }
            }
        }
    }

    // Said once per finished scan and once per finished cleanup.
    Announcer {
        objectName: "scanAnnouncer"
        text: root.isScanning ? "" : reviewModel.resultAnnouncement
    }
    Announcer {
        objectName: "cleanupAnnouncer"
        urgent: true
        text: reviewModel.cleanup.hasReport
              ? qsTr("%1. %2").arg(reviewModel.cleanup.reportTitle).arg(reviewModel.cleanup.reportSummary) : ""
    }

    CleanupReviewSheet { review: reviewModel }
    CleanupResultSheet { review: reviewModel }
    ReviewAlert {
        id: keepOneCopyAlert
        objectName: "keepOneCopyAlert"
        shown: reviewModel.hasCleanupGuardMessage
        title: qsTr("Keep at Least One Copy")
        message: reviewModel.cleanupGuardMessage !== "" ? reviewModel.cleanupGuardMessage
                                                       : qsTr("At least one copy must remain.")
        onDismissed: reviewModel.dismissCleanupGuard()
    }
    ReviewAlert {
        id: protectedLocationAlert
        objectName: "protectedLocationAlert"
        shown: reviewModel.hasProtectedLocationMessage
        title: qsTr("Protected Location — Review Only")
        message: reviewModel.protectedLocationMessage !== "" ? reviewModel.protectedLocationMessage
                                                            : qsTr("Exact duplicate found. Ambrivo does not move files from system- or application-managed locations. Use Open File or Show in Folder to review manually.")
        onDismissed: reviewModel.dismissProtectedLocation()
    }

    // Beside the rows whose actions hand files to the desktop.
    DesktopNotice {
        id: desktopNotice
        objectName: "desktopNotice"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: cleanupBar.visible ? cleanupBar.height + 12 : 12
    }

    Announcer {
        urgent: true
        text: keepOneCopyAlert.opened ? keepOneCopyAlert.message
                                      : protectedLocationAlert.opened ? protectedLocationAlert.message : ""
    }
}
