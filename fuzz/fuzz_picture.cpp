// Feeds arbitrary bytes to the picture loader through a file, as the sign
// folder would. Metafiles go through the header parsing in process; the
// decoder helper runs too when KURURINA_FUZZ_HELPER is set (it is slow).
#include "platform/pictures/picture.h"
#include "platform/pictures/picture_format.h"

#include <QFile>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QString path = [] {
        char name[] = "/tmp/fuzz_picture.XXXXXX";
        const int fd = ::mkstemp(name);
        if (fd < 0)
            std::abort();
        ::close(fd);
        return QString::fromLocal8Bit(name);
    }();
    static const bool withHelper = std::getenv("KURURINA_FUZZ_HELPER") != nullptr;

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto format = platform::sniffPictureFormat(bytes.left(128));
    (void)platform::metafileHeaderSize(format, bytes.left(128));
    if ((format == platform::PictureFormat::Wmf || format == platform::PictureFormat::Emf) && !withHelper)
        return 0;
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            std::abort();
    }
    (void)platform::loadPicture(path, QRect(0, 0, 665, 212));
    return 0;
}
