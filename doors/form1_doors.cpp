#include "app/form1.h"
#include "doors/door_motion.h"
#include "doors/frmset.h"
#include "doors/play_wave_resource.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>

namespace
{

// Applies one write and puts it on the screen at once: no event is processed
// during a movement, so the changed strip is painted synchronously, and only
// when the drawn pixels move (about one write in fifteen).
template <typename Write> void writeNow(platform::TwipControl* door, Write write)
{
    const QRect before = door->geometry();
    write();
    const QRect after = door->geometry();
    if (after != before && door->parentWidget())
        door->parentWidget()->repaint(before.united(after));
}

} // namespace

void Form1::Check1_Click()
{
    frmSet& p = panel();
    platform::TwipImage* door = Image1[2];
    const auto steps = doors::frontDoorSteps(p.Check1->isChecked(), door->twWidth());
    doors::run(
        doors::Door::Front, steps, [door](float w) { writeNow(door, [&] { door->setTwWidth(w); }); },
        [&p] { return static_cast<std::int32_t>(p.HScroll1->value()); });
}

void Form1::Check2_Click()
{
    frmSet& p = panel();
    const bool open = p.Check2->isChecked();
    PlayWaveResource(101);
    platform::TwipImage* door = Image2;
    doors::run(
        doors::Door::Middle, doors::middleDoorSteps(open),
        [door](float x) { writeNow(door, [&] { door->setTwLeft(x); }); },
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
