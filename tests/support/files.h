#pragma once
// Files the tests make: any bytes, a plain one-colour BMP whose width tells
// which picture the sign shows, or a symbolic link; and how long things take.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testing_support
{

inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
    return path;
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline QString writeBmp(const QString& path, int width, int height = 4, QRgb colour = 0x336699)
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(colour);
    EXPECT_TRUE(img.save(path, "BMP")) << path.toStdString();
    return path;
}

inline void link(const QString& target, const QString& name)
{
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(name).constData()), 0);
}

// How long f takes, in seconds.
template <typename F> double secondsOf(F f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

} // namespace testing_support
