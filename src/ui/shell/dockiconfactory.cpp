#include "dockiconfactory.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace twinsift {

namespace {

constexpr qreal canvasSize = 512;

QColor rgb(qreal r, qreal g, qreal b, qreal a = 1.0) {
    return QColor::fromRgbF(float(r), float(g), float(b), float(a));
}

QColor white(qreal a) {
    return rgb(1, 1, 1, a);
}

QPainterPath roundedRect(qreal x, qreal y, qreal w, qreal h, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return path;
}

// One pass of a box blur over the alpha channel, along rows or columns.
void boxBlurAlpha(std::vector<float> &alpha, int width, int height, int radius, bool rows) {
    const int lines = rows ? height : width;
    const int length = rows ? width : height;
    std::vector<float> line(static_cast<size_t>(length));
    for (int l = 0; l < lines; ++l) {
        auto at = [&](int i) -> float & {
            return rows ? alpha[static_cast<size_t>(l) * width + i]
                        : alpha[static_cast<size_t>(i) * width + l];
        };
        for (int i = 0; i < length; ++i)
            line[static_cast<size_t>(i)] = at(i);
        double sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < length) ? line[static_cast<size_t>(i)] : 0.0;
        const double window = 2.0 * radius + 1;
        for (int i = 0; i < length; ++i) {
            at(i) = static_cast<float>(sum / window);
            const int leaving = i - radius;
            const int entering = i + radius + 1;
            if (leaving >= 0)
                sum -= line[static_cast<size_t>(leaving)];
            if (entering < length)
                sum += line[static_cast<size_t>(entering)];
        }
    }
}

// A soft shadow of the filled path: three box passes each way come close to
// the Gaussian a shadow's blur radius describes (sigma about half of it).
QImage shadowOf(const QPainterPath &shape, const QTransform &toDevice, QSize size, QColor colour,
                qreal blurRadius) {
    QImage mask(size, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.setTransform(toDevice);
        p.fillPath(shape, Qt::black);
    }
    const int width = size.width();
    const int height = size.height();
    std::vector<float> alpha(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(mask.constScanLine(y));
        for (int x = 0; x < width; ++x)
            alpha[static_cast<size_t>(y) * width + x] = qAlpha(row[x]) / 255.0f;
    }
    const qreal sigma = blurRadius / 2.0;
    const int box = int(std::lround((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0));
    for (int pass = 0; pass < 3; ++pass) {
        boxBlurAlpha(alpha, width, height, box, true);
        boxBlurAlpha(alpha, width, height, box, false);
    }
    QImage shadow(size, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        auto *row = reinterpret_cast<QRgb *>(shadow.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const float a = alpha[static_cast<size_t>(y) * width + x] * float(colour.alphaF());
            const int a8 = std::clamp(int(std::lround(a * 255.0f)), 0, 255);
            row[x] = qPremultiply(qRgba(colour.red(), colour.green(), colour.blue(), a8));
        }
    }
    return shadow;
}

// The gradient a drawing "at an angle" lays across a shape: it runs along the
// angle and just covers the shape's bounds, in y-up coordinates.
QLinearGradient gradientAcross(const QRectF &bounds, qreal degrees) {
    const qreal radians = degrees * std::numbers::pi / 180.0;
    const QPointF direction(std::cos(radians), std::sin(radians));
    const qreal reach = bounds.width() / 2 * std::abs(direction.x()) +
                        bounds.height() / 2 * std::abs(direction.y());
    const QPointF centre = bounds.center();
    return QLinearGradient(centre - direction * reach, centre + direction * reach);
}

} // namespace

QImage DockIconFactory::makeIcon(int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    // The drawing is laid out with the origin at the bottom-left and y
    // growing upwards. This is the one place that turns it into image
    // coordinates; every figure below is in the drawing's own units.
    const qreal scale = pixels / canvasSize;
    QTransform upwards;
    upwards.scale(scale, scale);
    upwards.translate(0, canvasSize);
    upwards.scale(1, -1);
    painter.setTransform(upwards);

    // Base shape, with its shadow falling 10 units downwards.
    const QPainterPath base = roundedRect(18, 18, 476, 476, 112);
    QTransform shadowOffset = upwards;
    shadowOffset.translate(0, -10);
    // The shadow is blurred in pixels, so its radius follows the scale.
    const QImage shadow = shadowOf(base, shadowOffset, image.size(), rgb(0, 0, 0, 0.3), 30 * scale);
    painter.save();
    painter.resetTransform();
    painter.drawImage(0, 0, shadow);
    painter.restore();
    painter.fillPath(base, rgb(0.025, 0.16, 0.22));

    QLinearGradient gradient = gradientAcross(base.boundingRect(), -35);
    gradient.setColorAt(0, rgb(0.025, 0.13, 0.20));
    gradient.setColorAt(1, rgb(0.02, 0.46, 0.45));
    painter.fillPath(base, gradient);

    painter.strokePath(base, QPen(white(0.17), 8));

    QPen back(white(0.7), 27);
    back.setJoinStyle(Qt::RoundJoin);
    painter.strokePath(roundedRect(132, 180, 208, 236, 30), back);

    QPen front(white(0.98), 29);
    front.setJoinStyle(Qt::RoundJoin);
    painter.strokePath(roundedRect(184, 102, 208, 236, 30), front);

    QPainterPath badge;
    badge.addEllipse(QRectF(298, 82, 108, 108));
    painter.fillPath(badge, rgb(0.98, 0.72, 0.18));

    QPainterPath check;
    check.moveTo(325, 135);
    check.lineTo(345, 115);
    check.lineTo(380, 155);
    QPen mark(rgb(0.04, 0.16, 0.21), 15);
    mark.setCapStyle(Qt::RoundCap);
    mark.setJoinStyle(Qt::RoundJoin);
    painter.strokePath(check, mark);

    painter.end();
    return image;
}

} // namespace twinsift
