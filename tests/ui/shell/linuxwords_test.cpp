#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

// The screens' texts were first written for another desktop. A text that
// names that platform tells a Linux user something untrue ("the macOS
// Trash", "Reveal in Finder"), so every shipped text is read for those
// names: the strings in code and screens, and the desktop entry and
// AppStream metainfo as a whole.
class LinuxWordsTest : public QObject {
    Q_OBJECT

private slots:
    void noShippedTextNamesAnotherPlatform() {
        const QRegularExpression platformWord(
            QStringLiteral("\\bin Finder\\b|\\bmacOS\\b|\\bMacs?\\b|\\bApple\\b|\\bIntel\\b|"
                           "Developer ID|Notari[sz]ed"));
        const QRegularExpression literal(QStringLiteral("\"(?:[^\"\\\\\\n]|\\\\.)*\""));
        QStringList found;
        int read = 0;
        QDirIterator files(QStringLiteral(TWINSIFT_SOURCES),
                           {QStringLiteral("*.qml"), QStringLiteral("*.cpp"), QStringLiteral("*.h"),
                            QStringLiteral("*.in")},
                           QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const bool wholeFile = file.fileName().endsWith(QStringLiteral(".in"));
            int lineNumber = 0;
            while (!file.atEnd()) {
                const QString line = QString::fromUtf8(file.readLine());
                ++lineNumber;
                QStringList texts;
                if (wholeFile)
                    texts.append(line);
                else
                    for (auto it = literal.globalMatch(line); it.hasNext();)
                        texts.append(it.next().captured());
                for (const QString &text : texts)
                    if (platformWord.match(text).hasMatch())
                        found.append(QStringLiteral("%1:%2: %3")
                                         .arg(file.fileName())
                                         .arg(lineNumber)
                                         .arg(text.trimmed()));
            }
            ++read;
        }
        QVERIFY(read > 50);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(LinuxWordsTest)
#include "linuxwords_test.moc"
