#include "appsession.h"
#include "apptranslations.h"
#include "commandline.h"

#include <QGuiApplication>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

int main(int argc, char *argv[]) {
    twinsift::AppSession::prepareProcess();
    // Help and the version need no display: they are answered before the
    // GUI connects to one, so they work over ssh and in a package check.
    if (twinsift::CommandLine::asksOnlyForText(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Twinsift"));
        QCoreApplication::setApplicationVersion(QStringLiteral(TWINSIFT_VERSION));
        // The help in the user's language, as the window would be.
        twinsift::AppTranslations::install(app);
        std::optional<int> exitCode;
        twinsift::CommandLine::folderOfProcess(argc, argv, exitCode);
        if (exitCode)
            return *exitCode;
    }
    QGuiApplication app(argc, argv);
    twinsift::AppSession::configure(QStringLiteral(TWINSIFT_APP_ID));
    QGuiApplication::setApplicationVersion(QStringLiteral(TWINSIFT_VERSION));
    // After Qt has taken its own options (-platform, -style, ...) out.
    std::optional<int> exitCode;
    const auto folder = twinsift::CommandLine::folderOfProcess(argc, argv, exitCode);
    if (exitCode)
        return *exitCode;
    twinsift::AppSession session;
    if (folder)
        session.openFolder(*folder);
    return app.exec();
}
