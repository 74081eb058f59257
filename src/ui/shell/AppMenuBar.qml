pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// The menus of every main window. Each menu opens by Alt and its underlined
// letter, and by a reader's press; each entry shows its shortcut.
MenuBar {
    id: bar

    // The marks of the results shown in this window, for Undo; set by the
    // results screen while it is shown.
    property MarkRuleRunner marks: null

    // No browser took the website: the window says so.
    signal websiteUnanswered(string message)

    delegate: MenuBarItem {
        id: barItem
        ControlAccess {
            control: barItem
            role: Accessible.ButtonMenu
            name: barItem.menu ? barItem.menu.title.replace("&", "") : ""
        }
    }

    // The guide in every open window, not only this one.
    readonly property Action helpAction: Action {
        text: qsTr("Ambrivo Twinsift Help")
        shortcut: "Ctrl+?"
        onTriggered: AppEvents.postShowHowToUse()
    }

    FittingMenu {
        title: qsTr("&Twinsift")
        delegate: AccessibleMenuItem {}
        Action {
            text: qsTr("About Ambrivo Twinsift")
            onTriggered: AboutPanelKeeper.showAbout()
        }
        MenuSeparator {}
        Action {
            text: qsTr("New Window")
            shortcut: "Ctrl+N"
            onTriggered: AppWindows.openNewWindow()
        }
        Action {
            text: qsTr("Close Window")
            shortcut: "Ctrl+W"
            onTriggered: bar.Window.window.close()
        }
        MenuSeparator {}
        Action {
            text: qsTr("Quit")
            shortcut: "Ctrl+Q"
            onTriggered: Qt.quit()
        }
    }

    FittingMenu {
        title: qsTr("&Edit")
        delegate: AccessibleMenuItem {}
        // Whether anything is left to restore is asked of the disk, off the
        // main thread, whenever the menu opens.
        onAboutToShow: CleanupRestorer.refresh()
        Action {
            text: qsTr("Undo")
            enabled: bar.marks !== null && bar.marks.canUndo
            onTriggered: bar.marks.undo()
        }
        MenuSeparator {}
        Action {
            text: qsTr("Restore Files from Last Cleanup…")
            enabled: CleanupRestorer.availableCount > 0 && !CleanupRestorer.isRunning
            onTriggered: CleanupRestorer.askToRestore()
        }
    }

    FittingMenu {
        title: qsTr("&Help")
        delegate: AccessibleMenuItem {}
        AccessibleMenuItem {
            action: bar.helpAction
        }
        MenuSeparator {}
        Action {
            text: qsTr("Explore More Local Tools")
            onTriggered: WebsiteAction.openWebsite(message => bar.websiteUnanswered(message))
        }
    }

    Shortcut {
        sequence: StandardKey.HelpContents // qmllint disable unqualified
        onActivated: bar.helpAction.trigger()
    }
}
