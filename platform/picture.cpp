#include "platform/picture.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace platform {

Picture pictureFromImage(const QImage& image)
{
    return Picture{image, image.deviceIndependentSize().toSize()};
}

std::optional<Picture> loadPicture(const QString& path, QString* error, std::optional<QRect> visible)
{
    if (path.isEmpty())
        return Picture{};
    QFileInfo fi(path);
    if (!fi.isFile()) {
        if (error)
            *error = QStringLiteral("not a file");
        return std::nullopt;
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (visible && size.isValid() && reader.supportsOption(QImageIOHandler::ClipRect))
        reader.setClipRect(visible->intersected(QRect(QPoint(0, 0), size)));
    QImage img = reader.read();
    if (img.isNull()) {
        if (error)
            *error = reader.errorString();
        return std::nullopt;
    }
    return Picture{img, size.isValid() ? size : img.size()};
}

} // namespace platform
