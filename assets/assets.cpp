#include "assets/assets.h"

#include <QFile>
#include <QGuiApplication>
#include <QPixmap>

// The generated files are compiled into this library as a Qt resource; a
// static library needs it registered by hand.
static void registerResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(kururina_assets);
        return true;
    }();
    (void)done;
}

namespace assets
{

namespace
{

bool isDouble(Resolution r)
{
    if (r == Resolution::ForScreens)
        return qGuiApp && qGuiApp->devicePixelRatio() > 1.0;
    return r == Resolution::Double;
}

QImage load(const QString& path, qreal devicePixelRatio)
{
    registerResources();
    QImage image(path);
    Q_ASSERT_X(!image.isNull(), "assets", qPrintable(path));
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

// name.ext, or name@2x.ext for the doubled rendering.
QImage picture(const char* name, const char* extension, Resolution r)
{
    const bool twice = isDouble(r);
    return load(QStringLiteral(":/assets/%1%2.%3")
                    .arg(QLatin1String(name), twice ? QLatin1String("@2x") : QLatin1String(),
                         QLatin1String(extension)),
                twice ? 2.0 : 1.0);
}

QImage icon(int pixels)
{
    return load(QStringLiteral(":/assets/icon-%1.png").arg(pixels), 1.0);
}

} // namespace

QImage busBody(Resolution r)
{
    return picture("bus-body", "png", r);
}
QImage frontDoor(Resolution r)
{
    return picture("front-door", "png", r);
}
QImage middleDoor(Resolution r)
{
    return picture("middle-door", "png", r);
}
QImage doorwayView(Resolution r)
{
    return picture("doorway-view", "png", r);
}
QImage defaultSign(Resolution r)
{
    return picture("default-sign", "png", r);
}
QImage greyPanel(Resolution r)
{
    return picture("grey-panel", "png", r);
}
QImage frontDoorSwitch(Resolution r)
{
    return picture("door-switch-front", "gif", r);
}
QImage middleDoorSwitch(Resolution r)
{
    return picture("door-switch-middle", "gif", r);
}

QImage appIconImage(Resolution r)
{
    if (!isDouble(r))
        return icon(32);
    QImage image = icon(64);
    image.setDevicePixelRatio(2.0);
    return image;
}

QIcon appIcon()
{
    QIcon i;
    i.addPixmap(QPixmap::fromImage(icon(32)));
    i.addPixmap(QPixmap::fromImage(icon(64)));
    return i;
}

QCursor linkCursor(Resolution r)
{
    // Qt hands a cursor's pixmap and hot spot to X11 unscaled, so the doubled
    // cursor keeps device pixel ratio 1 and gives its hot spot in its own pixels.
    const bool twice = isDouble(r);
    QImage image = picture("link-cursor", "png", twice ? Resolution::Double : Resolution::Normal);
    image.setDevicePixelRatio(1.0);
    const int scale = twice ? 2 : 1;
    return QCursor(QPixmap::fromImage(image), 12 * scale, 1 * scale);
}

QByteArray wave(int number)
{
    if (number != 101 && number != 102)
        return {};
    registerResources();
    QFile f(QStringLiteral(":/assets/wave-%1.wav").arg(number));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace assets
