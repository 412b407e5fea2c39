#include "platform/files/atomic_file.h"

#include "platform/core/native_path.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{

namespace
{

Unexpected<QString> systemError(int err)
{
    return failure(QString::fromLocal8Bit(std::strerror(err)));
}

// The file a chain of symbolic links ends at (path itself when it is none),
// so that the link stays a link and its target gets the new content.
QByteArray linkTarget(QByteArray path, int& err)
{
    for (int hops = 0; hops < 40; ++hops) {
        char buf[4096];
        const ssize_t n = ::readlink(path.constData(), buf, sizeof buf);
        if (n < 0) {
            if (errno == EINVAL || errno == ENOENT)
                return path; // not a link, or nothing there yet
            err = errno;
            return {};
        }
        if (n == static_cast<ssize_t>(sizeof buf)) {
            err = ENAMETOOLONG;
            return {};
        }
        QByteArray next(buf, n);
        if (!next.startsWith('/'))
            next.prepend(path.left(path.lastIndexOf('/') + 1));
        path = next;
    }
    err = ELOOP;
    return {};
}

} // namespace

Expected<void> replaceFile(const QString& path, const QByteArray& content)
{
    int err = 0;
    const QByteArray target = linkTarget(encodePath(path), err);
    if (err)
        return systemError(err);
    // A file the user may not write is not replaced behind his back, even
    // though its folder would let us.
    if (::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
        return systemError(errno);
    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return systemError(errno);

    // Keep the old file's permissions, or the usual ones for a new file.
    struct stat st {
    };
    const mode_t mode = ::stat(target.constData(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0)
        err = errno;
    const char* p = content.constData();
    qsizetype left = content.size();
    while (!err && left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            break;
        }
        p += n;
        left -= n;
    }
    if (!err && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && !err)
        err = errno;
    if (!err && ::rename(temp.constData(), target.constData()) != 0)
        err = errno;
    if (err) {
        ::unlink(temp.constData());
        return systemError(err);
    }
    // Make the rename itself durable.
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? target.left(slash) : QByteArray(slash == 0 ? "/" : ".");
    const int dfd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return {};
}

Expected<QByteArray> readFileStart(const QString& path, qint64 maxBytes)
{
    const int fd = ::open(encodePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return systemError(errno);
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        ::close(fd);
        return failure(f.errorString());
    }
    QByteArray content = f.read(maxBytes);
    if (f.error() != QFileDevice::NoError)
        return failure(f.errorString());
    return content;
}

} // namespace platform
