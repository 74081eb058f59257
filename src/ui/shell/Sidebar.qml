pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The fixed list of destinations, under the maker's brand block.
Rectangle {
    id: sidebar

    required property RootNavigation navigation

    gradient: Gradient {
        GradientStop {
            position: 0
            color: Theme.controlBackground
        }
        GradientStop {
            position: 1
            color: Theme.withAlpha(Theme.systemAccent, 0.035)
        }
    }

    component SectionHeader: Label {
        leftPadding: 10
        topPadding: 14
        bottomPadding: 4
        font.pointSize: Theme.captionSize
        font.weight: Font.DemiBold
        color: Theme.secondaryText
    }

    // The column's title, where a window's title bar names its column.
    Label {
        id: columnTitle
        objectName: "sidebarTitle"
        x: 20
        height: 38
        verticalAlignment: Text.AlignVCenter
        text: qsTr("Ambrivo")
        font.pointSize: Theme.headlineSize
        font.weight: Font.Bold
        color: Theme.secondaryText
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }
    Rectangle {
        y: columnTitle.height
        width: parent.width
        height: 1
        color: Theme.separator
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        anchors.topMargin: columnTitle.height + 11
        spacing: 2

        ColumnLayout {
            Layout.topMargin: 10
            Layout.bottomMargin: 10
            Layout.leftMargin: 10
            spacing: 5
            RowLayout {
                spacing: 10
                SymbolIcon {
                    name: "lock.shield.fill"
                    size: 17
                    color: Theme.navy
                }
                Label {
                    text: qsTr("Ambrivo")
                    font.pointSize: Theme.headlineSize
                    font.weight: Font.DemiBold
                    color: Theme.primaryText
                }
            }
            Label {
                text: qsTr("Private, local file utilities")
                font.pointSize: Theme.captionSize
                color: Theme.secondaryText
                elide: Text.ElideRight
                Layout.maximumWidth: sidebar.width - 40
            }
        }

        SectionHeader {
            text: qsTr("TOOLS")
        }
        SidebarRow {
            item: RootNavigation.Twinsift
            title: qsTr("Twinsift")
            symbol: "doc.on.doc"
            navigation: sidebar.navigation
            Layout.fillWidth: true
        }
        SidebarRow {
            objectName: "newScanRow"
            title: qsTr("New Scan")
            symbol: "plus.circle"
            toolTip: qsTr("Start a new scan by choosing a folder.")
            navigation: sidebar.navigation
            onActivated: sidebar.navigation.requestNewScan()
            Layout.fillWidth: true
        }

        SectionHeader {
            text: qsTr("LIBRARY")
        }
        SidebarRow {
            item: RootNavigation.RecentScans
            title: qsTr("Recent Scans")
            symbol: "clock.arrow.circlepath"
            navigation: sidebar.navigation
            Layout.fillWidth: true
        }

        Item {
            implicitHeight: 14
        }
        SidebarRow {
            item: RootNavigation.Settings
            title: qsTr("Settings")
            symbol: "gearshape"
            navigation: sidebar.navigation
            Layout.fillWidth: true
        }

        SectionHeader {
            text: qsTr("HELP")
        }
        SidebarRow {
            item: RootNavigation.HowToUse
            title: qsTr("How to Use")
            symbol: "questionmark.circle"
            navigation: sidebar.navigation
            Layout.fillWidth: true
        }

        Item {
            Layout.fillHeight: true
        }
    }
}
