#pragma once
// Walks the structure of BMP, GIF and JPEG files to tell a complete picture
// from one cut short: Qt's readers fill a cut picture with grey or leftover
// memory instead of failing. Apart from any file so the fuzzer and the tests
// can drive them with a buffer.
#include "platform/pictures/picture_format.h"

#include <QIODevice>
#include <QImage>

namespace platform
{

// Whether the picture data that the headers announce is all in the device,
// read from its start: a JPEG's segments and scans up to the end-of-image
// marker, a GIF's blocks through its first image, a BMP's rows or its
// run-length stream. Whatever follows the picture is not looked at. False too
// for a layout Qt's readers refuse.
bool pictureDataComplete(PictureFormat format, QIODevice& in);

// Whether a BMP is run-length encoded (RLE8 or RLE4); head is its first 34 bytes or more.
bool isRleBitmap(const QByteArray& head);

// Decodes a run-length encoded BMP. Pixels the stream skips take colour 0
// (Qt's reader leaves them uninitialised). A null image when the stream ends
// early or the picture has more than maxPixels pixels.
QImage decodeRleBitmap(QIODevice& in, qint64 maxPixels);

} // namespace platform
