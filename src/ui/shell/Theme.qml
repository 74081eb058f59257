pragma Singleton
pragma ComponentBehavior: Bound
import QtQuick

// Colours, sizes and the icon font shared by every screen. Screens take
// their colours from here, never as literals.
QtObject {
    id: theme

    // Brand colours.
    readonly property color navy: Qt.rgba(0.055, 0.145, 0.205, 1)
    readonly property color teal: Qt.rgba(0.055, 0.48, 0.47, 1)
    readonly property color softBlue: Qt.rgba(0.91, 0.955, 0.985, 1)

    // Group accents, cycled by a group's position.
    readonly property var palette: [
        Qt.rgba(0.20, 0.49, 0.91, 1),
        Qt.rgba(0.49, 0.34, 0.88, 1),
        Qt.rgba(0.12, 0.60, 0.43, 1),
        Qt.rgba(0.90, 0.56, 0.13, 1),
        Qt.rgba(0.76, 0.31, 0.63, 1),
        Qt.rgba(0.04, 0.55, 0.57, 1)
    ]
    function accent(index) {
        const n = palette.length
        return palette[((index % n) + n) % n]
    }

    // System-style colours.
    readonly property color clear: "transparent"
    readonly property color white: "#ffffff"
    readonly property color black: "#000000"
    readonly property color windowBackground: "#f5f6f7"
    readonly property color controlBackground: "#ffffff"
    readonly property color primaryText: "#1d1d1f"
    readonly property color secondaryText: Qt.rgba(0.24, 0.24, 0.26, 0.62)
    readonly property color tertiaryText: Qt.rgba(0.24, 0.24, 0.26, 0.38)
    readonly property color separator: Qt.rgba(0, 0, 0, 0.1)
    readonly property color systemAccent: "#0a64d6"
    readonly property color selection: Qt.rgba(0.04, 0.39, 0.84, 0.16)
    readonly property color red: "#e5372d"
    readonly property color orange: "#f08a00"
    readonly property color green: "#2aa14a"
    readonly property color blue: "#1f7ae0"
    readonly property color purple: "#9a4fd0"
    readonly property color link: "#1f6fd1"
    readonly property color trustText: Qt.rgba(0.05, 0.45, 0.18, 1)

    // Accents of the scan screen's privacy strip and feature tiles.
    readonly property color privateAccent: Qt.rgba(0.10, 0.56, 0.34, 1)
    readonly property color reviewFirstAccent: Qt.rgba(0.12, 0.43, 0.82, 1)
    readonly property color saferCleanupAccent: Qt.rgba(0.88, 0.53, 0.11, 1)
    readonly property color exactMatchesAccent: Qt.rgba(0.34, 0.30, 0.79, 1)
    readonly property color reviewBeforeActionAccent: Qt.rgba(0.52, 0.27, 0.72, 1)
    readonly property color localFirstAccent: Qt.rgba(0.04, 0.53, 0.53, 1)

    // Text sizes. The layouts are drawn in points of a 72-dpi logical
    // display, where a point is one logical pixel; Qt's points assume 96 dpi,
    // so pt() converts a layout's point size to a font.pointSize that keeps
    // the text in proportion to its layout.
    function pt(points) {
        return points * 0.75
    }
    // The type ramp in layout points: what an icon beside a text takes as
    // its size, since SymbolIcon converts points itself.
    readonly property real largeTitlePoints: 26
    readonly property real title2Points: 17
    readonly property real title3Points: 15
    readonly property real headlinePoints: 13
    readonly property real bodyPoints: 13
    readonly property real subheadlinePoints: 11
    readonly property real captionPoints: 10
    // The same as font.pointSize values, for texts.
    readonly property real largeTitleSize: pt(largeTitlePoints)
    readonly property real title2Size: pt(title2Points)
    readonly property real title3Size: pt(title3Points)
    readonly property real headlineSize: pt(headlinePoints)
    readonly property real bodySize: pt(bodyPoints)
    readonly property real subheadlineSize: pt(subheadlinePoints)
    readonly property real captionSize: pt(captionPoints)
    // The larger steps of the screens' own pages: the guide's section and
    // card headings (and the scan card's title), the guide's running text,
    // a large button's text, the callouts under a title, and the fine print
    // of paths and the About panel.
    readonly property real headingSize: pt(22)
    readonly property real guideTextSize: pt(18)
    readonly property real calloutSize: pt(15)
    readonly property real largeButtonSize: pt(14)
    readonly property real footnoteSize: pt(12)
    readonly property real finePrintSize: pt(11.5)

    // Corner radii, from a small framed control up to the scan card.
    readonly property real smallRadius: 6
    readonly property real controlRadius: 7
    readonly property real panelRadius: 8
    readonly property real cardRadius: 10
    readonly property real sheetRadius: 12
    readonly property real sectionRadius: 16
    readonly property real heroRadius: 28

    // How far the window dims behind a sheet, and how faint a disabled
    // control's face is.
    readonly property real sheetDim: 0.28
    readonly property real disabledOpacity: 0.45

    // Timing: the pause before a hover tip, one turn of the spinner, and
    // how long a notice stays.
    readonly property int tipDelay: 600
    readonly property int spinDuration: 1000
    readonly property int noticeDuration: 6000

    // A colour with its alpha replaced.
    function withAlpha(c, alpha) {
        return Qt.rgba(c.r, c.g, c.b, alpha)
    }

    // The rounded face of the big titles (the screen titles and the scan
    // card's title); it has one weight, bold, which also serves semibold.
    readonly property FontLoader roundedFont: FontLoader {
        source: "qrc:/Twinsift/fonts/Comfortaa-Bold.ttf"
    }
    readonly property string roundedFamily: roundedFont.status === FontLoader.Ready ? roundedFont.name : ""

    // The icon font: every symbol drawn by SymbolIcon comes from it.
    readonly property FontLoader iconFont: FontLoader {
        source: "qrc:/Twinsift/fonts/MaterialIcons-Regular.ttf"
    }
}
