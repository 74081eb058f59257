#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <span>
#include <string_view>

class QJSEngine;
class QQmlEngine;

namespace twinsift {

// The one table from the symbol names the screens use to glyphs of the
// Material Icons font. Screens name symbols; only SymbolIcon turns a name
// into a glyph, through this table.
class SymbolTable : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    struct Entry {
        std::string_view symbol;   // the name a screen uses, such as "folder.fill"
        std::string_view material; // the icon's name in the font
        char16_t codepoint;
    };

    static std::span<const Entry> entries();

    // The glyph for a symbol name, or an empty string for a name the table
    // does not know.
    static QString glyphFor(QStringView symbol);
    Q_INVOKABLE QString glyph(const QString &symbol) const { return glyphFor(symbol); }

    static SymbolTable *create(QQmlEngine *, QJSEngine *);

private:
    explicit SymbolTable(QObject *parent = nullptr) : QObject(parent) {}
};

} // namespace twinsift
