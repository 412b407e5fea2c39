#include "platform/pictures/picture.h"

#include "platform/core/native_path.h"
#include "platform/files/exe_info.h"
#include "platform/pictures/metafile_decoder.h"
#include "platform/pictures/picture_format.h"
#include "platform/pictures/picture_scan.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QPointer>
#include <QThread>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{

namespace
{

constexpr qint64 maxMetafileBytes = qint64{64} * 1024 * 1024;
constexpr int maxMetafileSide = 4096;
// An idle bus keeps no decoder.
constexpr int metafileIdleMs = 10000;
constexpr int rasterAllocationLimitMb = 256;

// Owns a descriptor opened without blocking, so a FIFO or a device never stalls us.
struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool readFully(int fd, char* out, qint64 n)
{
    while (n > 0) {
        const ssize_t got = ::read(fd, out, static_cast<size_t>(n));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        n -= got;
    }
    return true;
}

QByteArray readAt(int fd, qint64 offset, qint64 n)
{
    QByteArray out;
    if (n <= 0 || ::lseek(fd, offset, SEEK_SET) != offset)
        return out;
    out.resize(n);
    qint64 done = 0;
    while (done < n) {
        const ssize_t got = ::read(fd, out.data() + done, static_cast<size_t>(n - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += got;
    }
    out.truncate(done);
    return out;
}

Expected<Picture> loadRaster(int fd, PictureFormat format, const QByteArray& head,
                             std::optional<QRect> visible)
{
    constexpr qint64 maxPixels = qint64(rasterAllocationLimitMb) * 1024 * 1024 / 4;
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return failure(QStringLiteral("cannot seek"));
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return failure(file.errorString());
    if (!pictureDataComplete(format, file))
        return failure(QStringLiteral("truncated"));
    if (format == PictureFormat::Bmp && isRleBitmap(head)) {
        const QImage img = decodeRleBitmap(file, maxPixels);
        if (img.isNull())
            return failure(QStringLiteral("bad run-length data"));
        return Picture{img, img.size()};
    }
    if (!file.seek(0))
        return failure(QStringLiteral("cannot seek"));
    QImageReader reader(&file, qtFormatName(format));
    reader.setAllocationLimit(rasterAllocationLimitMb);
    // Qt gives a top-down bitmap a negative height.
    const QSize header = reader.size();
    const QSize size(header.width(), std::abs(header.height()));
    if (!size.isValid() || size.isEmpty())
        return failure(QStringLiteral("bad header"));
    if (qint64(size.width()) * size.height() > maxPixels)
        return failure(QStringLiteral("picture too large"));
    if (visible && reader.supportsOption(QImageIOHandler::ClipRect)) {
        const QRect clip = visible->intersected(QRect(QPoint(0, 0), size));
        if (clip.isEmpty())
            return Picture{QImage(), size};
        if (clip.size() != size)
            reader.setClipRect(clip);
    }
    QImage img = reader.read();
    if (img.isNull())
        return failure(reader.errorString());
    return Picture{img, size};
}

Expected<Picture> loadMetafile(int fd, PictureFormat format, const QByteArray& head, qint64 fileSize)
{
    if (fileSize > maxMetafileBytes)
        return failure(QStringLiteral("metafile too large"));
    const std::optional<QSize> natural = metafileHeaderSize(format, head);
    if (format == PictureFormat::Emf && !natural)
        return failure(QStringLiteral("bad header"));
    QByteArray bytes(fileSize, Qt::Uninitialized);
    if (::lseek(fd, 0, SEEK_SET) != 0 || !readFully(fd, bytes.data(), fileSize))
        return failure(QStringLiteral("read error"));
    QSize render = natural.value_or(QSize());
    if (render.isValid())
        render = render.boundedTo(QSize(maxMetafileSide, maxMetafileSide));
    Expected<QImage> img = renderMetafile(bytes, render);
    if (!img)
        return failure(img.error());
    return Picture{*img, natural.value_or(img->size())};
}

} // namespace

Expected<QImage> renderMetafile(const QByteArray& bytes, QSize renderSize)
{
    const QByteArray program = encodePath(exeFolder() + QStringLiteral("/kururina-metafile"));
    // Kept warm on the application's thread, whose event loop ends it when idle.
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() == app->thread()) {
        static QPointer<MetafileDecoder> shared;
        if (!shared)
            shared = new MetafileDecoder(program, metafileIdleMs, app);
        return shared->render(bytes, renderSize);
    }
    MetafileDecoder once(program, 0);
    return once.render(bytes, renderSize);
}

Picture pictureFromImage(const QImage& image)
{
    return Picture{image, image.deviceIndependentSize().toSize()};
}

Expected<Picture> loadPicture(const QString& path, std::optional<QRect> visible)
{
    if (path.isEmpty())
        return Picture{};
    Fd f;
    f.fd = ::open(encodePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (f.fd < 0)
        return failure(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st {
    };
    if (::fstat(f.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return failure(QStringLiteral("not a file"));
    const qint64 fileSize = st.st_size;
    const QByteArray head = readAt(f.fd, 0, 128);
    const PictureFormat format = sniffPictureFormat(head);
    switch (format) {
    case PictureFormat::Bmp:
    case PictureFormat::Gif:
    case PictureFormat::Jpeg:
        return loadRaster(f.fd, format, head, visible);
    case PictureFormat::Wmf:
    case PictureFormat::Emf:
        return loadMetafile(f.fd, format, head, fileSize);
    case PictureFormat::Unknown:
        break;
    }
    return failure(QStringLiteral("unknown format"));
}

} // namespace platform
