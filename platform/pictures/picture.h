#pragma once
// The picture loader: BMP, GIF and JPEG through Qt's readers, WMF and EMF
// through the metafile decoder. The format is taken from the content, never
// from the name.
#include "platform/core/expected.h"
#include "platform/core/twips.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

namespace platform
{

struct Picture {
    // What was decoded. For a large picture this may cover only the part a
    // caller asked for (see loadPicture's visible); size is always the whole.
    QImage image;
    // Natural size in device-independent pixels.
    QSize size;

    bool isEmpty() const { return size.isEmpty(); }
    float widthTwips() const { return tw::fromPixels(size.width()); }
    float heightTwips() const { return tw::fromPixels(size.height()); }
};

// An empty path gives an empty picture. A missing, unreadable, special
// (FIFO, device) or malformed file gives a short reason. visible, when given,
// is the part of the picture that can be seen (in pixels from the top-left
// corner): a loader may decode only that.
Expected<Picture> loadPicture(const QString& path, std::optional<QRect> visible = std::nullopt);

// A picture from an image already in memory (built-in artwork).
Picture pictureFromImage(const QImage& image);

// Renders WMF or EMF bytes in the confined decoder kururina-metafile beside
// the executable (platform/pictures/metafile_decoder.h), within two seconds. On the
// application's thread one decoder is kept for the next picture until ten
// seconds pass without one. renderSize empty: the decoder picks the size.
Expected<QImage> renderMetafile(const QByteArray& bytes, QSize renderSize);

} // namespace platform
