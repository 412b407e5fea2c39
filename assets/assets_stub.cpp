#include "assets/assets.h"

#include <QPainter>

// Placeholder artwork until the generated assets land.
namespace {
QImage filled(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}
} // namespace

namespace assets {
QImage busBody() { return filled(665, 212, QColor(255, 150, 40)); }
QImage frontDoor() { return filled(73, 148, QColor(60, 60, 60)); }
QImage middleDoor() { return filled(76, 150, QColor(200, 120, 30)); }
QImage doorwayView() { return filled(76, 151, QColor(120, 160, 200)); }
QImage defaultSign() { return filled(52, 32, QColor(30, 30, 30)); }
QImage greyPanel() { return filled(42, 137, QColor(160, 160, 160)); }
QImage appIconImage() { return filled(32, 32, QColor(255, 128, 0)); }
QIcon appIcon() { return QIcon(QPixmap::fromImage(appIconImage())); }
QImage frontDoorSwitch() { return filled(50, 20, Qt::yellow); }
QImage middleDoorSwitch() { return filled(50, 20, Qt::yellow); }
QCursor linkCursor() { return QCursor(Qt::PointingHandCursor); }
QByteArray wave(int) { return {}; }
} // namespace assets
