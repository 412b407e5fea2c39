// The doors: their write sequences and the wait that paces them, the door
// sound, and the panel's speed bars and switches that drive them.
#include "tests/support/bus.h"
#include "assets/assets.h"
#include "doors/door_motion.h"
#include "doors/play_wave_resource.h"
#include "platform/sound.h"

#include <QContextMenuEvent>

#include <chrono>
#include <limits>

using doors::Door;

namespace
{
void useDriver(const char* driver)
{
    platform::shutdownSound();
    setenv("SDL_AUDIODRIVER", driver, 1);
}

template <typename F> double secondsOf(F f)
{
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// Samples less the silence (0x80) at either end, where the driver pads.
QByteArray trimSilence(QByteArray b)
{
    while (!b.isEmpty() && b.front() == '\x80')
        b.remove(0, 1);
    while (!b.isEmpty() && b.back() == '\x80')
        b.chop(1);
    return b;
}
} // namespace

TEST(DoorMotion, SequencesForEveryDirectionAndStart)
{
    const struct {
        const char* what;
        doors::Steps steps;
        std::vector<float> ends; // first and last write; none: nothing written
        int count;
    } rows[] = {
        {"front closes from 70 whatever the width", doors::frontDoorSteps(false, 400.0f), {70, 1095}, 1026},
        {"front opens from full width", doors::frontDoorSteps(true, 1095.0f), {1095, 70}, 1026},
        {"front opens from a width already 70: one write", doors::frontDoorSteps(true, 70.0f), {70, 70}, 1},
        {"x.5 rounds to even (down)", doors::frontDoorSteps(true, 500.5f), {500, 70}, 431},
        {"x.5 rounds to even (up)", doors::frontDoorSteps(true, 501.5f), {502, 70}, 433},
        {"69.5 rounds to 70", doors::frontDoorSteps(true, 69.5f), {70, 70}, 1},
        {"narrower than open", doors::frontDoorSteps(true, 69.4f), {}, 0},
        {"a broken width", doors::frontDoorSteps(true, -1e30f), {}, 0},
        {"not a number", doors::frontDoorSteps(true, std::numeric_limits<float>::quiet_NaN()), {}, 0},
        {"middle opens 0 .. -1100", doors::middleDoorSteps(true), {0, -1100}, 1101},
        {"middle closes -1100 .. 0", doors::middleDoorSteps(false), {-1100, 0}, 1101},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<std::pair<float, int>> seen; // value, speed read after it
        int reads = 0;
        auto previous = doors::setWriteObserver([&](Door, float v, std::int32_t n) { seen.emplace_back(v, n); });
        doors::run(
            Door::Front, r.steps, [](float) {}, [&] { return ++reads; });
        doors::setWriteObserver(std::move(previous));
        ASSERT_EQ(int(seen.size()), r.count);
        EXPECT_EQ(r.steps.count(), r.count);
        EXPECT_EQ(seen.empty() ? std::vector<float>() : std::vector<float>({seen.front().first, seen.back().first}),
                  r.ends);
        for (std::size_t i = 1; i < seen.size(); ++i) { // one twip a step, the speed read afresh
            ASSERT_EQ(seen[i].first - seen[i - 1].first, r.ends[1] > r.ends[0] ? 1.0f : -1.0f) << i;
            ASSERT_EQ(seen[i].second, int(i) + 1);
        }
    }
}

TEST(DoorMotion, WaitLastsAtLeastItsIterations)
{
    const auto seconds = [](std::int32_t n) { return secondsOf([n] { doors::spinIterations(n); }); };
    EXPECT_GE(seconds(10000), 0.001) << "10000 iterations last at least 1 ms";
    EXPECT_GE(seconds(30000), 0.003);
    EXPECT_LT(std::max(seconds(0), seconds(-5)), 0.005) << "none at all";
}

TEST(DoorSound, PlaysTheEmbeddedChimeUnchangedAndReturnsAtItsEnd)
{
    QTemporaryDir dir;
    QFile out(dir.filePath(QStringLiteral("out.raw")));
    setenv("SDL_DISKAUDIOFILE", out.fileName().toLocal8Bit().constData(), 1);
    useDriver("disk");
    std::int32_t result = 0;
    const double s = secondsOf([&] { result = PlayWaveResource(101); });
    EXPECT_TRUE(s > 0.75 && s < 3) << s << " s: it returns when the sound has ended";
    EXPECT_NE(result, 0);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(trimSilence(out.readAll()), trimSilence(assets::wave(101).mid(44))) << "converted or lost";
    EXPECT_TRUE(assets::wave(101).size() == 17684 && assets::wave(102).size() == 44156 && assets::wave(103).isEmpty());
}

TEST(DoorSound, NothingPlayableReturnsZeroAtOnce)
{
    const QByteArray good = assets::wave(101);
    const QByteArray damaged[] = {QByteArray(), "RIFF", good.left(30), QByteArray(good).replace(0, 4, "RIFX"),
                                  QByteArray(5000, '\xff')};
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    useDriver("disk");
    for (const QByteArray& image : damaged) {
        bool ok = true;
        EXPECT_LT(secondsOf([&] { ok = platform::playWaveMemory(image.constData(), std::size_t(image.size())); }),
                  0.3) << "at once";
        EXPECT_FALSE(ok) << image.size();
    }
    EXPECT_FALSE(platform::playWaveMemory(nullptr, 100));
    EXPECT_EQ(PlayWaveResource(999), 0) << "no such sound";
    for (const char* driver : {"no-such-driver", "dummy"}) { // no output at all
        useDriver(driver);
        std::int32_t r = 1;
        EXPECT_LT(secondsOf([&] { r = PlayWaveResource(101); }), 0.3) << driver;
        EXPECT_EQ(r, 0) << driver;
    }
}

TEST(SettingsPanel, SpeedLabelsAlwaysShowTheirBarsValue)
{
    Form1 bus;
    frmSet& p = bus.panel();
    for (const auto& [bar, label, initial] : {std::tuple{p.HScroll1, p.lblMaeSpeed, 6000},
                                              std::tuple{p.HScroll2, p.lblNakaSpeed, 10000}}) {
        EXPECT_EQ(label->text(), QString::number(initial)) << "set from the bar when the panel is made";
        // Assignments (the value held already, out of range: clamped), steps of one unit, and a
        // thumb drag that counts only when it ends (-1: pressed and dragged, -2: released).
        const std::pair<int, const char*> changes[] = {{30000, "30000"}, {30000, "30000"}, {0, "1"}, {40000, "30000"},
                                                       {777, "777"},     {-1, "777"},      {-2, "20000"}};
        for (const auto& [value, shown] : changes) {
            if (value >= 0)
                bar->setValue(value);
            else
                value == -1 ? (bar->setSliderDown(true), bar->setSliderPosition(20000)) : bar->setSliderDown(false);
            EXPECT_EQ(label->text(), QString::fromLatin1(shown)) << value;
        }
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        EXPECT_EQ(label->text(), QStringLiteral("19999")) << "a click in the trough is one unit";
        // No scroll menu of Qt's own on a right click (it would be English).
        bool menu = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* m = QApplication::activePopupWidget())
                menu = m->close();
        });
        closer.start(50);
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), bar->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(bar, &click);
        EXPECT_FALSE(menu);
    }
}

// Each switch's click runs one whole movement from the door's fixed start,
// at the speed its bar shows, whatever the middle-door mode; the front door
// is painted once for each pixel its edge moves, while it moves.
TEST(Doors, EachClickRunsOneWholeMovementFromItsFixedStart)
{
    useDriver("none");
    Form1 bus;
    frmSet& p = bus.panel();
    bus.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bus));
    int paints = 0;
    std::vector<std::tuple<Door, float, int, int>> writes; // door, value, speed, paints so far
    auto previous =
        doors::setWriteObserver([&](Door d, float v, std::int32_t n) { writes.emplace_back(d, v, n, paints); });
    struct PaintCounter : QObject {
        int& n;
        explicit PaintCounter(int& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override { return n += e->type() == QEvent::Paint, false; }
    } counter(paints);
    bus.installEventFilter(&counter);
    const struct {
        QCheckBox* sw;
        QScrollBar* speed;
        Door door;
        std::function<float()> property;
        float first, last;
        int mode;
    } rows[] = {
        {p.Check1, p.HScroll1, Door::Front, [&] { return bus.Image1[2]->twWidth(); }, 1095, 70, 0},
        {p.Check1, p.HScroll1, Door::Front, [&] { return bus.Image1[2]->twWidth(); }, 70, 1095, 0},
        {p.Check2, p.HScroll2, Door::Middle, [&] { return bus.Image2->twLeft(); }, 0, -1100, 2},
        {p.Check2, p.HScroll2, Door::Middle, [&] { return bus.Image2->twLeft(); }, -1100, 0, 1},
    };
    int speed = 1;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.first);
        r.speed->setValue(++speed);
        p.Option1[r.mode]->setChecked(true);
        writes.clear();
        paints = 0;
        r.sw->click();
        ASSERT_EQ(writes.size(), std::size_t(std::abs(r.last - r.first) + 1));
        EXPECT_EQ(std::get<1>(writes.front()), r.first);
        EXPECT_EQ(std::get<1>(writes.back()), r.last);
        EXPECT_EQ(r.property(), r.last);
        EXPECT_TRUE(std::get<0>(writes[5]) == r.door && std::get<2>(writes[5]) == speed);
        if (r.door == Door::Front) {
            EXPECT_GT(std::get<3>(writes[500]), 0) << "painted while moving";
            EXPECT_NEAR(paints, tw::toPixels(1095.0f + 300) - tw::toPixels(70.0f + 300), 2);
            EXPECT_EQ(bus.Image1[2]->geometry().left(), 20) << "the left edge stays";
        }
        bus.Image2->setTwLeft(-300); // moved by hand: the middle door still starts from its end
    }
    bus.removeEventFilter(&counter);
    doors::setWriteObserver(std::move(previous));
}
