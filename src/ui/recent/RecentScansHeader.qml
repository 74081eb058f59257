pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// Above the history's cards: how many scans are kept, the limit, and a
// warning when the history could not be saved.
ColumnLayout {
    id: header

    // The list this heads: a view makes its header inside its content item.
    readonly property ListView list: header.parent ? header.parent.parent as ListView : null
    readonly property int count: header.list?.count ?? 0

    width: header.list ? header.list.width - header.list.leftMargin - header.list.rightMargin : 0
    spacing: 14

    RowLayout {
        Layout.fillWidth: true
        Label {
            objectName: "countLine"
            text: header.count === 1 ? qsTr("1 saved scan")
                                     : qsTr("%n saved scans", "", header.count)
            font.pointSize: Theme.subheadlineSize
            font.weight: Font.DemiBold
            color: Theme.secondaryText
        }
        Item {
            Layout.fillWidth: true
        }
        Label {
            text: qsTr("Up to 50 recent scans are kept locally.")
            font.pointSize: Theme.captionSize
            color: Theme.tertiaryText
        }
    }
    Row {
        objectName: "storageWarning"
        visible: RecentScanStore.persistenceError !== ""
        spacing: 5
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            name: "exclamationmark.triangle.fill"
            size: 10
            color: Theme.orange
        }
        Label {
            objectName: "storageWarningText"
            text: RecentScanStore.persistenceError
            font.pointSize: Theme.captionSize
            color: Theme.orange
        }
    }
    Item {
        implicitHeight: 0
    }
}
