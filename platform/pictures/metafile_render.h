#pragma once
// Draws a WMF or EMF through libwmf or libemf2svg and Qt's SVG renderer. Only
// the confined decoder process runs it on a user's file; the tests run it on
// their own samples to compare.
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace platform
{

// The picture at size (empty: its natural size), at most 4096 x 4096, on
// white, premultiplied ARGB32. A null image when the bytes are no metafile
// the libraries can draw. Needs a QGuiApplication.
QImage drawMetafile(QByteArray& bytes, QSize size);

} // namespace platform
