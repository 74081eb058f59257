#include "symboltable.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>

using twinsift::SymbolTable;

class SymbolTableTest : public QObject {
    Q_OBJECT

private slots:
    // A wrong codepoint draws some other icon without any error, so check
    // each entry against the font itself and against the icon names that
    // the font package publishes.
    void everyEntryIsTheNamedGlyphOfTheBundledFont() {
        const QRawFont font(QStringLiteral(":/Twinsift/fonts/MaterialIcons-Regular.ttf"), 16);
        QVERIFY(font.isValid());

        QFile names(QStringLiteral(TWINSIFT_ICON_NAMES));
        QVERIFY2(names.open(QIODevice::ReadOnly), "the icon font's name list is missing");
        QHash<QString, uint> codepoints;
        const QRegularExpression line(QStringLiteral("^\\s*\"([a-z0-9_]+)\": ([0-9a-f]+),?$"));
        while (!names.atEnd()) {
            const auto match = line.match(QString::fromUtf8(names.readLine()).trimmed());
            if (match.hasMatch())
                codepoints.insert(match.captured(1), match.captured(2).toUInt(nullptr, 16));
        }
        QVERIFY(codepoints.size() > 1000);

        for (const SymbolTable::Entry &entry : SymbolTable::entries()) {
            const QString material = QString::fromLatin1(entry.material);
            QVERIFY2(codepoints.contains(material), qPrintable(material));
            QCOMPARE(uint(entry.codepoint), codepoints.value(material));
            QVERIFY2(font.supportsCharacter(QChar(entry.codepoint)), qPrintable(material));
            const QString symbol = QString::fromLatin1(entry.symbol);
            QCOMPARE(SymbolTable::glyphFor(symbol), QString(QChar(entry.codepoint)));
        }
    }

    // Screens pass symbol names as literals to properties named icon,
    // symbol or name; a misspelt one would draw nothing.
    void everySymbolTheScreensNameIsInTheTable() {
        const QRegularExpression literal(
            QStringLiteral("(?<![.\\w])(?:icon|symbol|name|iconName)\\s*:\\s*\"([^\"]+)\""));
        int seen = 0;
        QDirIterator files(QStringLiteral(TWINSIFT_QML_SOURCES), {QStringLiteral("*.qml")},
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (auto it = literal.globalMatch(text); it.hasNext();) {
                const QString name = it.next().captured(1);
                QVERIFY2(!SymbolTable::glyphFor(name).isEmpty(),
                         qPrintable(file.fileName() + QStringLiteral(": ") + name));
                ++seen;
            }
        }
        QVERIFY(seen > 0);
    }
};

QTEST_MAIN(SymbolTableTest)
#include "symboltable_test.moc"
