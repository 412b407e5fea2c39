// Feeds arbitrary bytes to the picture loader through a file, as the sign
// folder would. Metafiles go through the header parsing in process; the
// decoder helper runs too when KURURINA_FUZZ_HELPER is set (it is slow).
#include "platform/pictures/picture.h"
#include "platform/pictures/picture_format.h"

#include <QTemporaryFile>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Removed again when the fuzzer ends.
    static QTemporaryFile file;
    static const bool withHelper = std::getenv("KURURINA_FUZZ_HELPER") != nullptr;

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto format = platform::sniffPictureFormat(bytes.left(128));
    (void)platform::metafileHeaderSize(format, bytes.left(128));
    if ((format == platform::PictureFormat::Wmf || format == platform::PictureFormat::Emf) && !withHelper)
        return 0;
    if (!file.open() || !file.resize(0) || !file.seek(0) || file.write(bytes) != bytes.size() ||
        !file.flush())
        std::abort();
    (void)platform::loadPicture(file.fileName(), QRect(0, 0, 665, 212));
    return 0;
}
