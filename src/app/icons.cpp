// Renders the application icon into a hicolor icon theme tree at build time:
//   twinsift-icons OUT_DIR ICON_NAME SIZE...
// writes OUT_DIR/hicolor/SIZExSIZE/apps/ICON_NAME.png for every size.
#include "dockiconfactory.h"

#include <QDir>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: twinsift-icons OUT_DIR ICON_NAME SIZE...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0) {
            std::fprintf(stderr, "twinsift-icons: bad size %s\n", argv[i]);
            return 2;
        }
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(out).arg(size);
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !twinsift::DockIconFactory::makeIcon(size).save(file)) {
            std::fprintf(stderr, "twinsift-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
