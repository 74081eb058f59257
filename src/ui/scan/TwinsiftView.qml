import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The scan screen: choose or drop a folder, pick the minimum size, scan and
// watch; once there is a result, the results screen takes its place.
Item {
    id: view

    required property RootNavigation navigation
    readonly property ScanScreenController controller: controller
    readonly property DuplicateScanViewModel scanModel: controller.scanModel
    readonly property bool isDropTargeted: dropArea.containsDrag
    readonly property bool hasResult: scanModel.result.hasValue
    readonly property FolderChooserDialog chooser: folderChooser.builtIn
    readonly property Item dropTarget: hero
    readonly property Item results: resultsLoader.item

    readonly property real heroRadius: 28

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
        sequence: StandardKey.Open
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
            result: view.scanModel.result
            isScanning: view.scanModel.isScanning
            progressText: view.scanModel.scanProgressText
            progressFraction: view.scanModel.scanProgressFraction
            onStopScanRequested: controller.stop()
            onChangeFolderRequested: controller.changeFolder()
            onRescanRequested: controller.rescan()
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

            // Hero card and drop zone
            Item {
                id: hero
                objectName: "heroCard"
                Layout.fillWidth: true
                Layout.fillHeight: true
                // Never taller than this, whatever it shows: the content is
                // fitted in instead, so the tiles below stay where they are.
                Layout.minimumHeight: 315
                Layout.maximumHeight: 345
                Layout.preferredHeight: 345

                // The content's own height without the badge and the gaps, to
                // work out the gaps, margins and badge that fit it in.
                readonly property var fit: {
                    let sum = 0, count = 0
                    for (let i = 0; i < heroContent.children.length; ++i) {
                        const child = heroContent.children[i]
                        if (!child.visible)
                            continue
                        ++count
                        if (child !== heroBadge)
                            sum += child.implicitHeight
                    }
                    const gaps = Math.max(1, count - 1)
                    const roomy = sum + 82 + gaps * 15 + 60 <= height
                    const badge = sum + 82 + gaps * 6 + 32 <= height ? 82 : 56
                    const margin = roomy ? 30 : Math.max(16, Math.min(30, (height - sum - badge - gaps * 6) / 2))
                    const spacing = roomy ? 15 : Math.max(6, Math.min(15, (height - 2 * margin - sum - badge) / gaps))
                    return { badge: badge, margin: margin, spacing: spacing }
                }

                GradientPanel {
                    anchors.fill: parent
                    radius: view.heroRadius
                    colors: [Theme.withAlpha(Theme.white, 0.88), Theme.withAlpha(Theme.softBlue, 0.88), Theme.withAlpha(Theme.teal, 0.08)]
                    borderColor: Theme.withAlpha(Theme.teal, view.isDropTargeted ? 0.85 : 0.3)
                    borderWidth: view.isDropTargeted ? 2.5 : 1.8
                    shadowColor: Theme.withAlpha(Theme.navy, 0.1)
                    shadowBlur: 24
                    shadowOffsetY: 12
                }

                DropArea {
                    id: dropArea
                    anchors.fill: parent
                    onEntered: drag => drag.accepted = drag.hasUrls
                    onDropped: drop => {
                        if (controller.dropUrls(drop.urls))
                            drop.accept(Qt.CopyAction)
                        else
                            drop.accepted = false
                    }
                }

                ColumnLayout {
                    id: heroContent
                    objectName: "heroContent"
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.leftMargin: 28
                    anchors.rightMargin: 28
                    spacing: hero.fit.spacing

                    // Round badge
                    Item {
                        id: heroBadge
                        Layout.alignment: Qt.AlignHCenter
                        implicitWidth: hero.fit.badge
                        implicitHeight: hero.fit.badge
                        GradientPanel {
                            anchors.fill: parent
                            radius: width / 2
                            colors: [Theme.withAlpha(Theme.teal, 0.2), Theme.withAlpha(Theme.systemAccent, 0.15)]
                        }
                        SymbolIcon {
                            anchors.centerIn: parent
                            name: "doc.on.doc.fill"
                            size: 35 * hero.fit.badge / 82
                            color: Theme.navy
                        }
                    }

                    Label {
                        objectName: "heroTitle"
                        Layout.alignment: Qt.AlignHCenter
                        text: controller.hasFolder ? qsTr("Ready to scan") : qsTr("Choose a folder to scan")
                        font.family: Theme.roundedFamily
                        font.pointSize: Theme.pt(22)
                        font.weight: Font.DemiBold
                        color: Theme.navy
                    }
                    Label {
                        Layout.alignment: Qt.AlignHCenter
                        Layout.maximumWidth: 610
                        Layout.fillWidth: true
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.WordWrap
                        lineHeight: 1.1
                        text: controller.hasFolder
                              ? qsTr("Exact matches are verified by file size and SHA-256 content hash. Filenames do not have to match.")
                              : qsTr("We’ll identify exact duplicate files and let you review everything before any action is taken.")
                        font.pointSize: Theme.pt(14.5)
                        color: Theme.secondaryText
                    }

                    // Folder capsule
                    Rectangle {
                        visible: controller.hasFolder
                        Layout.alignment: Qt.AlignHCenter
                        Layout.maximumWidth: Math.min(760, hero.width - 56)
                        implicitWidth: capsuleRow.implicitWidth + 32
                        implicitHeight: capsuleRow.implicitHeight + 20
                        radius: height / 2
                        color: Theme.withAlpha(Theme.white, 0.72)
                        RowLayout {
                            id: capsuleRow
                            anchors.fill: parent
                            anchors.leftMargin: 16
                            anchors.rightMargin: 16
                            spacing: 9
                            SymbolIcon {
                                name: "folder.fill"
                                size: 13
                                color: Theme.teal
                            }
                            Label {
                                Layout.fillWidth: true
                                text: controller.selectedFolderText
                                elide: Text.ElideMiddle
                                maximumLineCount: 1
                                font.pointSize: Theme.subheadlineSize
                                font.weight: Font.Medium
                                color: Theme.primaryText
                            }
                        }
                    }

                    // Controls row
                    RowLayout {
                        visible: controller.hasFolder
                        Layout.alignment: Qt.AlignHCenter
                        spacing: 12
                        ActionButton {
                            objectName: "changeFolderButton"
                            text: qsTr("Change Folder")
                            symbol: "folder"
                            large: true
                            onClicked: controller.changeFolder()
                        }
                        Label {
                            text: qsTr("Minimum file size:")
                            font.pointSize: Theme.captionSize
                            font.weight: Font.Medium
                            color: Theme.secondaryText
                        }
                        ComboBox {
                            id: sizePicker
                            objectName: "sizePicker"
                            Layout.preferredWidth: 86
                            enabled: !view.scanModel.isScanning
                            model: view.scanModel.minimumFileSizeOptions
                            textRole: "label"
                            valueRole: "id"
                            font.pointSize: Theme.pt(12)
                            currentIndex: count > 0 ? indexOfValue(view.scanModel.minimumFileSize) : -1
                            onActivated: view.scanModel.minimumFileSize = currentValue
                            ControlAccess {
                                control: sizePicker
                                role: Accessible.ComboBox
                                name: qsTr("Minimum file size: %1").arg(sizePicker.displayText)
                                press: () => sizePicker.popup.open()
                            }
                        }
                        PersistentStopButton {
                            objectName: "stopScanButton"
                            visible: view.scanModel.isScanning
                            text: qsTr("Stop Scan")
                            ToolTip.text: qsTr("Stop the current scan safely.")
                            ToolTip.visible: hovered
                            ToolTip.delay: 600
                            onClicked: controller.stop()
                        }
                        ActionButton {
                            objectName: "scanButton"
                            visible: !view.scanModel.isScanning
                            Layout.minimumWidth: 190
                            text: qsTr("Scan for Duplicates")
                            symbol: "magnifyingglass"
                            prominent: true
                            tint: Theme.teal
                            large: true
                            onClicked: controller.startScan()
                        }
                    }

                    // Progress block
                    ColumnLayout {
                        visible: controller.hasFolder && view.scanModel.isScanning
                        Layout.alignment: Qt.AlignHCenter
                        Layout.preferredWidth: Math.min(760, hero.width - 56)
                        Layout.maximumWidth: 760
                        spacing: 7
                        Row {
                            Label {
                                text: controller.progressParts[0] ?? ""
                                font.pointSize: Theme.captionSize
                                font.weight: Font.Medium
                                color: controller.progressParts.length === 2 ? Theme.primaryText : Theme.secondaryText
                            }
                            Label {
                                visible: controller.progressParts.length === 2
                                text: " · "
                                font.pointSize: Theme.captionSize
                                font.weight: Font.Medium
                                color: Theme.tertiaryText
                            }
                            Label {
                                visible: controller.progressParts.length === 2
                                text: controller.progressParts[1] ?? ""
                                font.pointSize: Theme.captionSize
                                font.weight: Font.Medium
                                color: Theme.withAlpha(Theme.orange, 0.9)
                            }
                        }
                        ProgressBar {
                            id: progressBar
                            objectName: "scanProgressBar"
                            Layout.fillWidth: true
                            Layout.preferredHeight: 6
                            value: controller.progressFraction ?? 0

                            // Without a fraction a segment sweeps along the bar, one step
                            // for each change shown. The style's own indeterminate bar
                            // animates every frame, and without a GPU those frames take
                            // the cores the scan hashes on.
                            Rectangle {
                                readonly property int steps: 6
                                visible: controller.progressFraction === undefined
                                x: 1 + (controller.progressStep % steps) * (progressBar.width - 2) / steps
                                y: 1
                                width: (progressBar.width - 2) / steps
                                height: progressBar.height - 2
                                radius: 1
                                color: Theme.withAlpha(Theme.systemAccent, 0.55)
                            }
                        }
                    }

                    // No folder yet
                    ActionButton {
                        objectName: "selectFolderButton"
                        visible: !controller.hasFolder
                        Layout.alignment: Qt.AlignHCenter
                        Layout.minimumWidth: 170
                        text: qsTr("Select Folder")
                        symbol: "folder.badge.plus"
                        prominent: true
                        tint: Theme.teal
                        large: true
                        onClicked: controller.selectFolder()
                    }
                    Label {
                        visible: !controller.hasFolder
                        Layout.alignment: Qt.AlignHCenter
                        text: qsTr("or drag a folder here")
                        font.pointSize: Theme.subheadlineSize
                        color: Theme.tertiaryText
                    }

                    Label {
                        objectName: "errorMessage"
                        visible: view.scanModel.errorMessage !== ""
                        Layout.alignment: Qt.AlignHCenter
                        Layout.maximumWidth: hero.width - 56
                        wrapMode: Text.WordWrap
                        horizontalAlignment: Text.AlignHCenter
                        text: view.scanModel.errorMessage
                        font.pointSize: Theme.captionSize
                        color: Theme.red
                    }
                }
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
