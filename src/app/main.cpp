#include "appsession.h"

#include <QGuiApplication>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    twinsift::AppSession::configure(QStringLiteral(TWINSIFT_APP_ID));
    twinsift::AppSession session;
    return app.exec();
}
