#include "apptranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace twinsift {

namespace {
// Tries the locale's languages in the user's order (de_AT, then de, ...),
// so a regional variant falls back to its language's file.
QTranslator *installOne(QCoreApplication &app, const QLocale &locale, const QString &name,
                        const QString &folder) {
    auto *translator = new QTranslator(&app);
    if (!translator->load(locale, name, QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}
} // namespace

AppTranslations::Loaded AppTranslations::install(QCoreApplication &app, const QLocale &locale) {
    Loaded loaded;
    loaded.ours =
        installOne(app, locale, QStringLiteral("twinsift"), QStringLiteral(":/Twinsift/i18n"));
    // Only where our own texts are translated: a window half in the user's
    // language and half in English reads worse than all English.
    if (loaded.ours) {
        const QString system = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        loaded.qtBase = installOne(app, locale, QStringLiteral("qtbase"), system);
        loaded.qtQuick = installOne(app, locale, QStringLiteral("qtdeclarative"), system);
    }
    return loaded;
}

} // namespace twinsift
