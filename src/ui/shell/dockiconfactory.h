#pragma once

#include <QImage>

namespace twinsift {

// The application icon, drawn in code: a dark teal rounded square with a
// diagonal gradient, two outlined documents and an amber check badge. The
// window icon, the About panel and the installed hicolor PNGs all come from
// this one drawing, so they never drift apart.
class DockIconFactory {
public:
    DockIconFactory() = delete;

    // The icon on a transparent square canvas of pixels × pixels (512 is the
    // design size; smaller sizes are drawn, not scaled down).
    static QImage makeIcon(int pixels = 512);
};

} // namespace twinsift
