#pragma once
// Sound output: plays a RIFF/WAVE image from memory, synchronously.
#include <cstddef>

namespace platform
{

// Plays the image to its end and returns true. Returns false at once, and
// stays silent, when there is no working sound output or the image is not a
// playable RIFF/WAVE file. The audio system starts at the first call.
bool playWaveMemory(const void* data, std::size_t size);

// Stops the audio system; the next playWaveMemory starts it again (and picks
// up SDL_AUDIODRIVER anew).
void shutdownSound();

} // namespace platform
