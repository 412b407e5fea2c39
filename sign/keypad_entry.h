#pragma once
// The keypad's entry: up to six digits, shown in the panel's display, read as
// a sign list position when "設定" is pressed.
#include <QString>
#include <cstdint>
#include <optional>

namespace sign
{

// Button indices beside the digits 0 to 9.
inline constexpr std::int16_t keypadClear = 10;
inline constexpr std::int16_t keypadShow = 11;

class KeypadEntry
{
public:
    static constexpr qsizetype maxDigits = 6;

    // A digit (0 to 9) is appended while there are fewer than six; "C" clears.
    // Other indices leave the entry as it is.
    void press(std::int16_t index);
    const QString& text() const { return text_; }

    // The list position the entry names: empty is 0, leading zeros do not
    // count; nullopt above 32767.
    std::optional<std::int16_t> position() const;

private:
    QString text_;
};

} // namespace sign
