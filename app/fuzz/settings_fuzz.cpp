// The settings line parser on arbitrary bytes: no crash, no hang, and a line
// that reads whole writes back to a line that reads the same, all 16 fields:
// positions as seven significant digits keep them, speeds as 16 bits.
#include "app/settings_line.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace
{
// Whole positions below ten million come back exactly; beyond, to seven digits.
bool sameSingle(std::int32_t got, std::int32_t was)
{
    const double d = std::abs(double(got) - double(was));
    return std::abs(double(was)) < 1e7 ? d == 0 : d <= std::abs(double(was)) * 1e-6;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray in(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const settings::Read r = settings::read(in);
    if (r.fieldsRead < 0 || r.fieldsRead > 16)
        std::abort();
    if (!r.ok())
        return 0;
    const settings::Read again = settings::read(settings::write(settings::valuesOf(r)));
    settings::Read want = r;
    want.speed1 = static_cast<std::int16_t>(r.speed1);
    want.speed2 = static_cast<std::int16_t>(r.speed2);
    for (auto [w, got] : {std::pair{&want.busLeft, again.busLeft},
                          {&want.busTop, again.busTop},
                          {&want.panelLeft, again.panelLeft},
                          {&want.panelTop, again.panelTop},
                          {&want.kanbanLeft, again.kanbanLeft},
                          {&want.kanbanTop, again.kanbanTop}}) {
        if (!sameSingle(got, *w))
            std::abort();
        *w = got;
    }
    if (!(again == want))
        std::abort();
    return 0;
}
