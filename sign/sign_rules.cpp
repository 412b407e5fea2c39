#include "sign/sign_rules.h"

#include <limits>

namespace sign {

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
