import QtQuick
import QtQuick.Controls
import Twinsift

// The content of a main window: the sidebar and the selected screen, with
// How to Use laid over that screen instead of replacing it.
// Not bound (pragma ComponentBehavior: Bound): Qt 6.4's Loader refuses a
// bound component, and the Loader's way of discarding a screen (its context
// first) is what lets the screen's lists go quietly. The few bindings in
// the loaded components that reach this file's ids carry a qmllint
// comment for that reason.
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
                sourceComponent: guideScreen
            }
        }
    }

    Component {
        id: guideScreen
        TwinsiftHowToView {
            onClose: root.navigation.closeHowToUse() // qmllint disable unqualified
        }
    }

    Component {
        id: scanScreen
        TwinsiftView {
            navigation: root.navigation // qmllint disable unqualified
        }
    }

    Component {
        id: recentScansScreen
        RecentScansView {
            navy: Theme.navy
            teal: Theme.teal
            onRescan: record => root.navigation.requestRescan(record.folderUrl) // qmllint disable unqualified
            onNewScan: root.navigation.requestNewScanFromRecent() // qmllint disable unqualified
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
