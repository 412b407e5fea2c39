#pragma once
// The settings file's one line: 16 comma-separated fields ended by CR LF.
// Texts are quoted (an embedded quote is doubled) and in UTF-8, save a path's
// bytes that are not, which are kept as they are; yes/no is #TRUE#/#FALSE#,
// single-precision numbers are written with at most 7 significant digits.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <tuple>

// Every field of the line, in file order: the one place a field is described.
//   X(name, form, saved, held, step, apply, failed)
//   name    the field in settings::Values and settings::Read
//   form    how it is written and read back (the forms below)
//   saved   what a save writes, taken from the bus (Form1)
//   held    the bus's value it goes into as soon as it is read, kept even when
//           a later field fails; std::ignore for none
//   step    when LoadIni applies it once the whole line has read, step 1
//           first, one step's fields in file order; 0 when it is only held
//   apply   what that step does with it (r is what was read); `return false`
//           abandons the load and the defaults take over
//   failed  what the defaults do instead, run in the same order of steps
// clang-format off
#define SETTINGS_LINE_FIELDS(X)                                                                            \
    X(busLeft, Twips, twLeft(), std::ignore, 1, /* with busTop */, )                                       \
    X(busTop, Twips, twTop(), std::ignore, 1,                                                              \
      setTwPosition(static_cast<float>(r.busLeft), static_cast<float>(r.busTop)),                          \
      setTwPosition(0, 0))                                                                                 \
    X(panelLeft, Twips, panel().twLeft(), std::ignore, 2, /* with panelTop */, )                           \
    X(panelTop, Twips, panel().twTop(), std::ignore, 2,                                                    \
      panel().setTwPosition(static_cast<float>(r.panelLeft), static_cast<float>(r.panelTop)),              \
      panelBelowBus_ = true /* once the window manager has framed the bus */)                              \
    X(signFolder, Text, signFolderPath, signFolderPath, 9,                                                 \
      if (!listFolder(File1, signFolderPath) || !showSign(0)) return false, )                              \
    X(reservedText, Text, reservedText, reservedText, 0, , )                                               \
    X(reserved1, Int32, reserved1, reserved1, 0, , )                                                       \
    X(reserved2, Int32, reserved2, reserved2, 0, , )                                                       \
    X(kanbanPicture, Text, kanbanPicturePath, kanbanPicturePath, 6,                                        \
      if (!loadPictureInto(PicKanban, kanbanPicturePath)) return false;                                    \
      PicKanban_DblClick(),                                                                                \
      MnuKanbanReset_Click() /* the whole signboard: picture, place and frame */)                          \
    X(kanbanLeft, Twips, PicKanban->twLeft(), std::ignore, 5,                                              \
      PicKanban->setTwLeft(static_cast<float>(r.kanbanLeft)), )                                            \
    X(kanbanTop, Twips, PicKanban->twTop(), std::ignore, 5,                                                \
      PicKanban->setTwTop(static_cast<float>(r.kanbanTop)), )                                              \
    X(kanbanShown, Flag, MnuViewKanban->isChecked(), std::ignore, 3,                                       \
      PicKanban->setVisible(r.kanbanShown); MnuViewKanban->setChecked(r.kanbanShown), )                    \
    X(frameShown, Flag, MnuViewWaku->isChecked(), std::ignore, 4,                                          \
      for (auto& piece : shpK_Waku) piece->setVisible(r.frameShown);                                       \
      MnuViewWaku->setChecked(r.frameShown), )                                                             \
    X(speed1, Int16In32, static_cast<std::int16_t>(panel().HScroll1->value()), std::ignore, 7,             \
      if (!setSpeed(panel().HScroll1, r.speed1)) return false,                                             \
      panel().HScroll1->setValue(10000))                                                                   \
    X(speed2, Int16In32, static_cast<std::int16_t>(panel().HScroll2->value()), std::ignore, 8,             \
      if (!setSpeed(panel().HScroll2, r.speed2)) return false,                                             \
      panel().HScroll2->setValue(6000))                                                                    \
    X(mode, Int16, checkedMode(panel()), modeIndex, 10,                                                    \
      if (!selectMode(panel().Option1, modeIndex)) return false,                                           \
      panel().Option1[0]->setChecked(true))
// clang-format on

namespace settings
{

// The forms a field takes: the type a save writes, and the type reading gives back.
template <class W, class R> struct Form {
    using Written = W;
    using Read = R;
};
using Twips = Form<float, std::int32_t>; // a single; read back as whole twips, halves to even
using Int32 = Form<std::int32_t, std::int32_t>;
using Int16In32 = Form<std::int16_t, std::int32_t>;
using Int16 = Form<std::int16_t, std::int16_t>; // a value beyond 16 bits fails the field
using Text = Form<QString, QString>;
using Flag = Form<bool, bool>;

// Each field's place in the line, from 0, and how many there are.
#define X(name, ...) name##Place,
enum Place : int { SETTINGS_LINE_FIELDS(X) fieldCount };
#undef X

struct Values {
#define X(name, form, ...) form::Written name{};
    SETTINGS_LINE_FIELDS(X)
#undef X
};

// What reading gives back, and how many fields were read before the first
// that failed (16 when the line read whole).
struct Read {
    int fieldsRead = 0;
    bool ok() const { return fieldsRead == fieldCount; }
    bool operator==(const Read&) const = default;
#define X(name, form, ...) form::Read name{};
    SETTINGS_LINE_FIELDS(X)
#undef X
};

// The whole line, CR LF included.
QByteArray write(const Values& v);
// Reads the 16 fields from the start of a file's content; anything after the
// 16th field is ignored.
Read read(const QByteArray& content);

// What a read line gives back to the writer: reading and writing a file
// unchanged yields the same bytes.
Values valuesOf(const Read& r);

// Helpers, exposed for tests.
QByteArray formatSingle(float v);
bool roundToInt32(double v, std::int32_t& out);

} // namespace settings
