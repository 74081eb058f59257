pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Twinsift

// A menu entry that a screen reader can press, and that shows its shortcut
// beside its text.
MenuItem {
    id: item

    readonly property string shortcutText: action && action.shortcut ? shortcutLabel.nativeText : ""
    // A symbol drawn before the text; none when empty.
    property string symbol

    ControlAccess {
        control: item
        role: Accessible.MenuItem
        name: item.text
        description: item.shortcutText
    }

    Shortcut {
        id: shortcutLabel
        enabled: false
        sequence: item.action ? item.action.shortcut : ""
    }

    contentItem: Row {
        spacing: 24
        leftPadding: item.checkable ? item.indicator.width + item.spacing : 0
        Row {
            spacing: 8
            SymbolIcon {
                objectName: "menuItemIcon"
                visible: item.symbol !== ""
                anchors.verticalCenter: parent.verticalCenter
                name: item.symbol
                size: Theme.bodyPoints
                color: item.highlighted ? item.palette.highlightedText
                                        : item.enabled ? Theme.secondaryText : Theme.tertiaryText
            }
            Label {
                text: item.text
                font: item.font
                color: item.highlighted ? item.palette.highlightedText
                                        : item.enabled ? Theme.primaryText : Theme.tertiaryText
            }
        }
        Label {
            visible: item.shortcutText !== ""
            text: item.shortcutText
            font: item.font
            color: item.highlighted ? item.palette.highlightedText : Theme.secondaryText
        }
    }
}
