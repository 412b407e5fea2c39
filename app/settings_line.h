#pragma once
// The settings file's one line: 16 comma-separated fields ended by CR LF.
// Texts are quoted (an embedded quote is doubled), yes/no is #TRUE#/#FALSE#,
// single-precision numbers are written with at most 7 significant digits.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace settings
{

struct Values {
    float busLeft = 0, busTop = 0, panelLeft = 0, panelTop = 0; // written as singles
    QString signFolder;
    QString reservedText;
    std::int32_t reserved1 = 0, reserved2 = 0;
    QString kanbanPicture;
    float kanbanLeft = 0, kanbanTop = 0;
    bool kanbanShown = true, frameShown = true;
    std::int16_t speed1 = 0, speed2 = 0; // written as 16-bit integers
    std::int16_t mode = 0;
};

// What reading gives back: whole numbers where the file is read into 32-bit
// integers (halves rounded to even), and how many fields were read before the
// first that failed (16 when the line read whole).
struct Read {
    std::int32_t busLeft = 0, busTop = 0, panelLeft = 0, panelTop = 0;
    QString signFolder;
    QString reservedText;
    std::int32_t reserved1 = 0, reserved2 = 0;
    QString kanbanPicture;
    std::int32_t kanbanLeft = 0, kanbanTop = 0;
    bool kanbanShown = false, frameShown = false;
    std::int32_t speed1 = 0, speed2 = 0;
    std::int16_t mode = 0;
    int fieldsRead = 0;
    bool ok() const { return fieldsRead == 16; }
    bool operator==(const Read&) const = default;
};

// The whole line, CR LF included, in the locale's encoding (UTF-8).
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
