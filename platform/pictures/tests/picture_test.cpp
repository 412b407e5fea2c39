// The picture loader: every format by its content, the variants ordinary
// viewers show, and files that are no pictures, cut short or hostile.
#include "platform/pictures/picture.h"
#include "platform/pictures/picture_format.h"
#include "platform/pictures/tests/picture_samples.h"
#include "tests/support/files.h"
#include "tests/support/ordinary_user.h"

using testing_support::writeFile;

// The picture in a file of its own of that name.
static platform::Expected<platform::Picture> loadBytes(const QByteArray& bytes, const char* name = "p",
                                                       std::optional<QRect> visible = std::nullopt)
{
    const QTemporaryDir dir;
    return platform::loadPicture(writeFile(dir.filePath(name), bytes), visible);
}

// Metafiles go by their content, whatever their name, at their natural size;
// cut short, they fail. An empty path is an empty picture.
TEST(LoadPicture, MetafilesLoadByContentWithTheirNaturalSizeAndFailCutShort)
{
    const std::pair<QByteArray, QSize> formats[] = {{samples::wmf(1440, 720, 1440), {96, 48}},
                                                    {samples::emf(200, 100), {200, 100}},
                                                    {samples::wmf(32767, 1, 96), {32767, 1}},
                                                    // No placeable header: the size libwmf gives.
                                                    {samples::wmf(1440, 720, 1440).mid(22), {961, 481}}};
    for (const auto& [bytes, size] : formats) {
        for (const char* name : {"a.gif", "noext"}) {
            const auto pic = loadBytes(bytes, name);
            EXPECT_TRUE(pic && pic->size == size && !pic->image.isNull()) << name;
        }
        for (double keep : {0.1, 0.5, 0.9})
            EXPECT_FALSE(loadBytes(bytes.left(qsizetype(bytes.size() * keep)))) << keep;
    }
    EXPECT_TRUE(platform::loadPicture(QString()).value().isEmpty());
}

// Raster variants that ordinary viewers show, each the reference picture (the
// top-left quarter in the ink, the rest white) the right way up in its colours,
// from a file whose name tells nothing; each cut short inside its picture data
// fails.
TEST(LoadPicture, RasterVariantsShowRightWayUpInTheirColoursAndFailWhenCutShort)
{
    using namespace samples;
    const QByteArray jpeg = samples::jpeg(32, 32), gif = drawn(8, 8, "GIF:-");
    // Two frames, the second all black; the first ends where the second's control block starts.
    const QByteArray anim =
        drawn(8, 8, R"(\( -clone 0 -fill black -draw 'color 0,0 reset' \) -set delay 10 GIF:-)");
    const qsizetype second = anim.indexOf("\x21\xF9\x04", anim.indexOf("\x21\xF9\x04") + 1);
    // The picture up to the end of its data, what follows it in the file, the ink.
    const struct {
        const char* name;
        QByteArray picture, after{};
        QRgb ink = qRgb(255, 0, 0);
    } variants[] = {
        // The end marker right after a comment: segments are skipped by their length.
        {"jpeg comment last", jpeg.chopped(2) + QByteArray("\xFF\xFE\0\4ab\xFF\xD9", 8)},
        {"bmp 1 bit", bmpOf(10, 6, 1)},
        {"bmp 4 bits", bmpOf(10, 6, 4)},
        {"bmp 8 bits", bmpOf(10, 6, 8)},
        {"bmp 16 bits", bmpOf(10, 6, 16)},
        {"bmp 24 bits", bmpOf(10, 6, 24)},
        {"bmp 32 bits", bmpOf(10, 6, 32)},
        {"bmp rle8", bmpOf(10, 6, 8, 1)},
        {"bmp rle4", bmpOf(10, 6, 4, 2)},
        // Rows beyond the height after the last end of line: never painted.
        {"bmp rle8 longer than high", bmpOf(10, 6, 8, 1).chopped(2) + QByteArray("\0\0", 2),
         QByteArray("\5\1\0\1", 4)},
        // The white skipped with a delta and short lines: skipped pixels take colour 0.
        {"bmp rle8 skipping",
         bmpOf(10, 6, 8, 1).left(66) + QByteArray("\0\2\0\3\5\1\0\0\5\1\0\0\5\1\0\1", 16)},
        {"bmp 16-bit fields", bmpOf(10, 6, 16, 3)},
        {"bmp 32-bit fields, v5 header", bmpOf(10, 6, 32, 3, 124)},
        {"bmp os/2 core 8 bits", bmpOf(10, 6, 8, 0, 12)},
        {"bmp os/2 core 24 bits", bmpOf(10, 6, 24, 0, 12)},
        {"bmp os/2 2.x 4 bits", bmpOf(10, 6, 4, 0, 64)},
        {"bmp top-down 24 bits", bmpOf(10, -6, 24)},
        {"jpeg progressive", drawn(32, 32, "-interlace JPEG JPEG:-")},
        {"jpeg grey",
         qtImage(reference(32, 32, Qt::black).convertToFormat(QImage::Format_Grayscale8), "jpeg"),
         {},
         qRgb(0, 0, 0)},
        {"jpeg cmyk with restart markers", drawn(32, 32, "-colorspace CMYK JPEG:- | jpegtran -restart 1")},
        // A phone photo: a thumbnail segment holding an end marker, a video after the end.
        {"jpeg with data after", jpeg.left(2) + QByteArray("\xFF\xE1\0\6\xFF\xD9\xFF\xD8", 8) + jpeg.mid(2),
         QByteArray(5000, '\x42')},
        {"gif87a", drawn(8, 8, "GIF87:-").chopped(1), ";"},
        {"gif89a interlaced", drawn(8, 8, "-interlace GIF GIF:-").chopped(1), ";"},
        {"gif89a animated", anim.left(second), anim.mid(second)},
        {"gif89a with bytes after its trailer", gif.chopped(1), ";" + QByteArray(100, '\x42')},
    };
    for (const auto& v : variants) {
        SCOPED_TRACE(v.name);
        const auto pic = loadBytes(v.picture + v.after);
        ASSERT_TRUE(pic);
        const QImage& img = pic->image;
        // Lossy JPEG blurs the ink's edge too; 16-bit pixels lose the low bits.
        const bool lossy = v.picture.startsWith("\xFF\xD8");
        const int w = img.width(), h = img.height(), tolerance = lossy ? 48 : 8, edge = lossy ? 3 : 0;
        EXPECT_EQ(img.size(), pic->size);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb want = inked(x, y, w, h) ? v.ink : qRgb(255, 255, 255), got = img.pixel(x, y);
                const int off =
                    std::max({std::abs(qRed(got) - qRed(want)), std::abs(qGreen(got) - qGreen(want)),
                              std::abs(qBlue(got) - qBlue(want))});
                ASSERT_TRUE(off <= tolerance || std::abs(x - w / 2) < edge || std::abs(y - h / 2) < edge)
                    << x << "," << y;
            }
        for (const qsizetype keep : {v.picture.size() / 2, v.picture.size() - 1})
            EXPECT_FALSE(loadBytes(v.picture.left(keep))) << keep;
    }
}

TEST(LoadPicture, FilesThatAreNotPicturesFailQuickly)
{
    QTemporaryDir dir;
    const std::pair<const char*, QByteArray> files[] = {
        {"zero.bmp", {}},
        {"text.bmp", "this is not a bitmap, only some words that go on for a while\n"},
        {"bm-text.bmp", "BM but then just text that goes on and on and on and on\n"},
        // A picture far beyond any allocation limit; a product overflowing 64 bits; no width.
        {"bomb.bmp", samples::bmp(2, 2).replace(18, 8, samples::le(4, {0x7F7F, 0x7F7F}))},
        {"wide.bmp", samples::bmp(2, 2)
                         .replace(18, 8, samples::le(4, {0x7FFFFFFF, 0x7FFFFFFF}))
                         .replace(28, 2, samples::le(2, {64}))},
        {"no-width.bmp", samples::bmp(2, 2).replace(18, 4, samples::le(4, {0}))},
        // Run-length data for 10 x 6 under a header claiming 16000 x 16000.
        {"giant-rle.bmp", samples::bmpOf(10, 6, 8, 1).replace(18, 8, samples::le(4, {16000, 16000}))},
        {"inch0.wmf", samples::wmf(100, 100, 0)},
        // 257 colours, all there, before good run-length data: more than a palette holds.
        {"rle-257.bmp", samples::bmpOf(10, 6, 8, 1)
                            .replace(46, 4, samples::le(4, {257}))
                            .replace(54, 12, QByteArray(257 * 4, '\0'))
                            .replace(10, 4, samples::le(4, {54 + 257 * 4}))},
    };
    QStringList names{"sign.bmp", "missing.gif", "big.emf", "/dev/zero"};
    for (const auto& [name, bytes] : files)
        names << writeFile(dir.filePath(name), bytes);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("sign.bmp")).constData(), 0600), 0);
    // Big and sparse: a metafile over the size cap is refused without reading it.
    ASSERT_TRUE(QFile::resize(writeFile(dir.filePath("big.emf"), samples::emf(10, 10)), qint64(65) << 20));
    const auto expectFails = [&](const QString& name) {
        SCOPED_TRACE(name.toStdString());
        QString error;
        const double s = testing_support::secondsOf(
            [&] { error = platform::loadPicture(QDir(dir.path()).filePath(name)).error_or(QString()); });
        EXPECT_TRUE(!error.isEmpty() && s < 1.5) << error.toStdString() << s;
    };
    for (const QString& name : names)
        expectFails(name);
    // No permission to read it, in a folder he may enter.
    const QByteArray locked = QFile::encodeName(writeFile(dir.filePath("locked.bmp"), samples::bmp(2, 2)));
    ASSERT_TRUE(::chmod(locked.constData(), 0) == 0 &&
                ::chmod(QFile::encodeName(dir.path()).constData(), 0711) == 0);
    testing_support::asOrdinaryUser([&] { expectFails("locked.bmp"); });
}

// Only the visible corner of a large picture is decoded, but it keeps its size;
// a window wider than the picture is clipped to it.
TEST(LoadPicture, LargeJpegDecodesOnlyTheVisiblePartButKeepsItsSize)
{
    const QRect visible(0, 0, 400, 300);
    const auto pic = loadBytes(samples::jpeg(6000, 4000), "big.jpg", visible);
    ASSERT_TRUE(pic);
    EXPECT_TRUE(pic->size == QSize(6000, 4000) && pic->image.size() == QSize(400, 300));
    // Its far corner still in the red quarter: cut out, not scaled down.
    const QRgb corner = pic->image.pixel(399, 299);
    EXPECT_TRUE(qRed(corner) > 200 && qGreen(corner) < 60);
    EXPECT_EQ(loadBytes(samples::jpeg(40, 30), "s.jpg", visible)->image.size(), QSize(40, 30));
}

TEST(Metafiles, HeadersGiveSizeAt96Dpi)
{
    using F = platform::PictureFormat;
    // A 5 x 1 EMF with header fields from byte at replaced: bounds (left, top,
    // right, bottom, inclusive) at 8, the frame in 1/100 mm at 24.
    const auto emf = [](int at, std::initializer_list<std::int64_t> v) {
        return samples::emf(5, 1).replace(at, 4 * qsizetype(v.size()), samples::le(4, v));
    };
    const std::tuple<QByteArray, F, std::optional<QSize>> cases[] = {
        {samples::wmf(-100, 100, 96), F::Wmf, std::nullopt},
        // Headers alone, to the byte: a placeable WMF's 22 and the first record's 18; an EMF's 88.
        {samples::wmf(1440, 720, 1440).left(40), F::Wmf, QSize(96, 48)},
        {samples::wmf(1440, 720, 1440).left(39), F::Unknown, std::nullopt},
        {samples::emf(640, 480).left(88), F::Emf, QSize(640, 480)},
        // A frame of nothing: the bounds give the size (off the origin), up to 32767.
        {emf(8, {10, 20, 14, 20, 0, 0, 0, 0}), F::Emf, QSize(5, 1)},
        {emf(8, {0, 0, 32766, 32766, 0, 0, 0, 0}), F::Emf, QSize(32767, 32767)},
        {emf(8, {0, 0, 32767, 0, 0, 0, 0, 0}), F::Emf, std::nullopt},
        {emf(8, {0, 0, 0, 32767, 0, 0, 0, 0}), F::Emf, std::nullopt},
        // Half a frame: the bounds again; 14/100 mm: 1 px.
        {emf(24, {0, 0, 2645, 0}), F::Emf, QSize(5, 1)},
        {emf(24, {0, 0, 13, 13}), F::Emf, QSize(1, 1)},
        // Without the placeable header: versions 1 and 3 of the format only (3 as loaded above).
        {samples::wmf(96, 96, 96).mid(22).replace(4, 2, samples::le(2, {0x0100})), F::Wmf, std::nullopt},
        {samples::wmf(96, 96, 96).mid(22).replace(4, 2, samples::le(2, {0x0200})), F::Unknown, std::nullopt},
        {"GIF88a-------------------------------", F::Unknown, std::nullopt},
        {"BM", F::Unknown, std::nullopt},
    };
    for (const auto& [bytes, format, size] : cases) {
        EXPECT_EQ(platform::sniffPictureFormat(bytes), format);
        EXPECT_EQ(platform::metafileHeaderSize(format, bytes), size);
    }
}
