// The settings panel's speed labels, and the doors its switches move.
#include "app/form1.h"
#include "doors/door_motion.h"
#include "doors/frmset.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

TEST(SettingsPanel, SpeedLabelsAlwaysShowTheirBarsValue)
{
    Form1 bus;
    frmSet& p = bus.panel();
    for (const auto& [bar, label, initial] : {std::tuple{p.HScroll1, p.lblMaeSpeed, 6000},
                                              std::tuple{p.HScroll2, p.lblNakaSpeed, 10000}}) {
        EXPECT_EQ(label->text(), QString::number(initial)) << "set from the bar when the panel is made";
        // Assignments (the value held already, out of range: clamped), steps of one unit, a thumb drag
        // that counts only when it ends.
        const std::function<void()> changes[] = {
            [&] { bar->setValue(30000); }, [&] { bar->setValue(30000); }, [&] { bar->setValue(0); },
            [&] { bar->setValue(40000); }, [&] { bar->setValue(777); },
            [&] { bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); },
            [&] { bar->triggerAction(QAbstractSlider::SliderPageStepSub); },
            [&] { bar->setSliderDown(true), bar->setSliderPosition(20000); }, [&] { bar->setSliderDown(false); }};
        const char* shown[] = {"30000", "30000", "1", "30000", "777", "778", "777", "777", "20000"};
        for (int i = 0; i < 9; ++i) {
            changes[i]();
            EXPECT_EQ(label->text(), QString::fromLatin1(shown[i])) << "change " << i;
        }
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
    Form1 bus;
    frmSet& p = bus.panel();
    bus.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bus));
    int paints = 0;
    std::vector<std::tuple<doors::Door, float, int, int>> writes; // door, value, speed, paints so far
    auto previous = doors::setWriteObserver(
        [&](doors::Door d, float v, std::int32_t n) { writes.emplace_back(d, v, n, paints); });
    struct PaintCounter : QObject {
        int& n;
        explicit PaintCounter(int& count) : n(count) {}
        bool eventFilter(QObject*, QEvent* e) override { return n += e->type() == QEvent::Paint, false; }
    } counter(paints);
    bus.installEventFilter(&counter);
    const struct {
        QCheckBox* sw;
        QScrollBar* speed;
        doors::Door door;
        std::function<float()> property;
        float first, last;
        int mode;
    } rows[] = {
        {p.Check1, p.HScroll1, doors::Door::Front, [&] { return bus.Image1[2]->twWidth(); }, 1095, 70, 0},
        {p.Check1, p.HScroll1, doors::Door::Front, [&] { return bus.Image1[2]->twWidth(); }, 70, 1095, 0},
        {p.Check2, p.HScroll2, doors::Door::Middle, [&] { return bus.Image2->twLeft(); }, 0, -1100, 2},
        {p.Check2, p.HScroll2, doors::Door::Middle, [&] { return bus.Image2->twLeft(); }, -1100, 0, 1},
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
        if (r.door == doors::Door::Front) {
            EXPECT_GT(std::get<3>(writes[500]), 0) << "painted while moving";
            EXPECT_NEAR(paints, tw::toPixels(1095.0f + 300) - tw::toPixels(70.0f + 300), 2);
            EXPECT_EQ(bus.Image1[2]->geometry().left(), 20) << "the left edge stays";
        }
        bus.Image2->setTwLeft(-300); // moved by hand: the middle door still starts from its end
    }
    bus.removeEventFilter(&counter);
    doors::setWriteObserver(std::move(previous));
}
