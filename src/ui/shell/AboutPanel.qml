pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The About panel. AboutPanelKeeper makes it, fixes its size, centres it and
// makes it modal; Close, Return and the close box all end it. Its title bar
// may be a thin one, so the whole background moves it too.
Window {
    id: panel

    title: qsTr("About Ambrivo Twinsift")
    // How often a drag on the background asked the window system to move
    // the panel; the tests read it where no window manager answers.
    property int moveRequests: 0
    color: Theme.controlBackground

    component TrustBadge: Rectangle {
        id: badge
        required property string title
        Layout.fillWidth: true
        Layout.preferredWidth: 1
        implicitHeight: badgeRow.implicitHeight + 12
        radius: Theme.cardRadius
        color: Theme.withAlpha(Theme.green, 0.11)
        border.width: 1
        border.color: Theme.withAlpha(Theme.green, 0.28)
        Row {
            id: badgeRow
            anchors.left: parent.left
            anchors.leftMargin: 6
            anchors.top: parent.top
            anchors.topMargin: 6
            spacing: 7
            SymbolIcon {
                id: badgeIcon
                anchors.verticalCenter: parent.verticalCenter
                name: "checkmark.circle.fill"
                size: 12
                color: Theme.green
            }
            Label {
                text: badge.title
                font.pointSize: panel.badgeTextSize
                font.weight: Font.DemiBold
                color: Theme.trustText
            }
        }
    }

    component InfoRow: RowLayout {
        id: row
        required property string symbol
        required property string title
        required property string subtitle
        spacing: 5
        SymbolIcon {
            name: row.symbol
            size: 15
            color: Theme.secondaryText
        }
        ColumnLayout {
            spacing: 2
            Layout.maximumWidth: 252
            Label {
                Layout.maximumWidth: 252
                text: row.title
                font.pointSize: Theme.finePrintSize
                font.weight: Font.DemiBold
                wrapMode: Text.WordWrap
            }
            Label {
                Layout.maximumWidth: 252
                text: row.subtitle
                font.pointSize: Theme.pt(9.5)
                color: Theme.secondaryText
                wrapMode: Text.WordWrap
            }
        }
    }

    component Separator: Rectangle {
        Layout.fillWidth: true
        Layout.topMargin: 2
        Layout.bottomMargin: 2
        implicitHeight: 1
        color: Theme.separator
    }

    // Fonts here can run wider than the ones the badges were sized for; both
    // titles then shrink alike rather than spill out of their badge.
    readonly property real badgeTextRoom: (285 - 5) / 2 - 6 - 12 - 7 - 16
    readonly property real badgeTextSize: Theme.footnoteSize * Math.min(1, badgeTextRoom / Math.max(offlineWidth.advanceWidth, restorableWidth.advanceWidth))
    property TextMetrics offlineWidth: TextMetrics {
        font.pointSize: Theme.footnoteSize
        font.weight: Font.DemiBold
        text: qsTr("Works Offline")
    }
    property TextMetrics restorableWidth: TextMetrics {
        font.pointSize: Theme.footnoteSize
        font.weight: Font.DemiBold
        text: qsTr("Restorable Trash")
    }

    Shortcut {
        sequences: ["Return", "Enter"]
        onActivated: AboutPanelKeeper.closeAbout()
    }

    // Under the content: the buttons and the link keep their presses.
    Item {
        objectName: "dragArea"
        anchors.fill: parent
        DragHandler {
            target: null
            onActiveChanged: {
                if (!active)
                    return
                ++panel.moveRequests
                panel.startSystemMove()
            }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        anchors.topMargin: 6
        anchors.bottomMargin: 6
        spacing: 1

        ColumnLayout {
            Layout.alignment: Qt.AlignHCenter
            spacing: 3
            AppIcon {
                objectName: "aboutIcon"
                Layout.alignment: Qt.AlignHCenter
                implicitWidth: 46
                implicitHeight: 46
            }
            Label {
                Layout.alignment: Qt.AlignHCenter
                text: qsTr("Ambrivo Twinsift")
                font.pointSize: Theme.calloutSize
                font.bold: true
                color: Theme.primaryText
            }
            Label {
                Layout.alignment: Qt.AlignHCenter
                text: qsTr("Version 1.0.0 (8)")
                font.pointSize: Theme.finePrintSize
                color: Theme.secondaryText
            }
        }

        Separator {}

        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: 285
            spacing: 5
            TrustBadge {
                title: qsTr("Works Offline")
            }
            TrustBadge {
                title: qsTr("Restorable Trash")
            }
        }

        Separator {}

        ColumnLayout {
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: 285
            Layout.topMargin: 5
            Layout.bottomMargin: 7
            spacing: 4
            InfoRow {
                symbol: "cpu"
                title: qsTr("Native Linux App — X11 + Wayland")
                subtitle: qsTr("Runs natively on X11 and Wayland desktops.")
            }
            InfoRow {
                symbol: "lock.fill"
                title: qsTr("Local Processing")
                subtitle: qsTr("Your files never leave this computer.")
            }
        }

        Separator {}

        Label {
            objectName: "websiteLink"
            Layout.alignment: Qt.AlignHCenter
            text: WebsiteAction.address + "  ↗"
            font.pointSize: Theme.finePrintSize
            font.weight: Font.Medium
            color: Theme.link
            MouseArea {
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                onClicked: WebsiteAction.openWebsite(message => websiteNotice.show(message))
            }
        }

        Button {
            id: aboutClose
            objectName: "closeButton"
            Layout.alignment: Qt.AlignHCenter
            text: qsTr("Close")
            font.pointSize: Theme.finePrintSize
            topPadding: 1
            bottomPadding: 1
            implicitHeight: 22
            onClicked: AboutPanelKeeper.closeAbout()
            ControlAccess { control: aboutClose; name: aboutClose.text }
        }
    }

    // Over the link that asked, within the panel's fixed size.
    DesktopNotice {
        id: websiteNotice
        objectName: "websiteNotice"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 30
    }
}
