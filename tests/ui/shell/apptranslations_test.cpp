#include "apptranslations.h"

#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

using twinsift::AppTranslations;

// Loads the translations the way the app does, for a chosen locale, and
// reads texts back through the application, as the screens do.
class AppTranslationsTest : public QObject {
    Q_OBJECT

    static QString text(const char *context, const char *text, int n = -1) {
        return QCoreApplication::translate(context, text, nullptr, n);
    }

    // Uninstalls what one case installed, so the next starts in English.
    static void uninstall(const AppTranslations::Loaded &loaded) {
        delete loaded.ours;
        delete loaded.qtBase;
        delete loaded.qtQuick;
    }

private slots:
    void germanLocaleTranslatesOursAndQts_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("Germany") << QStringLiteral("de_DE");
        // A regional variant without a file of its own falls back to German.
        QTest::newRow("Austria") << QStringLiteral("de_AT");
        QTest::newRow("Switzerland") << QStringLiteral("de_CH");
    }
    void germanLocaleTranslatesOursAndQts() {
        QFETCH(QString, locale);
        const auto loaded =
            AppTranslations::install(*QCoreApplication::instance(), QLocale(locale));
        QVERIFY(loaded.ours);
        QVERIFY(loaded.qtBase);
        QCOMPARE(text("twinsift::CleanupJob", "Cleanup Complete"),
                 QStringLiteral("Bereinigung abgeschlossen"));
        QCOMPARE(text("FileGridRow", "Show in Folder"), QStringLiteral("In Ordner anzeigen"));
        QCOMPARE(text("ResultsOverview", "Trash"), QStringLiteral("Papierkorb"));
        // Counts take German's singular and plural.
        QCOMPARE(text("twinsift::ReviewTable", "%n groups", 1), QStringLiteral("1 Gruppe"));
        QCOMPARE(text("twinsift::ReviewTable", "%n groups", 12), QStringLiteral("12 Gruppen"));
        QCOMPARE(text("twinsift::CleanupJob", "%n files could not be moved", 1),
                 QStringLiteral("1 Datei konnte nicht verschoben werden"));
        // Qt's own buttons come from the system's Qt translations.
        QCOMPARE(text("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
        uninstall(loaded);
        QCOMPARE(text("FileGridRow", "Show in Folder"), QStringLiteral("Show in Folder"));
    }

    // English is the source language: nothing is loaded, and counts keep the
    // texts exactly as they have always read, "1 groups" included.
    void englishAndCLocalesKeepTheSourceTexts_data() {
        QTest::addColumn<QString>("locale");
        QTest::newRow("US") << QStringLiteral("en_US");
        QTest::newRow("GB") << QStringLiteral("en_GB");
        QTest::newRow("C") << QStringLiteral("C");
    }
    void englishAndCLocalesKeepTheSourceTexts() {
        QFETCH(QString, locale);
        const auto loaded =
            AppTranslations::install(*QCoreApplication::instance(), QLocale(locale));
        QVERIFY(!loaded.ours);
        // Qt's texts stay English with ours, not German by accident.
        QVERIFY(!loaded.qtBase);
        QCOMPARE(text("twinsift::ReviewTable", "%n groups", 1), QStringLiteral("1 groups"));
        QCOMPARE(text("twinsift::MarkRuleRunner", "%n sets", 2), QStringLiteral("2 sets"));
        QCOMPARE(text("twinsift::CleanupJob", "%n files moved to Trash · %1", 1),
                 QStringLiteral("1 files moved to Trash · %1"));
        QCOMPARE(text("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
        uninstall(loaded);
    }

    // A language with neither our file nor a fallback stays English, Qt's
    // texts included, even though Qt itself has that language.
    void languageWithoutOurTranslationStaysEnglish() {
        const auto loaded = AppTranslations::install(*QCoreApplication::instance(),
                                                     QLocale(QStringLiteral("fr_FR")));
        QVERIFY(!loaded.ours);
        QVERIFY(!loaded.qtBase);
        QCOMPARE(text("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    }
};

QTEST_MAIN(AppTranslationsTest)
#include "apptranslations_test.moc"
