// The destination sign: applying a folder of 10,000 files, and one Down step
// until the new picture is painted, for a small BMP and a 6000 x 4000 JPEG.
#include "app/form1.h"
#include "app/layout_fonts.h"
#include "bench/bench_util.h"
#include "platform/files/app_init.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace
{

void makeFolderOfFiles(const QString& dir, int n)
{
    for (int i = 0; i < n; ++i) {
        QFile f(QStringLiteral("%1/sign%2.bmp").arg(dir).arg(i, 5, 10, QLatin1Char('0')));
        if (!f.open(QIODevice::WriteOnly))
            std::abort();
    }
}

QImage pattern(int w, int h, QRgb seed)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(img.rect(), QColor::fromRgb(seed));
    QRandomGenerator rng(seed);
    for (int i = 0; i < 400; ++i)
        p.fillRect(rng.bounded(w), rng.bounded(h), 1 + rng.bounded(w / 8), 1 + rng.bounded(h / 8),
                   QColor::fromRgb(rng.generate()));
    return img;
}

// Median time of one Down step (alternating Up and Down between two pictures)
// until the sign is repainted.
double stepMs(Form1& bus, const QString& folder, int reps)
{
    bus.signFolderPath = folder;
    bus.picDir();
    bus.Picture1_KeyDown(sign::vkUp, 0); // position 0
    int dir = 1;
    return bench::medianMs(reps, [&] {
        bus.Picture1_KeyDown(dir > 0 ? sign::vkDown : sign::vkUp, 0);
        bus.Picture1->repaint();
        dir = -dir;
    });
}

double baselineMs(QWidget& w, const QString& file, int reps)
{
    QImage shown;
    return bench::medianMs(reps, [&] {
        shown = QImage(file);
        w.repaint();
    });
}

} // namespace

int main(int argc, char** argv)
{
    platform::prepareApplication();
    QApplication app(argc, argv);
    platform::initInterface();
    substituteLayoutFonts();

    QTemporaryDir many;
    makeFolderOfFiles(many.path(), 10000);
    platform::FileList list(QStringLiteral("*.bmp;*.wmf;*.emf;*.gif;*.jpg;*.jpeg"));
    const double apply = bench::medianMs(15, [&] { list.setPath(many.path()); });
    const double dirBase =
        bench::medianMs(15, [&] { (void)QDir(many.path()).entryList(QDir::Files, QDir::Name); });
    bench::row("apply a folder of 10,000 files (vs QDir list)", apply, dirBase, "ms");

    Form1 bus;
    bus.show();
    QWidget base;
    base.setFixedSize(52, 32);
    base.show();
    QCoreApplication::processEvents();

    QTemporaryDir small, large;
    pattern(40, 24, 0xff3366).save(small.filePath("a.bmp"));
    pattern(40, 24, 0x33ff66).save(small.filePath("b.bmp"));
    const double smallStep = stepMs(bus, small.path(), 200);
    bench::row("Down step, small BMP (vs load+repaint)", smallStep,
               baselineMs(base, small.filePath("a.bmp"), 200), "ms");

    pattern(6000, 4000, 0x2266aa).save(large.filePath("a.jpg"), "JPEG", 90);
    pattern(6000, 4000, 0xaa6622).save(large.filePath("b.jpg"), "JPEG", 90);
    const double largeStep = stepMs(bus, large.path(), 15);
    bench::row("Down step, 6000x4000 JPEG (vs full decode)", largeStep,
               baselineMs(base, large.filePath("a.jpg"), 5), "ms");
    if (bus.ImgDesiMaku->picture().size != QSize(6000, 4000))
        std::fprintf(stderr, "warning: the sign image does not take the picture's full size\n");
    return 0;
}
