pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The built-in guide: how a scan works, what the results mean, how cleanup
// stays safe, and three common questions. Back and Escape close it.
Item {
    id: guide

    signal close()

    // The three questions, for tests and for keyboard users to reach.
    readonly property alias questions: questionRepeater

    function scrollToEnd() {
        const flickable = scroller.contentItem as Flickable
        flickable.contentY = Math.max(0, flickable.contentHeight - flickable.height)
    }

    Shortcut {
        sequences: [StandardKey.Cancel] // qmllint disable unqualified
        onActivated: guide.close()
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.windowBackground
        // Clicks and wheel turns on the page never reach the screen below.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            onWheel: wheel => wheel.accepted = true
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 24
            Layout.rightMargin: 24
            Layout.topMargin: 18
            Layout.bottomMargin: 18
            spacing: 16
            ColumnLayout {
                spacing: 4
                Label {
                    objectName: "guideTitle"
                    text: qsTr("How to Use Twinsift")
                    font.family: Theme.roundedFamily
                    font.pointSize: Theme.pt(38)
                    font.bold: true
                    color: Theme.primaryText
                }
                Label {
                    text: qsTr("Ambrivo · Private, local duplicate review")
                    font.pointSize: Theme.guideTextSize
                    color: Theme.secondaryText
                }
            }
            Item {
                Layout.fillWidth: true
            }
            Button {
                id: backButton
                objectName: "backButton"
                text: qsTr("Back")
                onClicked: guide.close()
                ControlAccess { control: backButton; name: backButton.text }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.separator
        }

        ScrollView {
            id: scroller
            objectName: "guideScroll"
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth
            contentHeight: column.implicitHeight + 48
            ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
            ScrollBar.vertical: ScrollBar {
                id: guideScroll
                parent: scroller
                x: scroller.mirrored ? 0 : scroller.width - width
                y: scroller.topPadding
                height: scroller.availableHeight
                active: scroller.ScrollBar.horizontal.active
                policy: ScrollBar.AlwaysOn
                ControlAccess { control: guideScroll; role: Accessible.ScrollBar; name: qsTr("How to Use Twinsift") }
            }

            ColumnLayout {
                id: column
                width: Math.min(scroller.availableWidth - 48, 1180)
                x: (scroller.availableWidth - width) / 2
                y: 24
                spacing: 18

                Rectangle {
                    Layout.fillWidth: true
                    implicitHeight: intro.implicitHeight + 36
                    radius: Theme.sectionRadius
                    color: Theme.withAlpha(Theme.systemAccent, 0.08)
                    RowLayout {
                        id: intro
                        anchors.fill: parent
                        anchors.margins: 18
                        spacing: 14
                        SymbolIcon {
                            Layout.alignment: Qt.AlignTop
                            name: "doc.on.doc.fill"
                            size: 30
                            color: Theme.systemAccent
                        }
                        ColumnLayout {
                            Layout.fillWidth: true
                            spacing: 6
                            Label {
                                Layout.fillWidth: true
                                text: qsTr("Find exact duplicates without uploading your files.")
                                font.pointSize: Theme.headingSize
                                font.weight: Font.DemiBold
                                color: Theme.primaryText
                                wrapMode: Text.WordWrap
                            }
                            Label {
                                Layout.fillWidth: true
                                text: qsTr("Twinsift is designed around review first: scan locally, verify exact matches, inspect the copies, and take action only when you choose.")
                                font.pointSize: Theme.bodySize
                                color: Theme.secondaryText
                                wrapMode: Text.WordWrap
                            }
                        }
                    }
                }

                HelpSection {
                    title: qsTr("Quick Start")
                    icon: "1.circle.fill"
                    HelpStep {
                        number: qsTr("1")
                        title: qsTr("Choose a folder")
                        detail: qsTr("Select Folder, or drag a folder into Twinsift.")
                    }
                    HelpStep {
                        number: qsTr("2")
                        title: qsTr("Scan locally")
                        detail: qsTr("Click Scan for Duplicates. Your files stay on this computer; nothing is uploaded.")
                    }
                    HelpStep {
                        number: qsTr("3")
                        title: qsTr("Review the results")
                        detail: qsTr("Exact duplicates are verified using both file size and SHA-256 content hash.")
                    }
                    HelpStep {
                        number: qsTr("4")
                        title: qsTr("Choose cleanup only when ready")
                        detail: qsTr("Nothing changes automatically. Review selected copies before anything is moved to Trash.")
                    }
                }

                HelpBulletSection {
                    title: qsTr("Understanding the Results")
                    icon: "square.stack.3d.up.fill"
                    bullets: [
                        ["checkmark.shield.fill", Theme.green, qsTr("Exact Duplicates — same file size and same SHA-256 content hash. Filenames may be different.")],
                        ["doc.text.magnifyingglass", Theme.blue, qsTr("Same Name + Size — useful for review, but not treated as a verified exact duplicate unless content also matches.")],
                        ["doc.text", Theme.purple, qsTr("Same Name — informational matches that may have different content or sizes.")],
                        ["sparkles", Theme.secondaryText, qsTr("Similar Files is planned for a future version and is not active in v1.")]
                    ]
                }

                HelpBulletSection {
                    title: qsTr("What Gets Scanned")
                    icon: "magnifyingglass"
                    bullets: [
                        ["doc.fill", Theme.blue, qsTr("Regular files that are 1 KB or larger are eligible for scanning.")],
                        ["minus.circle", Theme.secondaryText, qsTr("Files smaller than 1 KB are ignored and shown separately in the scan summary.")],
                        ["eye.slash", Theme.secondaryText, qsTr("Hidden files and package contents are skipped.")],
                        ["link", Theme.secondaryText, qsTr("Symbolic links are not treated as normal files for duplicate cleanup.")]
                    ]
                }

                HelpBulletSection {
                    title: qsTr("Reviewing Individual Files")
                    icon: "eye.fill"
                    bullets: [
                        ["cursorarrow.click.2", Theme.blue, qsTr("Click a filename to open that file in its default application.")],
                        ["ellipsis.circle", Theme.blue, qsTr("Use the … menu for Open File or Show in Folder.")],
                        ["folder", Theme.secondaryText, qsTr("Show in Folder is useful when you want to inspect the surrounding folder before making a decision.")]
                    ]
                }

                HelpBulletSection {
                    title: qsTr("Safer Cleanup")
                    icon: "trash.fill"
                    bullets: [
                        ["hand.raised.fill", Theme.orange, qsTr("Nothing is removed automatically. You choose which verified duplicate copies to mark.")],
                        ["checklist", Theme.orange, qsTr("Review Cleanup shows the selected files again before cleanup begins.")],
                        ["trash", Theme.orange, qsTr("Ambrivo moves approved files to the Trash. It does not permanently delete them.")],
                        ["doc.badge.checkmark", Theme.green, qsTr("At least one copy of a duplicate group must remain.")]
                    ]
                }

                HelpBulletSection {
                    title: qsTr("Protected Locations")
                    icon: "lock.shield.fill"
                    bullets: [
                        ["lock.fill", Theme.orange, qsTr("System- and application-managed locations are Review Only.")],
                        ["desktopcomputer", Theme.orange, qsTr("Examples include System, Library, Applications, private system areas, and your user Library.")],
                        ["eye", Theme.blue, qsTr("Protected duplicates are still shown so you can inspect them.")],
                        ["folder.badge.questionmark", Theme.orange, qsTr("Ambrivo will not move protected files to Trash. Use Open File or Show in Folder and make any manual decision yourself.")]
                    ]
                }

                HelpBulletSection {
                    title: qsTr("Scan Controls")
                    icon: "arrow.clockwise"
                    bullets: [
                        ["stop.fill", Theme.red, qsTr("Stop Scan cancels an active scan safely.")],
                        ["arrow.clockwise", Theme.blue, qsTr("Rescan refreshes results for the selected folder.")],
                        ["plus.circle", Theme.blue, qsTr("New Scan returns to the ready screen and opens the folder chooser immediately.")],
                        ["folder", Theme.blue, qsTr("Change Folder cancels any active scan before switching locations.")]
                    ]
                }

                HelpBulletSection {
                    title: qsTr("Privacy & Local Processing")
                    icon: "lock.fill"
                    bullets: [
                        ["externaldrive.fill", Theme.green, qsTr("Scanning, file-size comparison and SHA-256 verification happen locally on your computer.")],
                        ["icloud.slash", Theme.green, qsTr("Twinsift does not require uploading your source files to Ambrivo.")],
                        ["checkmark.shield.fill", Theme.green, qsTr("Cleanup requires explicit review; the app does not silently alter source files.")]
                    ]
                }

                HelpBulletSection {
                    title: qsTr("Current v1 Scope")
                    icon: "info.circle.fill"
                    bullets: [
                        ["clock.arrow.circlepath", Theme.secondaryText, qsTr("Recent Scans is reserved for future local scan-history functionality.")],
                        ["gearshape", Theme.secondaryText, qsTr("Settings is reserved for future preferences and privacy controls.")],
                        ["sparkles", Theme.secondaryText, qsTr("Similar-file detection is planned but is not part of the v1 cleanup workflow.")]
                    ]
                }

                HelpSection {
                    title: qsTr("Common Questions")
                    icon: "questionmark.circle.fill"
                    Repeater {
                        id: questionRepeater
                        model: [
                            [qsTr("Can duplicate files have different names?"),
                             qsTr("Yes. Exact duplicates are based on matching file size and matching SHA-256 content hash, not the filename.")],
                            [qsTr("Why is a file marked Review Only?"),
                             qsTr("The file is in a system- or application-managed location. Twinsift may show it for awareness, but Ambrivo will not move it to Trash.")],
                            [qsTr("What if I am unsure which copy to keep?"),
                             qsTr("Open the files or Show them in their folder first. If you are not certain, leave both copies untouched.")]
                        ]
                        delegate: ColumnLayout {
                            id: question
                            required property int index
                            required property var modelData
                            property bool expanded: false
                            readonly property alias answerItem: answer
                            Layout.fillWidth: true
                            spacing: 0
                            Rectangle {
                                visible: question.index > 0
                                Layout.fillWidth: true
                                Layout.bottomMargin: 10
                                implicitHeight: 1
                                color: Theme.separator
                            }
                            ItemDelegate {
                                id: questionButton
                                objectName: "question"
                                Layout.fillWidth: true
                                padding: 2
                                background: null
                                onClicked: question.expanded = !question.expanded
                                ControlAccess {
                                    control: questionButton
                                    name: question.modelData[0]
                                    checkable: true
                                    checked: question.expanded
                                }
                                contentItem: RowLayout {
                                    spacing: 8
                                    SymbolIcon {
                                        name: question.expanded ? "chevron.down" : "chevron.right"
                                        size: 12
                                        color: Theme.secondaryText
                                    }
                                    Label {
                                        Layout.fillWidth: true
                                        text: question.modelData[0]
                                        font.pointSize: Theme.guideTextSize
                                        color: Theme.primaryText
                                        wrapMode: Text.WordWrap
                                    }
                                }
                            }
                            Label {
                                id: answer
                                visible: question.expanded
                                Layout.fillWidth: true
                                Layout.topMargin: 6
                                Layout.leftMargin: 22
                                text: question.modelData[1]
                                font.pointSize: Theme.guideTextSize
                                color: Theme.secondaryText
                                wrapMode: Text.WordWrap
                            }
                        }
                    }
                }

                Label {
                    Layout.fillWidth: true
                    Layout.topMargin: 4
                    text: qsTr("Ambrivo Twinsift · v1 Help")
                    font.pointSize: Theme.calloutSize
                    color: Theme.tertiaryText
                    horizontalAlignment: Text.AlignHCenter
                }
            }
        }
    }
}
