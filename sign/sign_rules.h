#pragma once
// The destination sign's rules: the folder path's trailing separator, the
// picture path of a list entry, and stepping with the Up and Down keys.
#include <QString>
#include <cstdint>
#include <limits>
#include <optional>

namespace sign
{

inline constexpr std::int16_t vkUp = 38;
inline constexpr std::int16_t vkDown = 40;

// The sign counts its pictures in 16 bits: a folder with more lists the first
// 32767 of them.
inline constexpr qsizetype listLimit = std::numeric_limits<std::int16_t>::max();

// Appends the separator to the stored path when it is missing. An empty path
// stays empty: on this file system "/" alone would name the root folder.
void completeFolderPath(QString& folder);

// The file a list entry names, or an empty text when the folder path is empty
// (an empty path never reaches a picture).
QString picturePath(const QString& folder, const QString& entry);

// The text the browse button puts into the folder box for a chosen folder:
// lower case when the lower-cased path still names that same folder (as on a
// file system that ignores case), otherwise the path as chosen.
QString browsedFolderText(const QString& chosen);

// The sign position moved by the arrow keys. It is not reset by a new folder.
class Stepper
{
public:
    // Applies one key-down given the list's count. Returns the position to
    // show, or nullopt when nothing is to be shown. Down stops only when the
    // position equals count - 1, so past the end it keeps climbing.
    std::optional<std::int32_t> keyDown(std::int16_t keyCode, std::int16_t count);
    std::int32_t position() const { return position_; }

private:
    std::int32_t position_ = 0;
};

} // namespace sign
