#include "platform/sound.h"

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>

namespace platform
{

namespace
{

bool startAudio()
{
    if (SDL_WasInit(SDL_INIT_AUDIO))
        return true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    // The dummy driver swallows the sound unheard: that is no output at all.
    const char* driver = SDL_GetCurrentAudioDriver();
    if (!driver || std::strcmp(driver, "dummy") == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

} // namespace

bool playWaveMemory(const void* data, std::size_t size)
{
    if (!data || size == 0 || size > static_cast<std::size_t>(INT32_MAX) || !startAudio())
        return false;

    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1, &spec, &samples, &length))
        return false;
    struct FreeWav {
        Uint8* p;
        ~FreeWav() { SDL_FreeWAV(p); }
    } freeWav{samples};

    const int frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    if (frameBytes <= 0 || spec.freq <= 0)
        return false;
    // A short device buffer, so the call ends close to the sound's own end.
    spec.samples = 256;
    spec.callback = nullptr;
    spec.userdata = nullptr;
    // No allowed changes: SDL converts to the device itself if it must.
    const SDL_AudioDeviceID dev = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
    if (dev == 0)
        return false;

    using namespace std::chrono;
    const auto soundLength = duration<double>(static_cast<double>(length) / frameBytes / spec.freq);
    const auto bufferLength = duration<double>(static_cast<double>(spec.samples) / spec.freq);
    const auto start = steady_clock::now();
    // A device that stops taking samples must not hang the program.
    const auto giveUp = start + duration_cast<steady_clock::duration>(soundLength + bufferLength * 4) + 500ms;

    bool ok = SDL_QueueAudio(dev, samples, length) == 0;
    if (ok) {
        SDL_PauseAudioDevice(dev, 0);
        while (SDL_GetQueuedAudioSize(dev) > 0 && steady_clock::now() < giveUp)
            std::this_thread::sleep_for(1ms);
        ok = SDL_GetQueuedAudioSize(dev) == 0;
    }
    // Closing lets the device play out the last buffer it took.
    SDL_CloseAudioDevice(dev);
    return ok;
}

void shutdownSound()
{
    if (SDL_WasInit(SDL_INIT_AUDIO))
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace platform
