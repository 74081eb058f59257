#include "appicon.h"

#include "dockiconfactory.h"

#include <QPainter>
#include <QQuickWindow>

#include <cmath>

namespace twinsift {

AppIcon::AppIcon(QQuickItem *parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
}

void AppIcon::paint(QPainter *painter) {
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    const int pixels = int(std::ceil(std::min(width(), height()) * ratio));
    if (pixels <= 0)
        return;
    if (m_icon.width() != pixels)
        m_icon = DockIconFactory::makeIcon(pixels);
    const qreal side = pixels / ratio;
    painter->drawImage(QRectF((width() - side) / 2, (height() - side) / 2, side, side), m_icon);
}

} // namespace twinsift
