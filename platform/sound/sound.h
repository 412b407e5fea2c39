#pragma once
// Sound output: plays a RIFF/WAVE image from memory, synchronously.
#include <cstddef>

namespace platform
{

// Plays the image to its end and returns true. Returns false at once, and
// stays silent, when there is no working sound output or the image is not a
// playable RIFF/WAVE file. Waits little more than the sound's own length,
// whatever the sound server does (150 ms for the previous sound to finish,
// 150 ms past the end, counted from when the server took the sound if it did
// so within that long): the work is done on a thread of its own, and a server
// that stops answering holds that thread, never the caller (the sound is
// abandoned; until the server answers again, calls return false within
// 150 ms). A server started after a call without one is found at the next.
bool playWaveMemory(const void* data, std::size_t size);

// Stops the audio system (waiting at most a second for the sound thread);
// the next playWaveMemory starts it again and reads SDL_AUDIODRIVER anew.
// Nothing needs it at exit: a stuck sound thread never holds up the end of
// the process.
void shutdownSound();

} // namespace platform
