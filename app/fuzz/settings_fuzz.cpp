// The settings line parser on arbitrary bytes: no crash, no hang, and a line
// that reads whole writes back to a line that reads the same, every field:
// positions as seven significant digits keep them, speeds as 16 bits.
#include "app/settings_line.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace
{
// Whole positions below ten million come back exactly; beyond, to seven digits.
bool same(settings::Twips, std::int32_t got, std::int32_t was)
{
    const double d = std::abs(double(got) - double(was));
    return std::abs(double(was)) < 1e7 ? d == 0 : d <= std::abs(double(was)) * 1e-6;
}
// Written as 16 bits.
bool same(settings::Int16In32, std::int32_t got, std::int32_t was)
{
    return got == static_cast<std::int16_t>(was);
}
template <class Form, class T> bool same(Form, const T& got, const T& was)
{
    return got == was;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray in(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const settings::Read r = settings::read(in);
    if (!r.ok())
        return 0;
    const settings::Read again = settings::read(settings::write(settings::valuesOf(r)));
#define X(name, form, ...)                                                                                   \
    if (!same(settings::form{}, again.name, r.name))                                                         \
        std::abort();
    SETTINGS_LINE_FIELDS(X)
#undef X
    if (!again.ok())
        std::abort();
    return 0;
}
