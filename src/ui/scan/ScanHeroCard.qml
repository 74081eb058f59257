pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The scan screen's card and drop zone: the folder to scan, the minimum
// size, the Scan and Stop buttons and the progress, or the invitation to
// choose or drop a folder. Its content is fitted into whatever height the
// page gives it.
Item {
    id: hero

    required property ScanScreenController controller
    readonly property DuplicateScanViewModel scanModel: controller.scanModel
    readonly property bool dropTargeted: dropArea.containsDrag

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
        radius: Theme.heroRadius
        colors: [Theme.withAlpha(Theme.white, 0.88), Theme.withAlpha(Theme.softBlue, 0.88), Theme.withAlpha(Theme.teal, 0.08)]
        borderColor: Theme.withAlpha(Theme.teal, hero.dropTargeted ? 0.85 : 0.3)
        borderWidth: hero.dropTargeted ? 2.5 : 1.8
        shadowColor: Theme.withAlpha(Theme.navy, 0.1)
        shadowBlur: 24
        shadowOffsetY: 12
    }

    DropArea {
        id: dropArea
        anchors.fill: parent
        onEntered: drag => drag.accepted = drag.hasUrls
        onDropped: drop => {
            if (hero.controller.dropUrls(drop.urls))
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
            text: hero.controller.hasFolder ? qsTr("Ready to scan") : qsTr("Choose a folder to scan")
            font.family: Theme.roundedFamily
            font.pointSize: Theme.headingSize
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
            text: hero.controller.hasFolder
                  ? qsTr("Exact matches are verified by file size and SHA-256 content hash. Filenames do not have to match.")
                  : qsTr("We’ll identify exact duplicate files and let you review everything before any action is taken.")
            font.pointSize: Theme.pt(14.5)
            color: Theme.secondaryText
        }

        // Folder capsule
        Rectangle {
            visible: hero.controller.hasFolder
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
                    text: hero.controller.selectedFolderText
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
            visible: hero.controller.hasFolder
            Layout.alignment: Qt.AlignHCenter
            spacing: 12
            ActionButton {
                objectName: "changeFolderButton"
                text: qsTr("Change Folder")
                symbol: "folder"
                large: true
                onClicked: hero.controller.changeFolder()
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
                enabled: !hero.scanModel.isScanning
                model: hero.scanModel.minimumFileSizeOptions
                textRole: "label"
                valueRole: "id"
                font.pointSize: Theme.footnoteSize
                currentIndex: count > 0 ? indexOfValue(hero.scanModel.minimumFileSize) : -1
                onActivated: hero.scanModel.minimumFileSize = currentValue
                ControlAccess {
                    control: sizePicker
                    role: Accessible.ComboBox
                    name: qsTr("Minimum file size: %1").arg(sizePicker.displayText)
                    press: () => sizePicker.popup.open()
                }
            }
            PersistentStopButton {
                objectName: "stopScanButton"
                visible: hero.scanModel.isScanning
                text: qsTr("Stop Scan")
                tip: qsTr("Stop the current scan safely.")
                onClicked: hero.controller.stop()
            }
            ActionButton {
                objectName: "scanButton"
                visible: !hero.scanModel.isScanning
                Layout.minimumWidth: 190
                text: qsTr("Scan for Duplicates")
                symbol: "magnifyingglass"
                prominent: true
                tint: Theme.teal
                large: true
                onClicked: hero.controller.startScan()
            }
        }

        // Progress block
        ColumnLayout {
            visible: hero.controller.hasFolder && hero.scanModel.isScanning
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: Math.min(760, hero.width - 56)
            Layout.maximumWidth: 760
            spacing: 7
            Row {
                Label {
                    text: hero.controller.progressParts[0] ?? ""
                    font.pointSize: Theme.captionSize
                    font.weight: Font.Medium
                    color: hero.controller.progressParts.length === 2 ? Theme.primaryText : Theme.secondaryText
                }
                Label {
                    visible: hero.controller.progressParts.length === 2
                    text: " · "
                    font.pointSize: Theme.captionSize
                    font.weight: Font.Medium
                    color: Theme.tertiaryText
                }
                Label {
                    visible: hero.controller.progressParts.length === 2
                    text: hero.controller.progressParts[1] ?? ""
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
                value: hero.controller.progressFraction ?? 0

                // Without a fraction a segment sweeps along the bar, one step
                // for each change shown. The style's own indeterminate bar
                // animates every frame, and without a GPU those frames take
                // the cores the scan hashes on.
                Rectangle {
                    readonly property int steps: 6
                    visible: hero.controller.progressFraction === undefined
                    x: 1 + (hero.controller.progressStep % steps) * (progressBar.width - 2) / steps
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
            visible: !hero.controller.hasFolder
            Layout.alignment: Qt.AlignHCenter
            Layout.minimumWidth: 170
            text: qsTr("Select Folder")
            symbol: "folder.badge.plus"
            prominent: true
            tint: Theme.teal
            large: true
            onClicked: hero.controller.selectFolder()
        }
        Label {
            visible: !hero.controller.hasFolder
            Layout.alignment: Qt.AlignHCenter
            text: qsTr("or drag a folder here")
            font.pointSize: Theme.subheadlineSize
            color: Theme.tertiaryText
        }

        Label {
            objectName: "errorMessage"
            visible: hero.scanModel.errorMessage !== ""
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: hero.width - 56
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            text: hero.scanModel.errorMessage
            font.pointSize: Theme.captionSize
            color: Theme.red
        }
    }
}

