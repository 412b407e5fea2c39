// Build-time generator of the built-in pictures and sounds:
//   kururina_asset_generator ART_DIR OUTPUT_DIR
// renders the hand-written SVG sources in ART_DIR at 1x and 2x to PNG, draws
// the two door-switch pictures as GIF files, and synthesises the two sounds.
// Everything it writes is the same on every run.
#include "gif_file.h"
#include "sounds.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace
{

enum class Kind { Opaque, Icon, Alpha };

struct Artwork {
    const char* name; // of the SVG source and of the PNG files
    int width, height;
    Kind kind;
};

// Sizes in device-independent pixels, as the window layouts expect them.
constexpr Artwork artworks[] = {
    {"bus-body", 665, 212, Kind::Opaque},   {"front-door", 73, 148, Kind::Opaque},
    {"middle-door", 76, 150, Kind::Opaque}, {"doorway-view", 76, 151, Kind::Opaque},
    {"default-sign", 52, 32, Kind::Opaque}, {"grey-panel", 42, 137, Kind::Opaque},
    {"icon", 32, 32, Kind::Icon},           {"link-cursor", 32, 32, Kind::Alpha},
};

// The icon's fixed palette: 15 colours and transparency.
constexpr QRgb iconPalette[16] = {
    0x00000000u, 0xff1e1e1eu, 0xff4a4a4au, 0xff8c8c8cu, 0xffc8c8c8u, 0xffffffffu, 0xfff28c28u, 0xffc2601au,
    0xffffb766u, 0xfffff1d6u, 0xffa8daf5u, 0xff5fa8dcu, 0xff1f4e79u, 0xffd83a2eu, 0xffffd83au, 0xff6b3a12u,
};

[[noreturn]] void die(const QString& what)
{
    std::fprintf(stderr, "kururina_asset_generator: %s\n", qPrintable(what));
    std::exit(1);
}

void save(const QImage& image, const QString& path)
{
    if (!image.save(path, "PNG"))
        die(QStringLiteral("cannot write ") + path);
}

void saveBytes(const QByteArray& bytes, const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        die(QStringLiteral("cannot write ") + path);
}

QImage render(const QString& svgPath, const Artwork& a, int scale)
{
    QSvgRenderer svg(svgPath);
    if (!svg.isValid())
        die(QStringLiteral("not a valid SVG file: ") + svgPath);
    if (svg.viewBox() != QRect(0, 0, a.width, a.height))
        die(QStringLiteral("%1: the view box must be 0 0 %2 %3").arg(svgPath).arg(a.width).arg(a.height));
    QImage image(a.width * scale, a.height * scale,
                 a.kind == Kind::Opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    image.fill(a.kind == Kind::Opaque ? Qt::white : Qt::transparent);
    QPainter p(&image);
    svg.render(&p, QRectF(0, 0, image.width(), image.height()));
    p.end();
    return image;
}

// Nearest palette colour by weighted RGB distance; mostly transparent pixels
// become the transparent entry.
QImage quantiseToIconPalette(const QImage& argb)
{
    const QImage src = argb.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_Indexed8);
    out.setColorTable(QList<QRgb>(std::begin(iconPalette), std::end(iconPalette)));
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uchar* px = out.scanLine(y);
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = in[x];
            int best = 0;
            if (qAlpha(c) >= 128) {
                long bestDistance = std::numeric_limits<long>::max();
                for (int i = 1; i < 16; ++i) {
                    const long dr = qRed(c) - qRed(iconPalette[i]);
                    const long dg = qGreen(c) - qGreen(iconPalette[i]);
                    const long db = qBlue(c) - qBlue(iconPalette[i]);
                    const long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = i;
                    }
                }
            }
            px[x] = static_cast<uchar>(best);
        }
    }
    return out;
}

// A door switch: black characters on yellow, in four shades from yellow to
// black so the strokes stay smooth.
QImage doorSwitch(const QString& text, int scale)
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setPixelSize(15 * scale);
    font.setWeight(QFont::Bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    if (QFontInfo(font).family() != QLatin1String("IPAGothic"))
        die(QStringLiteral("the IPAGothic font is missing (Debian package fonts-ipafont-gothic)"));

    QImage canvas(50 * scale, 20 * scale, QImage::Format_RGB32);
    canvas.fill(QColor(255, 255, 0));
    QPainter p(&canvas);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, canvas.width(), canvas.height()), Qt::AlignCenter, text);
    p.end();

    QImage out(canvas.size(), QImage::Format_Indexed8);
    out.setColorTable({qRgb(255, 255, 0), qRgb(170, 170, 0), qRgb(85, 85, 0), qRgb(0, 0, 0)});
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        uchar* px = out.scanLine(y);
        for (int x = 0; x < canvas.width(); ++x)
            px[x] = static_cast<uchar>(((255 - qRed(in[x])) * 3 + 127) / 255);
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ART_DIR OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir art(QString::fromLocal8Bit(argv[1]));
    const QDir out(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(out.path()))
        die(QStringLiteral("cannot create ") + out.path());

    for (const Artwork& a : artworks) {
        const QString svg = art.filePath(QString::fromLatin1(a.name) + QStringLiteral(".svg"));
        // The icon also in the sizes menus and software centres show large.
        for (int scale : {1, 2, 4, 8}) {
            if (scale > 2 && a.kind != Kind::Icon)
                break;
            QImage image = render(svg, a, scale);
            QString name = QString::fromLatin1(a.name);
            if (a.kind == Kind::Icon) {
                // The icon files carry their pixel size, as the icon theme's folders do.
                image = quantiseToIconPalette(image);
                name += QStringLiteral("-%1").arg(a.width * scale);
            } else if (scale == 2) {
                name += QStringLiteral("@2x");
            }
            save(image, out.filePath(name + QStringLiteral(".png")));
        }
    }

    const struct {
        const char* name;
        QString text;
    } switches[] = {{"door-switch-front", QStringLiteral("前扉")},
                    {"door-switch-middle", QStringLiteral("中扉")}};
    for (const auto& s : switches) {
        for (int scale : {1, 2}) {
            const QString path =
                out.filePath(QString::fromLatin1(s.name) + (scale == 2 ? QStringLiteral("@2x") : QString()) +
                             QStringLiteral(".gif"));
            const auto gif = gen::encodeGif(doorSwitch(s.text, scale));
            if (!gif)
                die(path + QStringLiteral(": ") + gif.error());
            saveBytes(*gif, path);
        }
    }

    saveBytes(gen::doorChime(), out.filePath(QStringLiteral("wave-101.wav")));
    saveBytes(gen::airHiss(), out.filePath(QStringLiteral("wave-102.wav")));
    return 0;
}
