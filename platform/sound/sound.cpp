#include "platform/sound/sound.h"

#include "platform/core/expected.h"

#include <SDL.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <thread>
#include <vector>

namespace platform
{

namespace
{

using Clock = std::chrono::steady_clock;

// How long past the sound's own length the caller waits at most; also how
// long it waits for the sound thread to finish the previous sound.
constexpr auto margin = std::chrono::milliseconds(150);
// SDL's device buffer, in frames: 46 ms at 22050 Hz. Shorter buffers (11 ms)
// had gaps on a busy machine; longer ones make closing the device (SDL waits
// two buffers) outlast the margin.
constexpr Uint16 bufferFrames = 1024;
// Past the moment the sound's last samples are known to leave the device
// (SDL: asked for the first buffer with nothing left; a PulseAudio server:
// drained, plus the latency it reports), so that the door never starts while
// the chime may still sound.
constexpr auto outputLatency = std::chrono::milliseconds(15);
// The most a PulseAudio server is asked to hold: 4 s of 16-bit stereo at 48 kHz.
constexpr std::size_t maxServerBuffer = std::size_t{4} * 48000 * 4;

// One sound on its way out, shared by the caller, the sound thread and SDL's
// audio thread. The samples are signed 16-bit: a server fills any gap in the
// stream with zero bytes, silence only in a signed format (pipewire-pulse 0.3
// does so for every format, and an unsigned 8-bit stream clicks at full scale).
struct Sound {
    std::vector<Sint16> samples;
    int channels = 1;
    int freq = 0;
    std::size_t given = 0;     // samples handed to the device (audio thread only)
    std::size_t lastGiven = 0; // in the last buffer that had any (likewise)
    std::atomic<bool> abandoned{false};
    Clock::time_point takenAt; // when the output took it; guarded by Player::mutex_
    Clock::time_point heardAt; // set once known; likewise
    bool failed = false;       // likewise
};

// The thread that does all audio work, so that a sound server that stops
// answering holds that thread and never the caller. It is never joined and
// never stopped: a stuck one is left to the end of the process.
class Player
{
public:
    static Player& instance()
    {
        static Player* const player = new Player; // never destroyed, see above
        return *player;
    }

    // Waits at most the margin for the thread to be free, hands it the sound,
    // and returns true once it has been heard; false at once when it failed,
    // or when it was not heard by the deadline (it is then abandoned). The
    // deadline is the sound's length and the margin from now, or from when the
    // output took the sound if it did so by then: a busy machine may start the
    // sound late, and the door still waits for its end, while a server that
    // never takes it holds the door for the length and the margin only.
    bool play(const std::shared_ptr<Sound>& sound, Clock::duration length)
    {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, margin, [this] { return !busy_; }))
            return false;
        busy_ = true;
        next_ = sound;
        changed_.notify_all();
        const auto giveUp = Clock::now() + length + margin;
        const auto deadline = [&] {
            const auto taken = sound->takenAt;
            return taken != Clock::time_point() && taken < giveUp ? taken + length + margin : giveUp;
        };
        const auto known = [&] { return sound->heardAt != Clock::time_point() || sound->failed; };
        while (!known() && Clock::now() < deadline())
            changed_.wait_until(lock, deadline());
        const bool heard =
            !sound->failed && sound->heardAt != Clock::time_point() && sound->heardAt <= deadline();
        if (!sound->failed)
            changed_.wait_until(lock, heard ? sound->heardAt : deadline(), [] { return false; });
        sound->abandoned = !heard;
        changed_.notify_all();
        return heard;
    }

    // Has the thread stop the audio system once it is free; waits at most
    // `wait` for either.
    void stop(Clock::duration wait)
    {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, wait, [this] { return !busy_; }))
            return;
        busy_ = stop_ = true;
        changed_.notify_all();
        changed_.wait_for(lock, wait, [this] { return !busy_; });
    }

private:
    Player()
    {
        // Signals stay with the program's own threads.
        sigset_t all, old;
        sigfillset(&all);
        pthread_sigmask(SIG_SETMASK, &all, &old);
        std::thread([this] { run(); }).detach();
        pthread_sigmask(SIG_SETMASK, &old, nullptr);
    }

    void run()
    {
        for (;;) {
            std::shared_ptr<Sound> sound;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return next_ != nullptr || stop_; });
                sound = std::move(next_);
            }
            const bool played = sound && output(*sound);
            {
                std::lock_guard lock(mutex_);
                if (sound && !played)
                    sound->failed = true;
                // Done with the sound: the next may be handed over while SDL
                // shuts down below (some 100 to 350 ms after ALSA was tried),
                // and starts after it instead of being given up.
                if (sound)
                    busy_ = false;
                changed_.notify_all();
            }
            // SDL (ALSA, taken while no server ran) is given up, so that the
            // next sound looks for a server again and reads SDL_AUDIODRIVER anew.
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            std::lock_guard lock(mutex_);
            if (!next_)
                busy_ = false;
            stop_ = false;
            changed_.notify_all();
        }
    }

    // Why a server did not play the sound: none answered (SDL may find
    // another output), or it failed on the way.
    enum class NotPlayed { noServer, failed };

    // The output has the sound: from now on the door waits for its end.
    static void taken(Sound& sound)
    {
        Player& player = instance();
        std::lock_guard lock(player.mutex_);
        sound.takenAt = Clock::now();
        player.changed_.notify_all();
    }

    // A PulseAudio server first; without one, whatever SDL finds.
    bool output(Sound& sound)
    {
        const auto served = outputToServer(sound);
        if (served)
            return true;
        if (served.error() == NotPlayed::failed)
            return false;
        return outputThroughSdl(sound);
    }

    // A PulseAudio server (PulseAudio's own or PipeWire's) is handed the
    // whole sound before it starts to play: fed a buffer at a time, as SDL
    // does, it played a gap whenever this process was kept from running for
    // some 15 ms, as on a busy machine. Asked to adjust its latency, as
    // libpulse-simple does, a server keeps up to half the length asked for as
    // its device's latency and takes the rest ahead: twice the sound's size
    // makes it take all of it. SDL_AUDIODRIVER naming another driver leaves
    // the server out.
    static Expected<void, NotPlayed> outputToServer(Sound& sound)
    {
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        if (driver && *driver && std::strcmp(driver, "pulseaudio") != 0)
            return Unexpected(NotPlayed::noServer);
        const pa_sample_spec spec{PA_SAMPLE_S16NE, static_cast<std::uint32_t>(sound.freq),
                                  static_cast<std::uint8_t>(sound.channels)};
        const std::size_t bytes = sound.samples.size() * sizeof(Sint16);
        const auto none = static_cast<std::uint32_t>(-1);
        const pa_buffer_attr attr{none, static_cast<std::uint32_t>(std::min(2 * bytes, maxServerBuffer)),
                                  none, none, none};
        pa_simple* stream = pa_simple_new(nullptr, nullptr, PA_STREAM_PLAYBACK, nullptr, "door chime", &spec,
                                          nullptr, &attr, nullptr);
        if (!stream)
            return Unexpected(NotPlayed::noServer);
        taken(sound);
        bool played = !sound.abandoned &&
                      pa_simple_write(stream, sound.samples.data(), bytes, nullptr) == 0 &&
                      pa_simple_drain(stream, nullptr) == 0;
        const pa_usec_t held = played ? pa_simple_get_latency(stream, nullptr) : 0;
        played = played && held != static_cast<pa_usec_t>(-1);
        pa_simple_free(stream);
        if (!played)
            return Unexpected(NotPlayed::failed);
        Player& player = instance();
        std::lock_guard lock(player.mutex_);
        sound.heardAt = Clock::now() + std::chrono::microseconds(held) + outputLatency;
        player.changed_.notify_all();
        return {};
    }

    bool outputThroughSdl(Sound& sound)
    {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (sound.abandoned || (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0))
            return false;
        // The dummy driver swallows the sound unheard: that is no output at all.
        const char* driver = SDL_GetCurrentAudioDriver();
        if (!driver || std::strcmp(driver, "dummy") == 0 || sound.abandoned)
            return false;
        SDL_AudioSpec spec{};
        spec.freq = sound.freq;
        spec.format = AUDIO_S16SYS;
        spec.channels = static_cast<Uint8>(sound.channels);
        spec.samples = bufferFrames;
        spec.callback = fill;
        spec.userdata = &sound;
        // No allowed changes: SDL converts to the device itself if it must.
        const SDL_AudioDeviceID dev = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
        if (dev == 0)
            return false;
        taken(sound);
        SDL_PauseAudioDevice(dev, 0);
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return sound.heardAt != Clock::time_point() || sound.abandoned; });
            changed_.wait_until(lock, sound.heardAt, [&] { return sound.abandoned.load(); });
        }
        SDL_CloseAudioDevice(dev);
        return true;
    }

    // SDL's audio thread: the samples, then silence. SDL asks for a buffer
    // once the server has taken the one before the last: the first buffer
    // with nothing left to give comes as the last samples start to play.
    static void SDLCALL fill(void* userdata, Uint8* stream, int len)
    {
        Sound& sound = *static_cast<Sound*>(userdata);
        const std::size_t room = static_cast<std::size_t>(len) / sizeof(Sint16);
        const std::size_t n = sound.abandoned ? 0 : std::min(room, sound.samples.size() - sound.given);
        std::memcpy(stream, sound.samples.data() + sound.given, n * sizeof(Sint16));
        std::memset(stream + n * sizeof(Sint16), 0, static_cast<std::size_t>(len) - n * sizeof(Sint16));
        sound.given += n;
        if (n > 0) {
            sound.lastGiven = n;
            return;
        }
        Player& player = instance();
        std::lock_guard lock(player.mutex_);
        if (sound.heardAt != Clock::time_point())
            return;
        const auto rest =
            std::chrono::duration<double>(static_cast<double>(sound.lastGiven) / sound.channels / sound.freq);
        sound.heardAt = Clock::now() + std::chrono::duration_cast<Clock::duration>(rest) + outputLatency;
        player.changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool busy_ = false;
    bool stop_ = false;
    std::shared_ptr<Sound> next_;
};

// The image's samples as signed 16-bit, its channels and rate kept; null when
// it is no playable RIFF/WAVE image.
std::shared_ptr<Sound> decode(const void* data, std::size_t size)
{
    SDL_AudioSpec spec{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(data, static_cast<int>(size)), 1, &spec, &samples, &length))
        return nullptr;
    struct FreeWav {
        Uint8* p;
        ~FreeWav() { SDL_FreeWAV(p); }
    } freeWav{samples};
    const int frameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
    SDL_AudioCVT cvt;
    if (frameBytes <= 0 || spec.freq <= 0 || length > INT32_MAX / 8 ||
        SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, spec.channels,
                          spec.freq) < 0)
        return nullptr;
    auto sound = std::make_shared<Sound>();
    sound->channels = spec.channels;
    sound->freq = spec.freq;
    length -= length % static_cast<Uint32>(frameBytes);
    if (spec.format == AUDIO_U8) { // widened exactly; SDL's conversion rounds through floats
        for (Uint32 i = 0; i < length; ++i)
            sound->samples.push_back(static_cast<Sint16>((samples[i] - 128) * 256));
        return sound;
    }
    std::vector<Uint8> work(static_cast<std::size_t>(length) *
                            static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
    std::memcpy(work.data(), samples, length);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0)
        return nullptr;
    sound->samples.resize(static_cast<std::size_t>(cvt.needed ? cvt.len_cvt : cvt.len) / sizeof(Sint16));
    std::memcpy(sound->samples.data(), work.data(), sound->samples.size() * sizeof(Sint16));
    return sound;
}

} // namespace

bool playWaveMemory(const void* data, std::size_t size)
{
    if (!data || size == 0 || size > static_cast<std::size_t>(INT32_MAX))
        return false;
    const std::shared_ptr<Sound> sound = decode(data, size);
    if (!sound || sound->samples.empty())
        return false;
    const auto length = std::chrono::duration<double>(static_cast<double>(sound->samples.size()) /
                                                      sound->channels / sound->freq);
    return Player::instance().play(sound, std::chrono::duration_cast<Clock::duration>(length));
}

void shutdownSound()
{
    Player::instance().stop(std::chrono::seconds(1));
}

} // namespace platform
