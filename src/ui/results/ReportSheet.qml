pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// What a run over the files did, the cleanup's or the restore's: its
// symbol, title and summary, the files it could not handle with why, an
// optional note, and the buttons given as the sheet's children.
ModalSheet {
    id: sheet

    property string symbol
    property string summary
    property string failureText
    property var failures
    // The list of failures as the accessibility bus names it.
    property string failuresName
    property string note
    default property alias buttons: buttonRow.data
    readonly property bool warnings: failureText !== ""

    width: 560
    height: Math.min(parent ? parent.height - 60 : 600, implicitHeight)

    // Given as the content in full, since the sheet's children are its
    // buttons.
    contentData: ColumnLayout {
        anchors.fill: parent
        spacing: 12
        SymbolIcon {
            Layout.alignment: Qt.AlignHCenter
            name: sheet.symbol
            color: sheet.warnings ? Theme.orange : Theme.green
            size: 34
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: sheet.title
            color: Theme.primaryText
            font.pointSize: Theme.title2Size
            font.weight: Font.Bold
        }
        Label {
            Layout.alignment: Qt.AlignHCenter
            text: sheet.summary
            color: Theme.primaryText
            font.pointSize: Theme.bodySize
        }
        Label {
            visible: sheet.warnings
            text: sheet.failureText
            color: Theme.orange
            font.pointSize: Theme.bodySize
            font.weight: Font.DemiBold
        }
        ListView {
            visible: sheet.warnings
            Layout.fillWidth: true
            Layout.fillHeight: true
            // Room for a few files in a short window, and no more than the
            // files take.
            Layout.minimumHeight: visible ? Math.min(contentHeight, 60) : 0
            implicitHeight: Math.min(contentHeight, 200)
            clip: true
            spacing: 6
            model: sheet.failures
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {
                id: failureScroll
                ControlAccess { control: failureScroll; role: Accessible.ScrollBar; name: sheet.failuresName }
            }
            delegate: Column {
                id: failure
                required property string path
                required property string message
                width: ListView.view.width
                Label {
                    width: parent.width
                    text: failure.path
                    elide: Text.ElideMiddle
                    color: Theme.primaryText
                    font.pointSize: Theme.subheadlineSize
                    font.weight: Font.DemiBold
                }
                Label {
                    width: parent.width
                    text: failure.message
                    wrapMode: Text.Wrap
                    color: Theme.secondaryText
                    font.pointSize: Theme.captionSize
                }
            }
        }
        Label {
            visible: sheet.note !== ""
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: sheet.note
            wrapMode: Text.Wrap
            color: Theme.secondaryText
            font.pointSize: Theme.subheadlineSize
        }
        RowLayout {
            id: buttonRow
            Layout.alignment: Qt.AlignRight
            spacing: 10
        }
    }
}
