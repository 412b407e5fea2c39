#pragma once
// Files the tests make: any bytes, a plain one-colour BMP whose width tells
// which picture the sign shows, or a symbolic link; and how long things take.
// Paths may hold any bytes (platform::decodePath), as users' file names do.
#include "platform/core/native_path.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support
{

inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    const int fd =
        ::open(platform::encodePath(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    EXPECT_TRUE(fd >= 0 && ::write(fd, bytes.constData(), bytes.size()) == bytes.size())
        << path.toStdString();
    ::close(fd);
    return path;
}

inline QByteArray readFile(const QString& path)
{
    QFile f;
    const int fd = ::open(platform::encodePath(path).constData(), O_RDONLY | O_CLOEXEC);
    return fd >= 0 && f.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle) ? f.readAll()
                                                                              : QByteArray("<unreadable>");
}

inline QString writeBmp(const QString& path, int width, int height = 4, QRgb colour = 0x336699)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(colour);
    QBuffer bmp;
    EXPECT_TRUE(bmp.open(QIODevice::WriteOnly) && img.save(&bmp, "BMP"));
    return writeFile(path, bmp.data());
}

inline void link(const QString& target, const QString& name)
{
    ASSERT_EQ(::symlink(platform::encodePath(target).constData(), platform::encodePath(name).constData()), 0);
}

// How long f takes, in seconds.
template <typename F> double secondsOf(F f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace testing_support
