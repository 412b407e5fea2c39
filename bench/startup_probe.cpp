// One start of a window, timed from process start to its first painted frame:
//   startup_probe bare  -- a bare Qt Widgets program showing one 665 x 212 picture
//   startup_probe bus   -- the bus window with its whole start-up
//   startup_probe idle  -- the bare program, staying open (a baseline for idle CPU)
// Prints "<ms since the launcher's stamp> <resident KiB>"; the launcher passes
// its CLOCK_REALTIME stamp (ns) in the second argument.
#include "app/form1.h"
#include "app/layout_fonts.h"
#include "assets/assets.h"
#include "platform/desktop/window_keeper.h"
#include "platform/files/app_init.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace
{

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget* w, long long stamp) : stamp_(stamp) { w->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && !done_) {
            done_ = true;
            // Report once the paint has been handed to the window system.
            QTimer::singleShot(0, o, [this] {
                std::printf("%.3f %ld\n", static_cast<double>(nowNs() - stamp_) / 1e6, residentKiB());
                std::fflush(stdout);
                // The first frame may come inside the start-up's own event
                // processing, before exec() runs, where exit() would be lost.
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    long long stamp_;
    bool done_ = false;
};

class Bare : public QWidget
{
public:
    Bare() : img_(assets::busBody()) { setFixedSize(665, 212); }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, img_); }

private:
    QImage img_;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const long long stamp = std::atoll(argv[2]);
    platform::prepareApplication();
    QApplication app(argc, argv);
    if (std::strcmp(argv[1], "idle") == 0) {
        Bare w;
        w.show();
        return app.exec();
    }
    if (std::strcmp(argv[1], "bare") == 0) {
        Bare w;
        FirstPaint fp(&w, stamp);
        w.show();
        return app.exec();
    }
    platform::initInterface();
    substituteLayoutFonts();
    platform::keepModalWindowsShown();
    Form1 bus;
    FirstPaint fp(&bus, stamp);
    bus.Form_Load();
    bus.show();
    return app.exec();
}
