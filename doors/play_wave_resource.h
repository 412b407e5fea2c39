#pragma once
// The door sound: plays a built-in RIFF/WAVE sound from memory.
#include <cstdint>

// Plays built-in sound number (101 or 102) to its end. Nonzero when it was
// played; zero, at once and silently, when it cannot be.
std::int32_t PlayWaveResource(std::int16_t number);
