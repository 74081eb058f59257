pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls

// A menu as wide as its widest entry, so that longer words in another
// language are not cut off.
Menu {
    id: menu

    width: {
        let widest = implicitWidth
        for (let i = 0; i < count; ++i) {
            const entry = itemAt(i)
            if (entry)
                widest = Math.max(widest, entry.implicitWidth + leftPadding + rightPadding)
        }
        return widest
    }
}
