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
    const settings::Values v = settings::valuesOf(r);
    const settings::Read again = settings::read(settings::write(v));
    if (!again.ok() || again.signFolder != r.signFolder || again.kanbanPicture != r.kanbanPicture ||
        again.reservedText != r.reservedText || again.reserved1 != r.reserved1 || again.mode != r.mode)
        std::abort();
    return 0;
}
