#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

namespace twinsift {

// The application icon in a screen, drawn at the item's own pixel size.
class AppIcon : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT

public:
    explicit AppIcon(QQuickItem *parent = nullptr);
    void paint(QPainter *painter) override;

private:
    QImage m_icon;
};

} // namespace twinsift
