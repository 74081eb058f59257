pragma ComponentBehavior: Bound
import QtQuick
import Twinsift

// A card of the guide whose points are given as [icon, tint, text] rows.
HelpSection {
    id: bulletSection
    required property var bullets
    Repeater {
        model: bulletSection.bullets
        delegate: HelpBullet {
            required property var modelData
            icon: modelData[0]
            tint: modelData[1]
            text: modelData[2]
        }
    }
}
