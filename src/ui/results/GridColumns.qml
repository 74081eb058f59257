pragma ComponentBehavior: Bound
import QtQuick

// The five columns every results table shares: the file column takes what
// is left, at least 240 points; the others are fixed.
QtObject {
    required property real tableWidth

    readonly property real size: 72
    readonly property real verification: 118
    readonly property real cleanup: 104
    readonly property real actions: 58
    readonly property real strip: 4
    readonly property real file: Math.max(240, tableWidth - strip - size - verification - cleanup - actions)
    readonly property real rowWidth: strip + file + size + verification + cleanup + actions
}
