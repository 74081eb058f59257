#include "appsession.h"

#include "accessibleitem.h"
#include "apptranslations.h"

#include "fileurls.h"
#include "rootnavigation.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTimer>

#include <malloc.h>

namespace twinsift {

namespace {
// Whether OpenGL here is drawn by the CPU, as in a virtual machine, a
// remote session or a display without a GPU driver.
bool openGLIsSoftware() {
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!context.create() || !surface.isValid() || !context.makeCurrent(&surface))
        return false;
    const auto *name =
        reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER));
    const QByteArray renderer = name ? QByteArray(name).toLower() : QByteArray();
    context.doneCurrent();
    return renderer.contains("llvmpipe") || renderer.contains("softpipe") ||
           renderer.contains("software rasterizer") || renderer.contains("swrast");
}
} // namespace

void AppSession::prepareProcess() {
    // glibc gives each thread that allocates an arena of its own, up to eight
    // per core, and memory freed in one arena serves only its threads. The
    // scan's workers build and free hundreds of megabytes over a large tree
    // that the window's thread then cannot reuse: at a million files the
    // window peaked at 815 MB, and at 566 MB with two arenas, at no cost in
    // speed. A limit the user set still wins.
    if (!qEnvironmentVariableIsSet("MALLOC_ARENA_MAX"))
        mallopt(M_ARENA_MAX, 2);
}

void AppSession::configure(const QString &desktopFileName) {
    QGuiApplication::setOrganizationName(QStringLiteral("Ambrivo"));
    QGuiApplication::setApplicationName(QStringLiteral("Twinsift"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Twinsift"));
    // Matches the installed desktop entry, so the desktop pairs the window
    // with its launcher and icon.
    QGuiApplication::setDesktopFileName(desktopFileName);
    QQuickStyle::setStyle(QStringLiteral("Fusion"));
    // The user's language, from LANG, LC_ALL or LC_MESSAGES.
    AppTranslations::install(*QCoreApplication::instance());
    installAccessibleItems();
    // A CPU-drawn OpenGL redraws the whole window for every change, such as
    // each step of a scan's progress, and takes the cores the scan hashes
    // on. The scene graph's own software renderer redraws only what changed.
    // A renderer the user chose still wins.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") &&
        qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND") && openGLIsSoftware())
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

AppSession::AppSession() {
    m_engine.addImportPath(QStringLiteral("qrc:/"));
    QObject::connect(
        &m_engine, &QQmlApplicationEngine::objectCreationFailed, qApp,
        [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    // X11 gives a window the resource name as the instance part of its
    // WM_CLASS, by default the program's file name; desktops pair a window
    // with the launcher whose StartupWMClass equals it. Qt reads the name
    // once, when the first window is made, so it is set only for that
    // moment: programs started later, such as a file manager, keep their own.
    // (Wayland takes the app id from the desktop file name instead.)
    const bool resourceNamed = qEnvironmentVariableIsSet("RESOURCE_NAME");
    if (!resourceNamed && !QGuiApplication::desktopFileName().isEmpty())
        qputenv("RESOURCE_NAME", QGuiApplication::desktopFileName().toUtf8());
    m_engine.load(QUrl(QStringLiteral("qrc:/Twinsift/shell/Main.qml")));
    if (!resourceNamed)
        qunsetenv("RESOURCE_NAME");
    QTimer::singleShot(0, &m_delegate, &AppDelegate::applicationDidFinishLaunching);
}

QQuickWindow *AppSession::mainWindow() const {
    const auto roots = m_engine.rootObjects();
    return roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(roots.first());
}

void AppSession::openFolder(const std::string &path) {
    QQuickWindow *window = mainWindow();
    QObject *rootView = window ? window->property("rootView").value<QObject *>() : nullptr;
    auto *navigation =
        rootView ? rootView->property("navigation").value<RootNavigation *>() : nullptr;
    if (navigation)
        navigation->requestOpenFolder(fileurls::fromPath(path));
}

} // namespace twinsift
