#pragma once
// Content sniffing and metafile header sizes, apart from any decoder so the
// fuzzer and the tests can drive them directly.
#include <QByteArray>
#include <QSize>
#include <optional>

namespace platform
{

enum class PictureFormat { Unknown, Bmp, Gif, Jpeg, Wmf, Emf };

// The format the first bytes of a file announce (at least 44 bytes for EMF).
PictureFormat sniffPictureFormat(const QByteArray& head);
const char* qtFormatName(PictureFormat format);

// Natural size at 96 dpi from a placeable WMF header or an EMF header frame
// (bounds when the frame is empty). nullopt when the header gives none.
std::optional<QSize> metafileHeaderSize(PictureFormat format, const QByteArray& head);

} // namespace platform
