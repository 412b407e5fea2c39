#include "doors/play_wave_resource.h"

#include "assets/assets.h"
#include "platform/sound/sound.h"

#include <QByteArray>

namespace
{
// The image being played; replaced by each call and kept after it returns.
QByteArray soundBuffer;
} // namespace

std::int32_t PlayWaveResource(std::int16_t number)
{
    soundBuffer = assets::wave(number);
    return platform::playWaveMemory(soundBuffer.constData(), static_cast<std::size_t>(soundBuffer.size()))
               ? 1
               : 0;
}
