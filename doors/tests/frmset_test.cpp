// The settings panel as laid out, its speed labels, and the doors it drives.
#include "app/form1.h"
#include "doors/door_motion.h"
#include "doors/frmset.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
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

TEST(SettingsPanel, LayoutMatchesTheTwipTable)
{
    Form1 bus;
    frmSet& p = bus.panel();
    EXPECT_EQ(p.windowTitle(), QStringLiteral("設定パネル"));
    EXPECT_EQ(p.size(), QSize(263, 171));
    EXPECT_EQ(p.minimumSize(), p.maximumSize());
    EXPECT_TRUE(p.windowFlags() & Qt::Tool);
    EXPECT_TRUE(p.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(p.windowFlags() &
                 (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint | Qt::WindowSystemMenuHint));
    EXPECT_EQ(p.palette().color(QPalette::Window), QColor(64, 64, 64));

    struct Row {
        const char* name;
        QWidget* w;
        QWidget* container;
        tw::Rect r;
    };
    const Row rows[] = {
        {"FrameA", p.FrameA, &p, {30, 30, 2190, 1965}},
        {"Check1", p.Check1, p.FrameA, {75, 165, 735, 510}},
        {"HScroll1", p.HScroll1, p.FrameA, {855, 195, 1260, 240}},
        {"lblMaeSpeed", p.lblMaeSpeed, p.FrameA, {885, 450, 1215, 240}},
        {"Check2", p.Check2, p.FrameA, {60, 840, 735, 525}},
        {"HScroll2", p.HScroll2, p.FrameA, {840, 840, 1230, 240}},
        {"lblNakaSpeed", p.lblNakaSpeed, p.FrameA, {870, 1110, 1200, 240}},
        {"Frame2", p.Frame2, p.FrameA, {60, 1410, 2085, 480}},
        {"Option1(0)", p.Option1[0], p.Frame2, {60, 180, 735, 270}},
        {"Option1(1)", p.Option1[1], p.Frame2, {795, 180, 570, 270}},
        {"Option1(2)", p.Option1[2], p.Frame2, {1470, 165, 555, 270}},
        {"Command3", p.Command3, &p, {720, 2145, 1515, 360}},
        {"Frame1", p.Frame1, &p, {2265, 0, 1620, 2505}},
        {"Label1", p.Label1, p.Frame1, {90, 240, 1455, 315}},
        {"Command1", p.Command1, p.Frame1, {75, 2190, 1530, 270}},
        {"Command2(7)", p.Command2[7], p.Frame1, {75, 600, 510, 390}},
        {"Command2(9)", p.Command2[9], p.Frame1, {1065, 600, 510, 390}},
        {"Command2(5)", p.Command2[5], p.Frame1, {570, 990, 510, 390}},
        {"Command2(1)", p.Command2[1], p.Frame1, {75, 1380, 510, 390}},
        {"Command2(0)", p.Command2[0], p.Frame1, {75, 1770, 510, 390}},
        {"Command2(10)", p.Command2[10], p.Frame1, {570, 1770, 510, 390}},
        {"Command2(11)", p.Command2[11], p.Frame1, {1065, 1770, 510, 390}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_NE(r.w, nullptr);
        EXPECT_EQ(r.w->parentWidget(), r.container);
        EXPECT_EQ(r.w->geometry(), tw::toPixels(r.r));
    }
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const QString caption = i < 10    ? QString::number(i)
                                : i == 10 ? QStringLiteral("C")
                                          : QStringLiteral("設定");
        EXPECT_EQ(p.Command2[i]->text(), caption);
        if (i < 10) {
            EXPECT_EQ(QFontInfo(p.Command2[i]->font()).family(), QStringLiteral("IPAPGothic"));
            EXPECT_EQ(p.Command2[i]->font().pointSizeF(), 12.0);
        } else {
            EXPECT_EQ(p.Command2[i]->palette().color(QPalette::Button), QColor(255, 128, 0));
        }
    }
    EXPECT_EQ(QFontInfo(p.Label1->font()).family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(p.Label1->font().pointSizeF(), 14.25);
    EXPECT_EQ(p.Label1->palette().color(QPalette::WindowText), QColor(255, 128, 0));
    EXPECT_TRUE(p.Label1->text().isEmpty());
    for (QLabel* l : {p.lblMaeSpeed, p.lblNakaSpeed}) {
        EXPECT_EQ(l->palette().color(QPalette::Window), Qt::black);
        EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(255, 192, 128));
        EXPECT_TRUE(l->alignment() & Qt::AlignRight);
    }
    EXPECT_EQ(p.FrameA->palette().color(QPalette::Window), Qt::black);
    EXPECT_EQ(p.Command3->text(), QStringLiteral("バージョン情報"));
    EXPECT_EQ(p.Command1->text(), QStringLiteral("方向幕フォルダー"));

    // The mode buttons exist, the first selected, but are never seen.
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    p.grab();
    EXPECT_FALSE(p.Frame2->isVisible());
    EXPECT_TRUE(p.Check1->isVisible());
    EXPECT_EQ(p.Frame2->title(), QStringLiteral("中扉動作"));
    EXPECT_TRUE(p.Option1[0]->isChecked());
    EXPECT_EQ(p.Option1[1]->text(), QStringLiteral("左"));
    EXPECT_EQ(p.Option1[2]->text(), QStringLiteral("右"));

    // Door switches: unticked, toggle on a click anywhere on the button.
    EXPECT_FALSE(p.Check1->isChecked());
    EXPECT_FALSE(p.Check2->isChecked());
    EXPECT_TRUE(p.Check1->text().isEmpty());
    for (QCheckBox* c : {p.Check1, p.Check2}) {
        const QImage up = c->grab().toImage();
        c->setChecked(true);
        const QImage down = c->grab().toImage();
        c->setChecked(false);
        EXPECT_NE(up, down) << "a ticked switch looks pressed";
        EXPECT_EQ(c->grab().toImage(), up);
    }

    // The window system's close keystroke keeps the panel and its values.
    p.HScroll1->setValue(1234);
    EXPECT_FALSE(p.close());
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(p.HScroll1->value(), 1234);
}

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
        EXPECT_EQ(b.bar->minimum(), 1);
        EXPECT_EQ(b.bar->maximum(), 30000);
        EXPECT_EQ(b.bar->singleStep(), 1);
        EXPECT_EQ(b.bar->pageStep(), 1);
        EXPECT_EQ(b.bar->value(), b.initial);
        EXPECT_EQ(b.label->text(), QString::number(b.initial)) << "set from the bar when the panel is made";

        // Program assignments, including the value already held and values
        // out of range (clamped by the bar, and the label follows the bar).
        for (const auto& [assigned, shown] : std::vector<std::pair<int, const char*>>{
                 {1, "1"}, {30000, "30000"}, {30000, "30000"}, {0, "1"}, {40000, "30000"}, {777, "777"}}) {
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

    // Opening from an odd, fractional width rounds it half to even.
    bus.Image1[2]->setTwWidth(600.5f);
    rec.writes.clear();
    p.Check1->click();
    ASSERT_EQ(rec.writes.size(), 531u);
    EXPECT_EQ(rec.writes.front().value, 600.0f);
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
