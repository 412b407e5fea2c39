#pragma once
// GIF output through giflib: Qt reads GIF but does not write it.
#include "platform/core/expected.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace gen
{

// An indexed image (at most 256 colours) as the bytes of a GIF87a file.
platform::Expected<QByteArray> encodeGif(const QImage& indexed);

} // namespace gen
