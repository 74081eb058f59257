pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The local scan history: one card per completed scan, newest first, with a
// rescan per card, a new scan from the empty state, and clearing the history.
Item {
    id: view

    required property color navy
    required property color teal
    // The card's record, for the scan screen to rescan its folder.
    signal rescan(var record)
    signal newScan()

    property bool confirmClear: false
    readonly property alias history: scans
    readonly property alias clearAlert: clearAlert

    RecentScansModel {
        id: scans
        onDesktopUnanswered: message => desktopNotice.show(message)
    }

    // Availability follows the disk: asked again whenever the screen comes
    // back into view or its window gets the focus back, and every few
    // seconds while it stays in front, so a folder that goes or comes back
    // meanwhile shows as such. The probes are few and bounded, and a folder
    // whose probe still hangs gets no second one.
    readonly property int recheckInterval: 3000
    onVisibleChanged: if (visible) scans.checkAvailability()
    Timer {
        objectName: "availabilityRecheck"
        interval: view.recheckInterval
        repeat: true
        running: view.visible && scans.count > 0
        onTriggered: scans.checkAvailability()
    }
    Connections {
        target: view.Window.window
        function onActiveChanged() {
            if (view.Window.window.active)
                scans.checkAvailability()
        }
    }

    GradientPanel {
        anchors.fill: parent
        colors: [Theme.windowBackground, Theme.withAlpha(Theme.systemAccent, 0.035)]
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 28
            Layout.rightMargin: 28
            Layout.topMargin: 20
            Layout.bottomMargin: 20
            spacing: 16

            ColumnLayout {
                spacing: 5
                Label {
                    objectName: "screenTitle"
                    text: qsTr("Recent Scans")
                    font.family: Theme.roundedFamily
                    font.pointSize: Theme.pt(30)
                    font.bold: true
                    color: view.navy
                }
                Label {
                    text: qsTr("Your local Twinsift scan history")
                    font.pointSize: Theme.calloutSize
                    color: Theme.secondaryText
                }
            }

            Item {
                Layout.fillWidth: true
            }

            Rectangle {
                objectName: "localOnlyBadge"
                implicitWidth: localOnly.implicitWidth + 24
                implicitHeight: localOnly.implicitHeight + 14
                radius: height / 2
                color: Theme.withAlpha(view.teal, 0.08)
                Row {
                    id: localOnly
                    anchors.centerIn: parent
                    spacing: 5
                    SymbolIcon {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "lock.shield.fill"
                        size: 11
                        color: view.teal
                    }
                    Label {
                        text: qsTr("Local Only")
                        font.pointSize: Theme.subheadlineSize
                        font.weight: Font.DemiBold
                        color: view.teal
                    }
                }
            }

            ActionButton {
                objectName: "clearHistoryButton"
                visible: scans.count > 0
                text: qsTr("Clear History")
                symbol: "trash"
                onClicked: view.confirmClear = true
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.separator
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ColumnLayout {
                id: emptyState
                objectName: "emptyState"
                visible: scans.count === 0
                anchors.fill: parent
                anchors.margins: 30
                spacing: 16

                Item {
                    Layout.fillHeight: true
                }
                SymbolIcon {
                    Layout.alignment: Qt.AlignHCenter
                    name: "clock.arrow.circlepath"
                    size: 48
                    color: view.teal
                }
                Label {
                    Layout.alignment: Qt.AlignHCenter
                    text: qsTr("No Recent Scans Yet")
                    font.pointSize: Theme.title2Size
                    font.bold: true
                    color: view.navy
                }
                Label {
                    Layout.alignment: Qt.AlignHCenter
                    Layout.maximumWidth: 520
                    text: qsTr("Completed scans will appear here automatically. Only summary metadata is saved locally on this computer.")
                    font.pointSize: Theme.calloutSize
                    color: Theme.secondaryText
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                }
                ActionButton {
                    objectName: "startNewScanButton"
                    Layout.alignment: Qt.AlignHCenter
                    text: qsTr("Start New Scan")
                    symbol: "plus.circle.fill"
                    prominent: true
                    large: true
                    tint: Theme.systemAccent
                    onClicked: view.newScan()
                }
                Label {
                    objectName: "emptyStorageMessage"
                    Layout.alignment: Qt.AlignHCenter
                    Layout.maximumWidth: 560
                    visible: RecentScanStore.persistenceError !== ""
                    text: RecentScanStore.persistenceError
                    font.pointSize: Theme.captionSize
                    color: Theme.orange
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                }
                Item {
                    Layout.fillHeight: true
                }
            }

            ListView {
                id: cards
                objectName: "cards"
                visible: scans.count > 0
                anchors.fill: parent
                topMargin: 24
                bottomMargin: 24
                leftMargin: 24
                rightMargin: 24
                spacing: 14
                clip: true
                model: scans
                ScrollBar.vertical: ScrollBar {
                    id: cardsScroll
                    ControlAccess { control: cardsScroll; role: Accessible.ScrollBar; name: qsTr("Scan history") }
                }

                // Made from its own file: Qt 6.4's views make a header in a
                // context of their own, which a component bound to this file
                // refuses.
                header: Qt.createComponent("RecentScansHeader.qml")

                delegate: RecentScanCard {
                    id: scanCard
                    width: cards.width - cards.leftMargin - cards.rightMargin
                    navy: view.navy
                    teal: view.teal
                    // A card drawn again, after scrolling back, asks afresh.
                    Component.onCompleted: scans.checkAvailabilityAt(scanCard.index)
                    onRescan: view.rescan(scans.recordAt(scanCard.index))
                    onReveal: scans.reveal(scanCard.index)
                }
            }
        }
    }

    onConfirmClearChanged: if (confirmClear) clearAlert.open()

    // Like the other alerts: closed only by its buttons or Escape, never by a
    // click beside it, which would read as a choice the user did not make.
    ModalSheet {
        id: clearAlert
        objectName: "clearAlert"
        title: qsTr("Clear Recent Scans?")
        width: 440
        initialFocus: cancelClearButton
        onClosed: view.confirmClear = false

        ColumnLayout {
            anchors.fill: parent
            spacing: 12
            Label {
                Layout.fillWidth: true
                text: clearAlert.title
                wrapMode: Text.Wrap
                color: Theme.primaryText
                font.pointSize: Theme.title3Size
                font.weight: Font.Bold
            }
            Label {
                Layout.fillWidth: true
                text: qsTr("This clears only the local scan-summary history. It does not delete, move, or modify any scanned files.")
                wrapMode: Text.WordWrap
                color: Theme.secondaryText
                font.pointSize: Theme.bodySize
            }
            RowLayout {
                Layout.alignment: Qt.AlignRight
                spacing: 8
                Button {
                    id: cancelClearButton
                    objectName: "cancelClearButton"
                    text: qsTr("Cancel")
                    onClicked: clearAlert.close()
                    ControlAccess { control: cancelClearButton; name: cancelClearButton.text }
                }
                Button {
                    id: confirmClearButton
                    objectName: "confirmClearButton"
                    text: qsTr("Clear History")
                    palette.buttonText: Theme.red
                    onClicked: {
                        scans.clearHistory()
                        clearAlert.close()
                    }
                    ControlAccess { control: confirmClearButton; name: confirmClearButton.text }
                }
            }
        }
    }

    // Beside the rows whose actions hand files to the desktop.
    DesktopNotice {
        id: desktopNotice
        objectName: "desktopNotice"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 16
    }
}
