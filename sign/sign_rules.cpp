#include "sign/sign_rules.h"

#include "platform/core/native_path.h"

#include <limits>
#include <sys/stat.h>

namespace sign
{

void completeFolderPath(QString& folder)
{
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
}

QString picturePath(const QString& folder, const QString& entry)
{
    if (folder.isEmpty())
        return {};
    return folder.endsWith(u'/') ? folder + entry : folder + u'/' + entry;
}

QString browsedFolderText(const QString& chosen)
{
    QString lower = chosen.toLower();
    if (lower == chosen)
        return chosen;
    struct stat a {
    }, b{};
    if (::stat(platform::encodePath(chosen).constData(), &a) != 0 ||
        ::stat(platform::encodePath(lower).constData(), &b) != 0)
        return chosen;
    if (!S_ISDIR(a.st_mode) || a.st_dev != b.st_dev || a.st_ino != b.st_ino)
        return chosen;
    return lower;
}

std::optional<std::int32_t> Stepper::keyDown(std::int16_t keyCode, std::int16_t count)
{
    if (keyCode == vkUp) {
        if (position_ == 0)
            return std::nullopt;
        --position_;
        return position_;
    }
    if (keyCode == vkDown) {
        if (position_ == static_cast<std::int32_t>(count) - 1)
            return std::nullopt;
        // The position is a 32-bit number: one step past its top would overflow,
        // which abandons the key and keeps the position.
        if (position_ == std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        ++position_;
        return position_;
    }
    return std::nullopt;
}

} // namespace sign
