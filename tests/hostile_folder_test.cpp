// A sign folder that fights back: a huge folder, link loops, a FIFO, files
// that change or vanish between listing and loading. Stepping stays silent,
// quick and alive.
#include "app/form1.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QBuffer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString& p) { return QFile::encodeName(p); }

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray smallBmp(QRgb colour)
{
    QImage img(8, 4, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray out;
    QBuffer buf(&out);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "BMP");
    return out;
}

void stepAll(Form1& bus, int presses, std::int16_t key)
{
    for (int i = 0; i < presses; ++i)
        bus.Picture1_KeyDown(key, 0);
}

} // namespace

TEST(HostileFolder, LoopsFifosAndVanishingFilesArePassedOverSilently)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    writeBytes(d + "/a.bmp", smallBmp(0xff0000));
    ASSERT_EQ(::symlink("loop2.bmp", native(d + "/loop1.bmp")), 0);
    ASSERT_EQ(::symlink("loop1.bmp", native(d + "/loop2.bmp")), 0);
    ASSERT_EQ(::symlink(".", native(d + "/deep.jpg")), 0); // a folder that contains itself
    ASSERT_EQ(::mkfifo(native(d + "/sign.bmp"), 0600), 0);
    writeBytes(d + "/vanish.bmp", smallBmp(0x00ff00));
    writeBytes(d + "/shrink.gif", smallBmp(0x0000ff));
    writeBytes(d + "/z.bmp", smallBmp(0xffff00));

    Form1 bus;
    bus.signFolderPath = d;
    ASSERT_TRUE(bus.picDir());
    // Loops, the self-containing folder and the FIFO are not pictures to list.
    QStringList names;
    for (std::int16_t i = 0; i < bus.File1.listCount(); ++i)
        names << *bus.File1.list(i);
    EXPECT_EQ(names, (QStringList{"a.bmp", "shrink.gif", "vanish.bmp", "z.bmp"}));

    // The folder changes after it was listed.
    QFile::remove(d + "/vanish.bmp");
    writeBytes(d + "/shrink.gif", {});
    QFile::remove(d + "/z.bmp");
    QDir(d).mkdir("z.bmp"); // a folder where a picture was

    QElapsedTimer t;
    t.start();
    stepAll(bus, 1, sign::vkDown); // shrink.gif, now empty
    stepAll(bus, 1, sign::vkDown); // vanish.bmp, gone
    stepAll(bus, 1, sign::vkDown); // z.bmp, now a folder
    EXPECT_EQ(bus.signStepper.position(), 3);
    EXPECT_EQ(bus.ImgDesiMaku->picture().size, QSize(52, 32)) << "the built-in sign stays";
    stepAll(bus, 3, sign::vkUp);
    EXPECT_EQ(bus.ImgDesiMaku->picture().size, QSize(8, 4)) << "a.bmp shows again";
    EXPECT_LT(t.elapsed(), 2000);
}

TEST(HostileFolder, AHundredThousandFilesListQuicklyAndStepSafely)
{
    QTemporaryDir dir;
    const QByteArray base = native(dir.path());
    for (int i = 0; i < 100000; ++i) {
        const QByteArray name = base + "/p" + QByteArray::number(i).rightJustified(6, '0') + ".jpg";
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    Form1 bus;
    bus.signFolderPath = dir.path();
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(bus.picDir());
    EXPECT_LT(t.elapsed(), 3000);
    EXPECT_EQ(bus.File1.listCount(), 32767) << "the list's count is a 16-bit number";
    EXPECT_EQ(*bus.File1.list(32766), QStringLiteral("p032766.jpg")) << "the first names in order";
    // Zero-byte "pictures" everywhere: every step fails silently.
    t.restart();
    stepAll(bus, 2000, sign::vkDown);
    EXPECT_EQ(bus.signStepper.position(), 2000);
    EXPECT_LT(t.elapsed(), 5000);
}
