#include "app/form1.h"
#include "doors/door_motion.h"
#include "doors/frmset.h"
#include "doors/play_wave_resource.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>

namespace
{

// Applies a door's writes and paints the strip they changed. No event is
// processed during a movement, so the strip is painted synchronously, and
// only when the drawn pixels move (about one write in fifteen).
class DoorPainter
{
public:
    explicit DoorPainter(platform::TwipControl* door) : door_(door) {}
    // True when the write moved the drawn pixels.
    template <typename Write> bool apply(Write write)
    {
        const QRect before = door_->geometry();
        write();
        if (door_->geometry() == before || !door_->parentWidget())
            return false;
        changed_ = before.united(door_->geometry());
        return true;
    }
    void show() { door_->parentWidget()->repaint(changed_); }

private:
    platform::TwipControl* door_;
    QRect changed_;
};

} // namespace

void Form1::Check1_Click()
{
    frmSet& p = panel();
    platform::TwipImage* door = Image1[2];
    const auto steps = doors::frontDoorSteps(p.Check1->isChecked(), door->twWidth());
    DoorPainter painter(door);
    doors::run(
        doors::Door::Front, steps, [&](float w) { return painter.apply([&] { door->setTwWidth(w); }); },
        [&] { painter.show(); }, [&p] { return static_cast<std::int32_t>(p.HScroll1->value()); });
}

void Form1::Check2_Click()
{
    frmSet& p = panel();
    const bool open = p.Check2->isChecked();
    PlayWaveResource(101);
    platform::TwipImage* door = Image2;
    DoorPainter painter(door);
    doors::run(
        doors::Door::Middle, doors::middleDoorSteps(open),
        [&](float x) { return painter.apply([&] { door->setTwLeft(x); }); }, [&] { painter.show(); },
        [&p] { return static_cast<std::int32_t>(p.HScroll2->value()); });
}

void Form1::HScroll1_Change()
{
    panel().lblMaeSpeed->setNum(panel().HScroll1->value());
}
void Form1::HScroll2_Change()
{
    panel().lblNakaSpeed->setNum(panel().HScroll2->value());
}
