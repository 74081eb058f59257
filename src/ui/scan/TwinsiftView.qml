import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The scan screen: choose or drop a folder, pick the minimum size, scan and
// watch; once there is a result, the results screen takes its place.
// Not bound (pragma ComponentBehavior: Bound): Qt 6.4's Loader refuses a
// bound component, and the Loader's way of discarding a screen (its context
// first) is what lets the screen's lists go quietly. The few bindings in
// the loaded components that reach this file's ids carry a qmllint
// comment for that reason.
Item {
    id: view

    required property RootNavigation navigation
    readonly property ScanScreenController controller: controller
    readonly property DuplicateScanViewModel scanModel: controller.scanModel
    readonly property bool isDropTargeted: hero.dropTargeted
    readonly property bool hasResult: scanModel.result.hasValue
    readonly property FolderChooserDialog chooser: folderChooser.builtIn
    readonly property Item dropTarget: hero
    readonly property DuplicateResultsView results: resultsLoader.item as DuplicateResultsView


    ScanScreenController {
        id: controller
        navigation: view.navigation
    }
    Component.onCompleted: controller.serveRequests()

    FolderChooser {
        id: folderChooser
        title: qsTr("Choose a folder to scan")
        currentFolder: controller.chooserStartFolder
        onChosen: folder => controller.folderChosen(folder)
        onDismissed: controller.chooserDismissed()
    }
    Connections {
        target: controller
        function onIsImporterPresentedChanged() {
            if (controller.isImporterPresented)
                folderChooser.open()
            else
                folderChooser.close()
        }
    }

    Shortcut {
        sequence: StandardKey.Open // qmllint disable unqualified
        enabled: view.enabled
        onActivated: controller.changeFolder()
    }
    // Stands for the button on screen: Rescan over a result, else Scan for
    // Duplicates, and only while that button is enabled.
    Shortcut {
        sequences: ["Ctrl+R", "F5"]
        enabled: view.enabled && (view.hasResult ? view.results !== null && view.results.canRescan
                                                 : controller.hasFolder && !view.scanModel.isScanning)
        onActivated: view.hasResult ? view.results.rescan() : controller.startScan()
    }

    // Files came back from the Trash: the result no longer says what is on
    // disk.
    Connections {
        target: CleanupRestorer
        enabled: view.hasResult
        function onReportClosed() { controller.rescan() }
    }

    // A stopped or failed scan says why, unasked.
    Announcer {
        urgent: true
        text: view.scanModel.errorMessage
    }
    // A running scan's progress is said every few seconds, never per file,
    // or a reader would say nothing else.
    Announcer {
        id: progressAnnouncer
    }
    Timer {
        interval: 5000
        repeat: true
        running: view.scanModel.isScanning
        onTriggered: progressAnnouncer.text = view.scanModel.scanProgressText
    }

    Loader {
        id: resultsLoader
        anchors.fill: parent
        active: view.hasResult
        visible: active
        sourceComponent: resultsComponent
    }

    Component {
        id: resultsComponent
        DuplicateResultsView {
            result: view.scanModel.result // qmllint disable unqualified
            isScanning: view.scanModel.isScanning // qmllint disable unqualified
            progressText: view.scanModel.scanProgressText // qmllint disable unqualified
            progressFraction: view.scanModel.scanProgressFraction // qmllint disable unqualified
            onStopScanRequested: view.controller.stop() // qmllint disable unqualified
            onChangeFolderRequested: view.controller.changeFolder() // qmllint disable unqualified
            onRescanRequested: view.controller.rescan() // qmllint disable unqualified
        }
    }

    Rectangle {
        id: landing
        anchors.fill: parent
        visible: !view.hasResult
        color: Theme.windowBackground

        GradientPanel {
            anchors.fill: parent
            colors: [Theme.windowBackground, Theme.withAlpha(Theme.softBlue, 0.72), Theme.withAlpha(Theme.teal, 0.055)]
        }

        // Scrolls only when the window is too short for the whole page.
        Flickable {
            id: page
            anchors.fill: parent
            contentWidth: width
            contentHeight: Math.max(height, column.implicitHeight + 54)
            interactive: contentHeight > height
            boundsBehavior: Flickable.StopAtBounds
            clip: true
            // A page cut off at the window's edge must show that it goes on.
            ScrollBar.vertical: ScrollBar {
                id: pageScroll
                objectName: "pageScrollBar"
                policy: page.interactive ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
                ControlAccess { control: pageScroll; role: Accessible.ScrollBar; name: qsTr("Scan screen") }
            }

        ColumnLayout {
            id: column
            x: 34
            y: 28
            width: page.width - 68
            height: page.contentHeight - 54
            spacing: 20

            // Header
            RowLayout {
                Layout.fillWidth: true
                spacing: 20
                ColumnLayout {
                    Layout.alignment: Qt.AlignTop
                    spacing: 6
                    Label {
                        objectName: "screenTitle"
                        text: qsTr("Twinsift")
                        font.family: Theme.roundedFamily
                        font.pointSize: Theme.pt(31)
                        font.bold: true
                        color: Theme.navy
                    }
                    Label {
                        text: qsTr("Find exact duplicate files without uploading anything.")
                        font.pointSize: Theme.pt(16)
                        color: Theme.secondaryText
                    }
                }
                Item {
                    Layout.fillWidth: true
                }
                Rectangle {
                    Layout.alignment: Qt.AlignTop
                    implicitWidth: badgeRow.implicitWidth + 28
                    implicitHeight: badgeRow.implicitHeight + 16
                    radius: height / 2
                    color: Theme.withAlpha(Theme.white, 0.72)
                    border.color: Theme.withAlpha(Theme.teal, 0.16)
                    border.width: 1
                    Row {
                        id: badgeRow
                        anchors.centerIn: parent
                        spacing: 5
                        SymbolIcon {
                            anchors.verticalCenter: parent.verticalCenter
                            name: "lock.shield.fill"
                            size: 12
                            color: Theme.navy
                        }
                        Label {
                            anchors.verticalCenter: parent.verticalCenter
                            text: qsTr("Local Processing")
                            font.pointSize: Theme.subheadlineSize
                            font.weight: Font.DemiBold
                            color: Theme.navy
                        }
                    }
                }
            }

            ScanHeroCard {
                id: hero
                objectName: "heroCard"
                Layout.fillWidth: true
                Layout.fillHeight: true
                // Never taller than this, whatever it shows: the content is
                // fitted in instead, so the tiles below stay where they are.
                Layout.minimumHeight: 315
                Layout.maximumHeight: 345
                Layout.preferredHeight: 345
                controller: view.controller
            }

            // Privacy strip
            RowLayout {
                Layout.fillWidth: true
                spacing: 12
                InfoPill {
                    Layout.fillWidth: true
                    icon: "lock.shield.fill"
                    title: qsTr("Private")
                    text: qsTr("Your files stay on this computer")
                    accent: Theme.privateAccent
                }
                InfoPill {
                    Layout.fillWidth: true
                    icon: "checkmark.shield.fill"
                    title: qsTr("Review First")
                    text: qsTr("Nothing changes automatically")
                    accent: Theme.reviewFirstAccent
                }
                InfoPill {
                    Layout.fillWidth: true
                    icon: "trash.fill"
                    title: qsTr("Safer Cleanup")
                    text: qsTr("Move to Trash, not permanent delete")
                    accent: Theme.saferCleanupAccent
                }
            }

            // Feature grid
            RowLayout {
                objectName: "featureGrid"
                Layout.fillWidth: true
                spacing: 16
                FeatureCard {
                    Layout.fillWidth: true
                    Layout.minimumHeight: 136
                    Layout.maximumHeight: 145
                    icon: "number"
                    title: qsTr("Exact Matches")
                    text: qsTr("Verified with file size and cryptographic hashes.")
                    accent: Theme.exactMatchesAccent
                }
                FeatureCard {
                    Layout.fillWidth: true
                    Layout.minimumHeight: 136
                    Layout.maximumHeight: 145
                    icon: "eye.fill"
                    title: qsTr("Review Before Action")
                    text: qsTr("See duplicate groups, paths and reclaimable storage.")
                    accent: Theme.reviewBeforeActionAccent
                }
                FeatureCard {
                    Layout.fillWidth: true
                    Layout.minimumHeight: 136
                    Layout.maximumHeight: 145
                    icon: "externaldrive.fill"
                    title: qsTr("Local-First")
                    text: qsTr("Scanning and comparison happen locally on your computer.")
                    accent: Theme.localFirstAccent
                }
            }

            Item {
                Layout.fillHeight: true
            }
        }
    }
    }
}
