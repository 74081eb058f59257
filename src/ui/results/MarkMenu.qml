pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// The "Mark" menu beside the sort of the grouped exact view: each entry marks
// copies in every set the view shows, under the same guards as a click.
Button {
    id: markButton

    required property DuplicateReviewModel review

    objectName: "markMenuButton"
    text: qsTr("Mark")
    ControlAccess {
        control: markButton
        role: Accessible.ButtonMenu
        name: markButton.text
    }
    // A rule waiting for the disk takes no second one.
    enabled: !review.marks.busy
    onClicked: menu.open()

    contentItem: Row {
        spacing: 6
        Label {
            anchors.verticalCenter: parent.verticalCenter
            text: markButton.text
            color: Theme.primaryText
        }
        SymbolIcon {
            anchors.verticalCenter: parent.verticalCenter
            name: "chevron.down"
            color: Theme.secondaryText
            size: Theme.captionPoints
        }
    }

    component RuleItem: AccessibleMenuItem {
        required property int rule
        onTriggered: markButton.review.marks.apply(rule)
    }

    FittingMenu {
        id: menu
        objectName: "markMenu"
        y: markButton.height
        RuleItem {
            objectName: "keepOldestItem"
            text: qsTr("Keep Oldest in Each Set")
            rule: MarkRuleRunner.KeepOldest
        }
        RuleItem {
            text: qsTr("Keep Newest in Each Set")
            rule: MarkRuleRunner.KeepNewest
        }
        RuleItem {
            text: qsTr("Keep First in Each Set")
            rule: MarkRuleRunner.KeepFirst
        }
        RuleItem {
            text: qsTr("Keep Shortest Path in Each Set")
            rule: MarkRuleRunner.KeepShortestPath
        }
        MenuSeparator {}
        AccessibleMenuItem {
            objectName: "markInFolderItem"
            text: qsTr("Mark Copies in Folder…")
            onTriggered: folderChooser.open()
        }
        RuleItem {
            text: qsTr("Invert Marks in Each Set")
            rule: MarkRuleRunner.InvertMarks
        }
    }

    FolderChooser {
        id: folderChooser
        objectName: "markFolderChooser"
        title: qsTr("Mark Copies in Folder…")
        currentFolder: markButton.review.marks.scannedFolder
        // The chosen URL goes to C++ as it is; its path bytes name the folder.
        onChosen: folder => markButton.review.marks.markCopiesInFolder(folder)
    }
}
