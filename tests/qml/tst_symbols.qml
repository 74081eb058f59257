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
}
