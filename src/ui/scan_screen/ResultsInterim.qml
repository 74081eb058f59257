import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// Stands in for the results screen until that lands, with the same inputs
// and requests.
Item {
    id: interim

    required property var result
    required property bool isScanning
    required property string progressText
    required property var progressFraction

    signal stopScanRequested
    signal changeFolderRequested
    signal rescanRequested

    ColumnLayout {
        anchors.centerIn: parent
        spacing: 12
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: interim.result.rootPath
            font.pointSize: Theme.title3Size
            color: Theme.navy
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: qsTr("%1 files scanned · %2 duplicate groups").arg(interim.result.filesScanned).arg(interim.result.groupCount)
            color: Theme.secondaryText
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            visible: interim.isScanning
            text: interim.progressText
            color: Theme.secondaryText
        }
        RowLayout {
            Layout.alignment: Qt.AlignHCenter
            spacing: 12
            ActionButton {
                text: qsTr("Change Folder")
                symbol: "folder"
                onClicked: interim.changeFolderRequested()
            }
            PersistentStopButton {
                visible: interim.isScanning
                text: qsTr("Stop Scan")
                onClicked: interim.stopScanRequested()
            }
            ActionButton {
                visible: !interim.isScanning
                text: qsTr("Rescan")
                symbol: "arrow.clockwise"
                prominent: true
                onClicked: interim.rescanRequested()
            }
        }
    }
}
