pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Twinsift

// The folder chooser for sessions without the desktop's own: it opens where
// the user last chose a folder, "Open" takes the folder being shown unless
// a folder inside it is selected, and a typed path (Ctrl+L) can be chosen.
ModalSheet {
    id: dialog

    // Where the dialog opens; set before open().
    property url currentFolder
    // What accept() hands over.
    property url selectedFolder
    readonly property FolderBrowser browser: browser
    readonly property bool pathEdited: pathField.text !== browser.folderText
    property bool accepting: false

    signal accepted()
    signal rejected()

    function accept() {
        accepting = true
        close()
        accepted()
    }
    function reject() {
        close()
    }
    // Open: the typed path, else the selected folder, else the one shown.
    function choose() {
        if (pathEdited) {
            browser.showTyped(pathField.text, true)
            return
        }
        if (browser.loading)
            return
        selectedFolder = list.currentIndex >= 0 ? browser.urlAt(list.currentIndex) : browser.folder
        accept()
    }
    function openRow(row) {
        browser.show(browser.urlAt(row))
    }

    width: 520
    initialFocus: list
    closePolicy: Popup.CloseOnEscape

    onAboutToShow: {
        accepting = false
        list.currentIndex = -1
        browser.start(currentFolder)
    }
    onClosed: {
        if (!accepting)
            rejected()
    }

    FolderBrowser {
        id: browser
        onFolderChanged: {
            list.currentIndex = -1
            pathField.text = folderText
        }
        onTypedFolderReady: folder => {
            dialog.selectedFolder = folder
            dialog.accept()
        }
    }

    Shortcut {
        sequence: "Ctrl+L"
        enabled: dialog.opened
        onActivated: {
            pathField.forceActiveFocus(Qt.ShortcutFocusReason)
            pathField.selectAll()
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 12

        Label {
            text: dialog.title
            color: Theme.primaryText
            font.pointSize: Theme.title3Size
            font.weight: Font.Bold
        }

        RowLayout {
            spacing: 6
            ActionButton {
                id: upButton
                symbol: "arrow.up"
                enabled: !browser.atTop
                tip: qsTr("Enclosing Folder")
                onClicked: browser.showParent()
            }
            ActionButton {
                id: homeButton
                symbol: "house"
                tip: qsTr("Home")
                onClicked: browser.showHome()
            }
            TextField {
                id: pathField
                objectName: "folderPathField"
                Layout.fillWidth: true
                selectByMouse: true
                font.pointSize: Theme.bodySize
                Accessible.name: qsTr("Folder")
                Keys.onReturnPressed: browser.showTyped(text, false)
                Keys.onEnterPressed: browser.showTyped(text, false)
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 280
            radius: Theme.smallRadius
            color: Theme.windowBackground
            border.color: list.activeFocus ? Theme.systemAccent : Theme.separator
            border.width: list.activeFocus ? 2 : 1

            ListView {
                id: list
                objectName: "subfolderList"
                anchors.fill: parent
                anchors.margins: 2
                clip: true
                model: browser
                currentIndex: -1
                keyNavigationEnabled: true
                activeFocusOnTab: true
                highlightMoveDuration: 0
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar { Accessible.name: qsTr("Folders") }
                Accessible.role: Accessible.List
                Accessible.name: qsTr("Folders in “%1”").arg(browser.folderText)

                // Nothing selected yet: the first key press selects the
                // first row rather than the second.
                Keys.onDownPressed: event => {
                    if (currentIndex < 0 && count > 0)
                        currentIndex = 0
                    else
                        event.accepted = false
                }
                Keys.onReturnPressed: currentIndex >= 0 ? dialog.openRow(currentIndex) : dialog.choose()
                Keys.onEnterPressed: currentIndex >= 0 ? dialog.openRow(currentIndex) : dialog.choose()
                Keys.onPressed: event => {
                    if (event.key === Qt.Key_Backspace || (event.key === Qt.Key_Up
                            && (event.modifiers & Qt.AltModifier))) {
                        browser.showParent()
                        event.accepted = true
                    }
                }

                delegate: ItemDelegate {
                    id: row
                    required property int index
                    required property string name
                    width: ListView.view.width
                    height: 28
                    highlighted: ListView.isCurrentItem
                    focusPolicy: Qt.NoFocus
                    onClicked: {
                        list.currentIndex = index
                        list.forceActiveFocus(Qt.MouseFocusReason)
                    }
                    onDoubleClicked: dialog.openRow(index)
                    ControlAccess {
                        control: row
                        role: Accessible.ListItem
                        name: row.name
                        press: () => dialog.openRow(row.index)
                    }
                    contentItem: RowLayout {
                        spacing: 8
                        SymbolIcon {
                            name: "folder.fill"
                            size: 14
                            color: Theme.teal
                        }
                        Label {
                            Layout.fillWidth: true
                            text: row.name
                            elide: Text.ElideMiddle
                            font.pointSize: Theme.bodySize
                            color: Theme.primaryText
                        }
                    }
                }
            }

            Label {
                anchors.centerIn: parent
                visible: list.count === 0
                text: browser.loading ? qsTr("Loading…") : qsTr("No folders inside")
                color: Theme.secondaryText
                font.pointSize: Theme.subheadlineSize
            }
        }

        Label {
            objectName: "folderError"
            Layout.fillWidth: true
            visible: text !== ""
            text: browser.errorText
            wrapMode: Text.Wrap
            color: Theme.red
            font.pointSize: Theme.subheadlineSize
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
        }

        RowLayout {
            Layout.alignment: Qt.AlignRight
            spacing: 10
            ActionButton {
                id: cancelButton
                text: qsTr("Cancel")
                onClicked: dialog.close()
            }
            ActionButton {
                id: openButton
                objectName: "openFolderButton"
                text: qsTr("Open")
                prominent: true
                enabled: dialog.pathEdited || (!browser.loading && browser.folderText !== "")
                onClicked: dialog.choose()
            }
        }
    }
}
