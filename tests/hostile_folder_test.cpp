// A sign folder that fights back: files that change or vanish between
// listing and loading, and a hundred thousand of them. Stepping stays silent,
// quick and alive.
#include "app/form1.h"
#include "tests/support/files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

using testing_support::writeBmp;

namespace
{
void press(Form1& bus, int times, std::int16_t key)
{
    for (int i = 0; i < times; ++i)
        bus.Picture1_KeyDown(key, 0);
}
} // namespace

TEST(HostileFolder, FilesThatChangeAfterTheListingArePassedOverSilently)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    for (const char* name : {"/a.bmp", "/shrink.gif", "/vanish.bmp", "/z.bmp"})
        writeBmp(d + name, 8);
    Form1 bus;
    bus.signFolderPath = d;
    ASSERT_TRUE(bus.picDir());
    testing_support::writeFile(d + "/shrink.gif", {});
    QFile::remove(d + "/vanish.bmp");
    QFile::remove(d + "/z.bmp");
    QDir(d).mkdir("z.bmp"); // a folder where a picture was

    QElapsedTimer t;
    t.start();
    press(bus, 3, sign::vkDown);
    EXPECT_EQ(bus.signStepper.position(), 3);
    EXPECT_EQ(bus.ImgDesiMaku->picture().size, QSize(52, 32)) << "the built-in sign stays";
    press(bus, 3, sign::vkUp);
    EXPECT_EQ(bus.ImgDesiMaku->picture().size, QSize(8, 4)) << "a.bmp shows again";
    EXPECT_LT(t.elapsed(), 2000);
}

TEST(HostileFolder, AHundredThousandFilesListQuicklyAndStepSafely)
{
    QTemporaryDir dir;
    for (int i = 0; i < 100000; ++i) {
        const QByteArray name = QFile::encodeName(dir.path()) + "/p" + QByteArray::number(i).rightJustified(6, '0');
        ::close(::open((name + ".jpg").constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
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
    press(bus, 2000, sign::vkDown);
    EXPECT_EQ(bus.signStepper.position(), 2000);
    EXPECT_LT(t.elapsed(), 5000);
}
