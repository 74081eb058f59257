pragma ComponentBehavior: Bound
import QtQuick
import Twinsift

// Asks the user for a folder: through the desktop's own chooser where the
// session offers one, else through ours.
Item {
    id: chooser

    property string title
    // Where the chooser opens.
    property url currentFolder
    readonly property FolderChooserDialog builtIn: builtIn
    // What the built-in dialog hands over on accept().
    property alias selectedFolder: builtIn.selectedFolder

    signal chosen(url folder)
    signal dismissed()

    function open() {
        builtIn.currentFolder = currentFolder
        desktop.open(currentFolder)
    }
    function close() {
        builtIn.close()
    }
    function accept() {
        builtIn.accept()
    }

    DesktopFolderChooser {
        id: desktop
        title: chooser.title
        onChosen: folder => chooser.chosen(folder)
        onDismissed: chooser.dismissed()
        onUnavailable: builtIn.open()
    }
    FolderChooserDialog {
        id: builtIn
        title: chooser.title
        onAccepted: chooser.chosen(selectedFolder)
        onRejected: chooser.dismissed()
    }
}
