// `twinsift [FOLDER]` as a file manager's "Open With" or a terminal starts
// it: the folder is chosen on the scan screen, ready and not scanning, and
// the options a user types print and end.
#include "appsession.h"
#include "commandline.h"
#include "duplicatescanviewmodel.h"
#include "fileurls.h"
#include "scanscreencontroller.h"
#include "tempdir.h"

#include <QGuiApplication>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <unistd.h>

Q_IMPORT_QML_PLUGIN(TwinsiftPlugin)

using namespace twinsift;

namespace {

CommandLine::Parsed parse(const std::vector<std::string> &raw) {
    QStringList decoded;
    for (const std::string &argument : raw)
        decoded << QString::fromLocal8Bit(argument);
    return CommandLine::parse(decoded, raw);
}

// With no display to connect to unless the platform is offscreen: help and
// the version must not need one.
QProcess::ExitStatus run(const QStringList &arguments, QProcess &process,
                         const QString &platform = QStringLiteral("xcb")) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TWINSIFT_BINARY), arguments);
    process.waitForFinished(10000);
    return process.exitStatus();
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void folderArgumentKeepsItsBytesAndBecomesAbsolute();
    void wrongCommandLinesEndWithAnError();
    void helpAndVersionPrintAndEnd();
    void folderGivenAtStartIsChosenReadyNotScanned();
    void pathThatIsNoFolderSaysItIsNotAvailable();
};

void CommandLineTest::folderArgumentKeepsItsBytesAndBecomesAbsolute() {
    // A name that is not UTF-8 decodes to U+FFFD; the bytes must survive.
    const std::string latin1 = "/tmp/caf\xe9/./photos/../photos/";
    CommandLine::Parsed parsed = parse({"twinsift", latin1});
    QVERIFY(!parsed.exitText);
    QCOMPARE(parsed.folder.value(), std::string("/tmp/caf\xe9/photos"));

    char here[4096];
    QVERIFY(getcwd(here, sizeof here));
    parsed = parse({"twinsift", "sub/dir"});
    QCOMPARE(parsed.folder.value(), std::string(here) + "/sub/dir");

    // After "--" a name that looks like an option is a folder.
    parsed = parse({"twinsift", "--", "-odd"});
    QVERIFY(!parsed.exitText);
    QCOMPARE(parsed.folder.value(), std::string(here) + "/-odd");

    QVERIFY(!parse({"twinsift"}).folder);
}

void CommandLineTest::wrongCommandLinesEndWithAnError() {
    for (const std::vector<std::string> &raw :
         {std::vector<std::string>{"twinsift", "--frobnicate"},
          std::vector<std::string>{"twinsift", "/a", "/b"}}) {
        const CommandLine::Parsed parsed = parse(raw);
        QVERIFY(parsed.exitText && !parsed.exitText->isEmpty());
        QVERIFY(parsed.failed);
        QVERIFY(!parsed.folder);
    }
}

void CommandLineTest::helpAndVersionPrintAndEnd() {
    QProcess version;
    QCOMPARE(run({QStringLiteral("--version")}, version), QProcess::NormalExit);
    QCOMPARE(version.exitCode(), 0);
    QCOMPARE(version.readAllStandardOutput().trimmed(),
             QByteArray("Twinsift ") + QByteArray(TWINSIFT_VERSION));

    QProcess help;
    QCOMPARE(run({QStringLiteral("--help")}, help), QProcess::NormalExit);
    QCOMPARE(help.exitCode(), 0);
    const QByteArray text = help.readAllStandardOutput();
    QVERIFY2(text.contains("[FOLDER]") && text.contains("--version"), text.constData());

    QProcess wrong;
    QCOMPARE(run({QStringLiteral("--frobnicate")}, wrong, QStringLiteral("offscreen")),
             QProcess::NormalExit);
    QCOMPARE(wrong.exitCode(), 1);
    QVERIFY(wrong.readAllStandardError().contains("frobnicate"));
}

namespace {
ScanScreenController *scanScreen(AppSession &session) {
    QQuickWindow *window = session.mainWindow();
    auto *rootView = window ? window->property("rootView").value<QObject *>() : nullptr;
    auto *view = rootView ? rootView->property("detailItem").value<QObject *>() : nullptr;
    return view ? view->property("controller").value<ScanScreenController *>() : nullptr;
}
} // namespace

void CommandLineTest::folderGivenAtStartIsChosenReadyNotScanned() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
    testing::TempDir dir;
    testing::writePattern(dir / "a.bin", 5000, 1);
    testing::writePattern(dir / "b.bin", 5000, 1);

    // As main does it.
    const CommandLine::Parsed parsed = parse({"twinsift", dir.path() + "/"});
    AppSession session;
    session.openFolder(parsed.folder.value());
    ScanScreenController *controller = scanScreen(session);
    QVERIFY(controller);
    // The folder is looked at on a worker first; under the sanitizers, on
    // a busy machine, that has taken longer than QTRY's five seconds.
    QTRY_COMPARE_WITH_TIMEOUT(controller->selectedFolder(), fileurls::fromPath(dir.path()), 30000);
    QCOMPARE(controller->selectedFolderText(), QString::fromStdString(dir.path()));
    QVERIFY(!controller->isImporterPresented());
    // The X11 class name was lent to the first window only; programs the app
    // starts, a file manager among them, must not take it.
    QVERIFY(!qEnvironmentVariableIsSet("RESOURCE_NAME"));
    // Ready, and it stays so: choosing never scans.
    QTest::qWait(300);
    QVERIFY(!controller->scanModel()->isScanning());
    QVERIFY(!controller->scanModel()->result().hasValue());
    QVERIFY(controller->scanModel()->errorMessage().isEmpty());
}

void CommandLineTest::pathThatIsNoFolderSaysItIsNotAvailable() {
    testing::TempDir dir;
    testing::writeFile(dir / "file.txt", "x");
    for (const std::string &path : {dir / "file.txt", dir / "missing"}) {
        AppSession session;
        session.openFolder(path);
        ScanScreenController *controller = scanScreen(session);
        QVERIFY(controller);
        QTRY_COMPARE(controller->scanModel()->errorMessage(),
                     ScanScreenController::recentFolderUnavailableMessage());
        QVERIFY(!controller->hasFolder());
        QVERIFY(!controller->scanModel()->isScanning());
    }
}

int main(int argc, char *argv[]) {
    const std::string home = testing::makeScratchHome();
    QGuiApplication app(argc, argv);
    AppSession::configure(QStringLiteral("com.ambrivo.Twinsift"));
    CommandLineTest test;
    const int failed = QTest::qExec(&test, argc, argv);
    testing::removeTree(home);
    return failed;
}

#include "commandline_test.moc"
