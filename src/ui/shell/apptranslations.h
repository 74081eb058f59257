#pragma once

#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace twinsift {

// The translations of the running application for one locale: Twinsift's
// own texts, built into the binary, and Qt's texts for its own dialogs and
// menus, from the system's Qt translations. English needs neither, since the
// source texts are English.
class AppTranslations {
public:
    // What was installed; null where the locale has no translation. The
    // application owns them; deleting one uninstalls it.
    struct Loaded {
        QTranslator *ours = nullptr;
        QTranslator *qtBase = nullptr;
        QTranslator *qtQuick = nullptr;
    };

    // Installs the translations for the locale into the application. Call
    // before the first screen is loaded, since screens read their texts as
    // they are built.
    static Loaded install(QCoreApplication &app, const QLocale &locale = QLocale::system());
};

} // namespace twinsift
