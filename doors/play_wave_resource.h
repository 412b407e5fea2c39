#pragma once
// The door sound: plays a built-in RIFF/WAVE sound from memory.
#include <cstdint>

// Plays built-in sound number (101 or 102) to its end. Nonzero when it was
// played; zero, silently, when it could not be: at once without a sound
// output, after at most its length and 150 ms when the sound server stops
// answering (platform::playWaveMemory).
std::int32_t PlayWaveResource(std::int16_t number);
