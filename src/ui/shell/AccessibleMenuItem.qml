import QtQuick
import QtQuick.Controls
import Twinsift

// A menu entry that a screen reader can press, and that shows its shortcut
// beside its text.
MenuItem {
    id: item

    readonly property string shortcutText: action && action.shortcut ? shortcutLabel.nativeText : ""

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
        Label {
            text: item.text
            font: item.font
            color: item.highlighted ? item.palette.highlightedText
                                    : item.enabled ? Theme.primaryText : Theme.tertiaryText
        }
        Label {
            visible: item.shortcutText !== ""
            text: item.shortcutText
            font: item.font
            color: item.highlighted ? item.palette.highlightedText : Theme.secondaryText
        }
    }
}
