// The doors: the panel's switches and speed bars, the one-twip writes they
// run, the wait that paces them, and the door sound.
#include "assets/assets.h"
#include "doors/door_motion.h"
#include "doors/play_wave_resource.h"
#include "platform/core/monotonic_wait.h"
#include "platform/sound/sound.h"
#include "tests/support/bus.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

using doors::Door;
using testing_support::secondsOf;
using namespace std::chrono_literals;

static void useDriver(const char* driver)
{
    platform::shutdownSound();
    setenv("SDL_AUDIODRIVER", driver, 1);
}

// Each switch's click runs one whole movement, one twip a step, at the speed
// its bar shows, whatever the middle-door mode: the front door closes from 70
// and opens from its width rounded (halves to even), the middle door always
// from its fixed end. The front door is painted once per pixel its edge moves,
// while it moves.
TEST(Doors, EachClickRunsOneWholeMovement)
{
    useDriver("none");
    Form1 bus;
    frmSet& p = bus.panel();
    bus.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bus));
    int paints = 0;
    std::vector<std::tuple<Door, float, int>> writes; // door, value, speed
    auto previous =
        doors::setWriteObserver([&](Door d, float v, std::int32_t n) { writes.emplace_back(d, v, n); });
    struct PaintCounter : QObject {
        int& n;
        explicit PaintCounter(int& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override { return n += e->type() == QEvent::Paint, false; }
    } counter(paints);
    bus.installEventFilter(&counter);
    // The door, open or close, its width or left before the click, and the
    // first and last write (none at all when empty).
    const struct {
        Door door;
        bool open;
        float from;
        std::vector<float> ends;
    } rows[] = {
        {Door::Front, true, 1095, {1095, 70}},  {Door::Front, false, 400, {70, 1095}},
        {Door::Front, true, 500.5f, {500, 70}}, {Door::Front, true, 501.5f, {502, 70}},
        {Door::Front, true, 69.5f, {70, 70}},   {Door::Front, true, 69.4f, {}},
        {Door::Middle, true, -300, {0, -1100}}, {Door::Middle, false, 50, {-1100, 0}},
    };
    int speed = 1;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.from);
        const bool front = r.door == Door::Front;
        QCheckBox* sw = front ? p.Check1 : p.Check2;
        (front ? p.HScroll1 : p.HScroll2)->setValue(++speed);
        p.Option1[speed % 3]->setChecked(true);
        sw->setChecked(!r.open);
        front ? bus.Image1[2]->setTwWidth(r.from) : bus.Image2->setTwLeft(r.from);
        writes.clear();
        paints = 0;
        sw->click();
        ASSERT_EQ(writes.size(), r.ends.empty() ? 0u : std::size_t(std::abs(r.ends[1] - r.ends[0]) + 1));
        if (r.ends.empty())
            continue;
        EXPECT_TRUE(std::get<1>(writes.front()) == r.ends[0] && std::get<1>(writes.back()) == r.ends[1] &&
                    (front ? bus.Image1[2]->twWidth() : bus.Image2->twLeft()) == r.ends[1]);
        for (std::size_t i = 1; i < writes.size(); ++i)
            ASSERT_TRUE(std::abs(std::get<1>(writes[i]) - std::get<1>(writes[i - 1])) == 1 &&
                        std::get<0>(writes[i]) == r.door && std::get<2>(writes[i]) == speed)
                << i;
        if (writes.size() == 1026) { // once per pixel, while it moves
            EXPECT_NEAR(paints, tw::toPixels(1095.0f + 300) - tw::toPixels(70.0f + 300), 2);
        }
    }
    doors::setWriteObserver(std::move(previous));
    // Widths no door has write nothing.
    for (float broken : {-1e30f, NAN})
        EXPECT_EQ(doors::frontDoorSteps(true, broken).count(), 0);
}

// Each wait ends N x 100 ns after the previous one was due, and what a write
// changes on the screen is shown no sooner: on a clock of the test's, writes
// that take 2 ms of a 3 ms step are made up, not added, and the movement ends
// when the last wait does. The monotonic clock's wait lasts until its
// deadline, also when signals come meanwhile. During a movement the speed is
// read afresh after every write and the thread's timer slack is small, and
// afterwards what it was.
TEST(DoorPace, WaitsEndAtDeadlinesFromTheStart)
{
    std::int64_t now = 5'000'000;
    std::vector<std::int64_t> shown;
    const doors::Clock clock{[&] { return now; }, [&](std::int64_t until) { now = std::max(now, until); }};
    // Ten steps of 3 ms; odd writes show something, the first six take 2 ms each.
    doors::run(
        Door::Front, {0, 9, 1}, [&](float v) { return now += v < 6 ? 2'000'000 : 0, int(v) % 2 == 1; },
        [&] { shown.push_back(now - 5'000'000); }, [] { return 30000; }, clock);
    EXPECT_EQ(shown, (std::vector<std::int64_t>{4'000'000, 9'000'000, 15'000'000, 21'000'000, 27'000'000}));
    EXPECT_EQ(now, 35'000'000);

    struct sigaction tick = {}, before = {};
    tick.sa_handler = [](int) {};
    sigaction(SIGALRM, &tick, &before);
    ualarm(1000, 1000); // every millisecond
    const std::int64_t steadyNs = std::chrono::steady_clock::now().time_since_epoch() / 1ns;
    EXPECT_NEAR(double(platform::monotonicNs() - steadyNs), 0, 1e6) << "the monotonic clock in nanoseconds";
    for (const std::int64_t ns : {20'000, 3'000'000, 20'000'000}) {
        const std::int64_t start = platform::monotonicNs();
        platform::waitUntil(start + ns);
        EXPECT_GE(platform::monotonicNs() - start, ns);
    }
    ualarm(0, 0);
    sigaction(SIGALRM, &before, nullptr);

    prctl(PR_SET_TIMERSLACK, 70'000, 0, 0, 0);
    int reads = 0, slack = 0;
    std::vector<int> readsBefore; // each write's
    doors::run(
        Door::Middle, {0, -2, -1},
        [&](float) {
            readsBefore.push_back(reads);
            return slack = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0), true;
        },
        [] {}, [&] { return ++reads; });
    EXPECT_EQ(readsBefore, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(slack > 0 && slack <= 10'000) << slack;
    EXPECT_EQ(prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0), 70'000);
    prctl(PR_SET_TIMERSLACK, 0, 0, 0, 0);
}

TEST(DoorSound, PlaysTheEmbeddedChimeUnchangedAndReturnsAtItsEndAndNothingElse)
{
    QTemporaryDir dir;
    setenv("SDL_DISKAUDIOFILE", dir.filePath("out.raw").toLocal8Bit().constData(), 1);
    useDriver("disk");
    std::int32_t result = 0;
    const double s = secondsOf([&] { result = PlayWaveResource(101); });
    EXPECT_TRUE(s > 0.75 && s < 3 && result != 0) << s << " s: it returns when the sound has ended";
    EXPECT_TRUE(!platform::playWaveMemory(nullptr, 100) && PlayWaveResource(999) == 0) << "no such sound";
    for (const char* driver : {"no-such-driver", "dummy"}) { // no output at all
        useDriver(driver);
        std::int32_t r = 1;
        EXPECT_TRUE(secondsOf([&] { r = PlayWaveResource(101); }) < 0.3 && r == 0) << driver;
    }
    // The samples, played as signed 16-bit, with nothing but silence either side, where the driver pads;
    // read once useDriver has stopped the sound, so that a late driver has written them all.
    QByteArray wide;
    for (const char c : assets::wave(101).mid(44)) {
        const auto v = static_cast<std::int16_t>((static_cast<unsigned char>(c) - 128) * 256);
        wide.append(reinterpret_cast<const char*>(&v), 2);
    }
    const QByteArray out = testing_support::readFile(dir.filePath("out.raw"));
    EXPECT_TRUE(out.contains(wide) && out.count('\0') - wide.count('\0') == out.size() - wide.size());
}

// Each label shows its bar's value at all times: assignments (out of range:
// clamped), a click in the trough (one unit), a thumb drag (counted when it ends).
TEST(SettingsPanel, SpeedLabelsShowTheirBarsAndTabKeepsItsOrder)
{
    Form1 bus;
    frmSet& p = bus.panel();
    for (const auto& [bar, label] :
         {std::pair{p.HScroll1, p.lblMaeSpeed}, std::pair{p.HScroll2, p.lblNakaSpeed}}) {
        // -1: the thumb pressed and dragged, -2: released, -3: a click in the trough.
        const std::pair<int, const char*> changes[] = {{30000, "30000"}, {0, "1"},    {40000, "30000"},
                                                       {777, "777"},     {-1, "777"}, {-2, "20000"},
                                                       {-3, "19999"}};
        for (const auto& [value, shown] : changes) {
            if (value >= 0)
                bar->setValue(value);
            else if (value == -1)
                bar->setSliderDown(true), bar->setSliderPosition(20000);
            else
                value == -2 ? bar->setSliderDown(false)
                            : bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            EXPECT_EQ(label->text(), QString::fromLatin1(shown)) << value;
        }
    }
    // Tab walks the visible controls in order: the keypad, the door switches,
    // the middle then the front speed, version, folder.
    p.show();
    QApplication::setActiveWindow(&p);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
    std::vector<QWidget*> order(p.Command2.begin(), p.Command2.end());
    order.insert(order.end(),
                 {p.Check1, p.Check2, p.HScroll2, p.HScroll1, p.Command3, p.Command1, p.Command2[0]});
    p.Command2[0]->setFocus();
    for (std::size_t i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << i;
    }
}
