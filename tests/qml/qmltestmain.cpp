// One Qt Quick Test runner for every screen test. Each process gets a
// throw-away home, so the history file and the Trash a test touches are its
// own.
#include "accesstree.h"
#include "apptranslations.h"
#include "tempdir.h"
#include "testfixture.h"

#include <QQmlEngine>
#include <QQuickStyle>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)
Q_IMPORT_QML_PLUGIN(TwinsiftTestPlugin)

class Setup : public QObject {
    Q_OBJECT

public:
    // Runs before the application exists, so GLib and Qt see the new home
    // from their first look.
    Setup() : m_home(twinsift::testing::makeScratchHome()) { QQuickStyle::setStyle("Fusion"); }

public slots:
    void qmlEngineAvailable(QQmlEngine *engine) {
        engine->addImportPath("qrc:/");
        // As the app does: a test run under a German locale sees German.
        static const bool translated = [] {
            twinsift::AppTranslations::install(*QCoreApplication::instance());
            return true;
        }();
        Q_UNUSED(translated);
        // Screens made from here on scan through the fixture's gate.
        twinsift::testing::TestFixture::instance();
        // A screen reader is running: controls take their roles as made.
        twinsift::testing::AccessTree::activate();
    }
    void cleanupTestCase() { twinsift::testing::removeTree(m_home); }

private:
    std::string m_home;
};

QUICK_TEST_MAIN_WITH_SETUP(twinsift_qml, Setup)

#include "qmltestmain.moc"
