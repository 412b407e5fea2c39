// The settings line parser on arbitrary bytes: no crash, no hang, and a line
// that reads whole writes back to a line that reads the same.
#include "app/settings_line.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray in(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const settings::Read r = settings::read(in);
    if (r.fieldsRead < 0 || r.fieldsRead > 16)
        std::abort();
    if (!r.ok())
        return 0;
    settings::Values v;
    v.busLeft = static_cast<float>(r.busLeft);
    v.busTop = static_cast<float>(r.busTop);
    v.panelLeft = static_cast<float>(r.panelLeft);
    v.panelTop = static_cast<float>(r.panelTop);
    v.signFolder = r.signFolder;
    v.reservedText = r.reservedText;
    v.reserved1 = r.reserved1;
    v.reserved2 = r.reserved2;
    v.kanbanPicture = r.kanbanPicture;
    v.kanbanLeft = static_cast<float>(r.kanbanLeft);
    v.kanbanTop = static_cast<float>(r.kanbanTop);
    v.kanbanShown = r.kanbanShown;
    v.frameShown = r.frameShown;
    v.speed1 = static_cast<std::int16_t>(r.speed1);
    v.speed2 = static_cast<std::int16_t>(r.speed2);
    v.mode = r.mode;
    const settings::Read again = settings::read(settings::write(v));
    if (!again.ok() || again.signFolder != r.signFolder || again.kanbanPicture != r.kanbanPicture ||
        again.reservedText != r.reservedText || again.reserved1 != r.reserved1 || again.mode != r.mode)
        std::abort();
    return 0;
}
