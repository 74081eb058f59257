import QtQuick
import QtTest
import Twinsift

TestCase {
    id: testCase
    name: "Symbols"
    when: windowShown
    width: 200
    height: 100

    Component {
        id: iconComponent
        SymbolIcon {}
    }

    function test_knownSymbolDrawsOneGlyphOfTheIconFont() {
        tryCompare(Theme.iconFont, "status", FontLoader.Ready)
        const icon = createTemporaryObject(iconComponent, testCase, { name: "folder.fill", size: 20 })
        compare(icon.text.length, 1)
        compare(icon.font.family, Theme.iconFont.name)
        verify(icon.implicitWidth > 10, "the glyph has a width of its own")
        // An icon is a square glyph, not a word spelled in a fallback font.
        verify(icon.implicitWidth < icon.implicitHeight * 1.5)
    }

    function test_unknownSymbolDrawsNothing() {
        const icon = createTemporaryObject(iconComponent, testCase, { name: "no.such.symbol" })
        compare(icon.text, "")
        icon.name = "trash"
        compare(icon.text.length, 1)
    }

    // The titles set in the rounded face get it, not a fallback sans.
    function test_theRoundedTitlesUseTheRoundedFace() {
        tryCompare(Theme.roundedFont, "status", FontLoader.Ready)
        verify(Theme.roundedFamily !== "")
        const title = createTemporaryObject(titleComponent, testCase)
        compare(title.font.family, Theme.roundedFamily)
        compare(title.fontInfo.family, Theme.roundedFamily)
        // The face has its own shapes: the same text is set wider or
        // narrower than in the default sans.
        const plain = createTemporaryObject(plainComponent, testCase)
        verify(Math.abs(title.implicitWidth - plain.implicitWidth) > 2)
    }

    Component {
        id: titleComponent
        Text {
            text: "Recent Scans"
            font.family: Theme.roundedFamily
            font.pointSize: Theme.pt(30)
            font.bold: true
        }
    }
    Component {
        id: plainComponent
        Text {
            text: "Recent Scans"
            font.pointSize: Theme.pt(30)
            font.bold: true
        }
    }
}
