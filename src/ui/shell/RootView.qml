import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The content of a main window: the sidebar and the selected screen, with
// How to Use laid over that screen instead of replacing it.
Item {
    id: root

    property alias selection: navigation.selection
    readonly property alias helpReturnSelection: navigation.helpReturnSelection
    property alias newScanRequested: navigation.newScanRequested
    property alias recentScanPathRequest: navigation.recentScanPathRequest
    readonly property RootNavigation navigation: RootNavigation {
        id: navigation
    }
    // The screen under the guide, and the guide while it is shown.
    readonly property alias detailItem: detailLayer.item
    readonly property alias guideItem: guideLayer.item

    SplitView {
        anchors.fill: parent
        orientation: Qt.Horizontal
        handle: Rectangle {
            implicitWidth: 1
            color: Theme.separator
        }

        Sidebar {
            SplitView.minimumWidth: 220
            SplitView.preferredWidth: 240
            SplitView.maximumWidth: 280
            navigation: root.navigation
        }

        Item {
            id: detail
            SplitView.fillWidth: true
            clip: true

            Loader {
                id: detailLayer
                anchors.fill: parent
                // Hidden and inert under the guide, but alive.
                opacity: navigation.guideShown ? 0 : 1
                enabled: !navigation.guideShown
                // A new destination discards the old screen and its state.
                sourceComponent: {
                    switch (navigation.shown) {
                    case RootNavigation.RecentScans:
                        return recentScansScreen
                    case RootNavigation.Settings:
                        return settingsScreen
                    default:
                        return scanScreen
                    }
                }
            }

            Loader {
                id: guideLayer
                anchors.fill: parent
                active: navigation.guideShown
                sourceComponent: TwinsiftHowToView {
                    onClose: navigation.closeHowToUse()
                }
            }
        }
    }

    Component {
        id: scanScreen
        TwinsiftView {
            navigation: root.navigation
        }
    }

    Component {
        id: recentScansScreen
        RecentScansView {
            navy: Theme.navy
            teal: Theme.teal
            onRescan: record => navigation.requestRescan(record.folderUrl)
            onNewScan: navigation.requestNewScanFromRecent()
        }
    }

    Component {
        id: settingsScreen
        PlaceholderView {
            // Shown verbatim, as the settings screen is a placeholder.
            title: qsTr("Settings")
            subtitle: qsTr("Preferences and privacy controls will live here.")
            icon: "gearshape"
        }
    }
}
