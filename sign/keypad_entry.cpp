#include "sign/keypad_entry.h"

#include <limits>

namespace sign
{

void KeypadEntry::press(std::int16_t index)
{
    if (index >= 0 && index <= 9) {
        if (text_.size() < maxDigits)
            text_ += QChar(static_cast<char16_t>(u'0' + index));
    } else if (index == keypadClear) {
        text_.clear();
    }
}

std::optional<std::int16_t> KeypadEntry::position() const
{
    // Six digits always fit in 32 bits.
    std::int32_t value = 0;
    for (const QChar c : text_)
        value = value * 10 + (c.unicode() - u'0');
    if (value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

} // namespace sign
