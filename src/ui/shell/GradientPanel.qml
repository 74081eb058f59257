pragma ComponentBehavior: Bound
import QtQuick
import Twinsift

// A rounded panel filled with a gradient from its top-left to its
// bottom-right corner, with an optional outline and drop shadow. Rectangle
// gradients only run along one axis, so it paints its face itself.
Item {
    id: panel

    property real radius: 0
    // Colours spread evenly along the diagonal.
    property var colors: []
    property color borderColor: Theme.clear
    property real borderWidth: 0
    property color shadowColor: Theme.clear
    property real shadowBlur: 0
    property real shadowOffsetY: 0

    // The shadow is stacked translucent outlines, each a little wider than
    // the last: a blurred canvas shadow costs seconds per repaint.
    Repeater {
        model: panel.shadowBlur > 0 ? 8 : 0
        Rectangle {
            required property int index
            readonly property real spread: (index + 1) * panel.shadowBlur / 8
            x: -spread
            y: panel.shadowOffsetY - spread
            width: panel.width + 2 * spread
            height: panel.height + 2 * spread
            radius: panel.radius + spread
            color: Theme.withAlpha(panel.shadowColor, panel.shadowColor.a / 8 * (1 - index / 8))
        }
    }

    Canvas {
        id: canvas
        readonly property real pad: 1
        x: -pad
        y: -pad
        width: panel.width + 2 * pad
        height: panel.height + 2 * pad

        onPaint: {
            const ctx = getContext("2d")
            ctx.reset()
            const inset = panel.borderWidth / 2
            const x = pad + inset, y = pad + inset
            const w = panel.width - 2 * inset, h = panel.height - 2 * inset
            const r = Math.max(0, Math.min(panel.radius, w / 2, h / 2))
            ctx.beginPath()
            ctx.moveTo(x + r, y)
            ctx.arcTo(x + w, y, x + w, y + h, r)
            ctx.arcTo(x + w, y + h, x, y + h, r)
            ctx.arcTo(x, y + h, x, y, r)
            ctx.arcTo(x, y, x + w, y, r)
            ctx.closePath()

            const fill = ctx.createLinearGradient(x, y, x + w, y + h)
            const n = panel.colors.length
            for (let i = 0; i < n; ++i)
                fill.addColorStop(n === 1 ? 0 : i / (n - 1), panel.colors[i])
            ctx.fillStyle = fill
            ctx.fill()
            if (panel.borderWidth > 0) {
                ctx.lineWidth = panel.borderWidth
                ctx.strokeStyle = panel.borderColor
                ctx.stroke()
            }
        }
    }

    onWidthChanged: canvas.requestPaint()
    onHeightChanged: canvas.requestPaint()
    onColorsChanged: canvas.requestPaint()
    onBorderColorChanged: canvas.requestPaint()
    onBorderWidthChanged: canvas.requestPaint()
    onRadiusChanged: canvas.requestPaint()
}
