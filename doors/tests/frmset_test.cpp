// The settings panel's speed labels, and the doors it drives.
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

#include <vector>

namespace
{

struct Recorder {
    struct Write {
        doors::Door door;
        float value;
        std::int32_t speed;
        int paintsSoFar;
    };
    std::vector<Write> writes;
    int* paints = nullptr;
    doors::WriteObserver previous;
    Recorder()
    {
        previous = doors::setWriteObserver([this](doors::Door d, float v, std::int32_t n) {
            writes.push_back({d, v, n, paints ? *paints : 0});
        });
    }
    ~Recorder() { doors::setWriteObserver(std::move(previous)); }
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

} // namespace

TEST(SettingsPanel, SpeedLabelsAlwaysShowTheirBarsValue)
{
    Form1 bus;
    frmSet& p = bus.panel();
    struct Bar {
        QScrollBar* bar;
        QLabel* label;
        int initial;
    };
    for (const Bar& b : {Bar{p.HScroll1, p.lblMaeSpeed, 6000}, Bar{p.HScroll2, p.lblNakaSpeed, 10000}}) {
        SCOPED_TRACE(b.initial);
        EXPECT_EQ(b.bar->value(), b.initial);
        EXPECT_EQ(b.label->text(), QString::number(b.initial)) << "set from the bar when the panel is made";

        // Program assignments, including the value already held and values
        // out of range (clamped by the bar, and the label follows the bar).
        for (const auto& [assigned, shown] : std::vector<std::pair<int, const char*>>{
                 {30000, "30000"}, {30000, "30000"}, {0, "1"}, {40000, "30000"}, {777, "777"}}) {
            b.bar->setValue(assigned);
            EXPECT_EQ(b.label->text(), QString::fromLatin1(shown)) << "after assigning " << assigned;
        }

        // Keyboard and arrow steps are one unit.
        b.bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(b.label->text(), QStringLiteral("778"));
        b.bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        EXPECT_EQ(b.label->text(), QStringLiteral("777"));

        // A thumb drag changes the label only when it ends.
        b.bar->setSliderDown(true);
        b.bar->setSliderPosition(20000);
        b.bar->setSliderPosition(21000);
        EXPECT_EQ(b.label->text(), QStringLiteral("777"));
        b.bar->setSliderDown(false);
        EXPECT_EQ(b.bar->value(), 21000);
        EXPECT_EQ(b.label->text(), QStringLiteral("21000"));

        // No scroll menu of Qt's own on a right click (it would be English).
        bool menu = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* m = QApplication::activePopupWidget()) {
                menu = true;
                m->close();
            }
        });
        closer.start(50);
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), b.bar->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(b.bar, &click);
        EXPECT_FALSE(menu);
    }
}

TEST(Doors, FrontDoorFoldsAndUnfoldsPaintingEveryVisibleStep)
{
    Form1 bus;
    frmSet& p = bus.panel();
    p.HScroll1->setValue(1);
    bus.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bus));
    PaintCounter paints;
    bus.installEventFilter(&paints);
    Recorder rec;
    rec.paints = &paints.count;

    p.Check1->click(); // ticked: opens
    ASSERT_EQ(rec.writes.size(), 1026u);
    EXPECT_EQ(rec.writes.front().value, 1095.0f);
    EXPECT_EQ(rec.writes.back().value, 70.0f);
    EXPECT_EQ(bus.Image1[2]->twWidth(), 70.0f);
    EXPECT_EQ(bus.Image1[2]->geometry(), tw::toPixels(tw::Rect{300, 690, 70, 2220})) << "the left edge stays";
    for (const auto& w : rec.writes) {
        ASSERT_EQ(w.door, doors::Door::Front);
        ASSERT_EQ(w.speed, 1);
    }
    // Painted during the movement, once per pixel the edge moved, not per write.
    const int pixelSteps = tw::toPixels(1095.0f + 300) - tw::toPixels(70.0f + 300);
    EXPECT_GT(rec.writes[500].paintsSoFar, 0) << "painted while moving";
    EXPECT_GE(paints.count, pixelSteps - 1);
    EXPECT_LE(paints.count, pixelSteps + 2);

    // The speed is read after every write: a change made by the program
    // before the next movement applies at once.
    p.HScroll1->setValue(2);
    rec.writes.clear();
    p.Check1->click(); // cleared: closes, always from 70
    ASSERT_EQ(rec.writes.size(), 1026u);
    EXPECT_EQ(rec.writes.front().value, 70.0f);
    EXPECT_EQ(rec.writes.back().value, 1095.0f);
    EXPECT_EQ(rec.writes.front().speed, 2);
    EXPECT_EQ(bus.Image1[2]->twWidth(), 1095.0f);
    bus.removeEventFilter(&paints);
}

TEST(Doors, MiddleDoorSlidesTheSameWayInEveryMode)
{
    Form1 bus;
    frmSet& p = bus.panel();
    p.HScroll2->setValue(1);
    for (int mode : {0, 2}) {
        SCOPED_TRACE(mode);
        p.Option1[mode]->setChecked(true);
        Recorder rec;
        p.Check2->click(); // opens: 0 .. -1100
        ASSERT_EQ(rec.writes.size(), 1101u);
        EXPECT_EQ(rec.writes.front().value, 0.0f);
        EXPECT_EQ(rec.writes.back().value, -1100.0f);
        EXPECT_EQ(bus.Image2->twLeft(), -1100.0f);
        EXPECT_EQ(bus.Image2->geometry().x(), tw::toPixels(-1100.0f));
        EXPECT_EQ(rec.writes[5].door, doors::Door::Middle);
        // A door moved by hand still closes from its fixed start.
        bus.Image2->setTwLeft(-300);
        rec.writes.clear();
        p.Check2->click();
        ASSERT_EQ(rec.writes.size(), 1101u);
        EXPECT_EQ(rec.writes.front().value, -1100.0f);
        EXPECT_EQ(rec.writes.back().value, 0.0f);
        EXPECT_EQ(bus.Image2->twLeft(), 0.0f);
    }
}
