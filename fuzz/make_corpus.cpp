// Writes the fuzz seeds: one tiny picture of each format, all built here.
// make_fuzz_corpus DIR
#include "platform/tests/picture_samples.h"

#include <QFile>
#include <QGuiApplication>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    const std::pair<const char*, QByteArray> seeds[] = {
        {"tiny.bmp", samples::bmp(3, 2)},   {"tiny.jpg", samples::jpeg(8, 8)},
        {"tiny.gif", samples::gif(3, 2)},   {"tiny.wmf", samples::wmf(96, 48, 96)},
        {"tiny.emf", samples::emf(16, 8)},
    };
    for (const auto& [name, bytes] : seeds) {
        QFile f(dir + QLatin1Char('/') + QLatin1String(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}
