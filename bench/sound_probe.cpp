// The door chime as a listener gets it: each line read from stdin clicks the
// middle-door switch of a bus (offscreen) while parec records the sound
// server's monitor, and prints one line: ms from the click to the door's first
// write ("-": the door never moved), ms from the recorded chime's end to that
// write ("-": no chime recorded, or no door), 1 when the chime came whole (no
// gap, nothing cut), and the loudest sample of the 50 ms after the chime's end
// (a click shows there). A line "MS PID..." holds those processes (the sound
// server) stopped for the first MS ms of the click: a server slow to answer.
#include "app/form1.h"
#include "app/layout_fonts.h"
#include "assets/assets.h"
#include "doors/door_motion.h"
#include "doors/frmset.h"
#include "platform/files/app_init.h"

#include <QApplication>
#include <QCheckBox>
#include <QScrollBar>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{

using Clock = std::chrono::steady_clock;
constexpr int rate = 22050;

double msBetween(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// parec on the default sink's monitor, read as it comes: the samples, and for
// each read the time it came and the count of samples up to its end. It asks
// for 25 ms, which leaves PipeWire at its usual cycle (1024 samples at 48 kHz):
// the shortest latency asked for sets the cycle of the whole server, and at
// 5 ms a cycle that a busy machine made some process miss was a gap in all
// the server played, one a usual setup does not have.
class Recorder
{
public:
    Recorder()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        const char* argv[] = {"parec",        "-d",           "@DEFAULT_MONITOR@", "--raw", "--format=s16le",
                              "--channels=1", "--rate=22050", "--latency-msec=25", nullptr};
        if (posix_spawnp(&pid_, "parec", &actions, nullptr, const_cast<char**>(argv), environ) != 0)
            pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        fd_ = fds[0];
        reader_ = std::thread([this] { read(); });
    }
    ~Recorder()
    {
        if (pid_ > 0)
            kill(pid_, SIGTERM), waitpid(pid_, nullptr, 0);
        reader_.join();
        close(fd_);
    }
    // Waits up to 1 s for the first samples.
    bool started()
    {
        for (int i = 0; i < 200 && count() == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return count() > 0;
    }
    std::size_t count()
    {
        std::lock_guard lock(mutex_);
        return samples_.size();
    }
    // When sample i came out of the server, as near as the reads tell: none
    // comes before its samples, and one this process was slow to make comes
    // late, so the earliest time any read of sample i or later allows.
    Clock::time_point timeOf(std::size_t i)
    {
        std::lock_guard lock(mutex_);
        Clock::time_point earliest;
        for (const auto& [end, at] : reads_) {
            if (end <= i)
                continue;
            const auto t = at - std::chrono::microseconds((end - i) * 1000000 / rate);
            if (earliest == Clock::time_point() || t < earliest)
                earliest = t;
        }
        return earliest;
    }
    std::vector<double> samples()
    {
        std::lock_guard lock(mutex_);
        return samples_;
    }

private:
    void read()
    {
        std::int16_t buffer[2048];
        ssize_t n;
        while ((n = ::read(fd_, buffer, sizeof buffer)) > 0) {
            const auto now = Clock::now();
            std::lock_guard lock(mutex_);
            samples_.insert(samples_.end(), buffer, buffer + n / 2);
            reads_.emplace_back(samples_.size(), now);
        }
    }
    pid_t pid_ = 0;
    int fd_ = -1;
    std::thread reader_;
    std::mutex mutex_;
    std::vector<double> samples_;
    std::vector<std::pair<std::size_t, Clock::time_point>> reads_;
};

// The chime in a recording, found by its first sample above a threshold:
// where its data ends (-1: not there), whether it came with no constant
// stretch inside (a gap the server filled, or the sound cut short), and the loudest sample of the
// 50 ms after its end (a click).
struct Found {
    long end = -1;
    bool whole = false;
    double after = 0;
};

Found find(const std::vector<double>& got, const std::vector<double>& want)
{
    const auto loud = [](const std::vector<double>& v, bool last) {
        for (long n = long(v.size()), i = 0; i < n; ++i)
            if (std::abs(v[std::size_t(last ? n - 1 - i : i)]) > 300)
                return last ? n - 1 - i : i;
        return -1L;
    };
    Found f;
    const long first = loud(got, false), n = long(want.size());
    if (first < 0 || first + n + rate / 20 > long(got.size()))
        return f;
    f.end = first + n - loud(want, false);
    long quiet = 0, longest = 0;
    for (long i = first; i <= first + loud(want, true) - loud(want, false); ++i)
        longest = std::max(
            longest, quiet = std::abs(got[std::size_t(i)] - got[std::size_t(i - 1)]) < 30 ? quiet + 1 : 0);
    f.whole = longest < 44; // 2 ms of a constant level: a gap the server filled
    for (long i = f.end; i < f.end + rate / 20; ++i)
        f.after = std::max(f.after, std::abs(got[std::size_t(i)]));
    return f;
}

} // namespace

int main(int argc, char** argv)
{
    platform::prepareApplication();
    QApplication app(argc, argv);
    platform::initInterface();
    substituteLayoutFonts();
    const QByteArray wave = assets::wave(101);
    std::vector<double> want;
    for (int i = 44; i < wave.size(); ++i)
        want.push_back((static_cast<unsigned char>(wave[i]) - 128) * 256.0);

    Form1 bus;
    bus.panel().HScroll2->setValue(1);
    Clock::time_point doorAt;
    doors::setWriteObserver([&](doors::Door, float, std::int32_t) {
        if (doorAt == Clock::time_point())
            doorAt = Clock::now();
    });
    std::string line;
    while (std::getline(std::cin, line)) {
        Recorder recorder;
        const bool recording = recorder.started();
        std::istringstream words(line);
        int holdMs = 0;
        std::vector<pid_t> held;
        words >> holdMs;
        for (pid_t pid; words >> pid;)
            held.push_back(pid);
        for (pid_t pid : held)
            kill(pid, SIGSTOP);
        std::thread resume([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
            for (pid_t pid : held)
                kill(pid, SIGCONT);
        });
        doorAt = Clock::time_point();
        const auto click = Clock::now();
        bus.panel().Check2->click();
        resume.join();
        std::this_thread::sleep_for(std::chrono::milliseconds(recording ? 400 : 0));
        const Found f = recording ? find(recorder.samples(), want) : Found();
        const bool moved = doorAt != Clock::time_point();
        char door[32] = "-", end[32] = "-";
        if (moved)
            std::snprintf(door, sizeof door, "%.1f", msBetween(click, doorAt));
        if (moved && f.end >= 0)
            std::snprintf(end, sizeof end, "%.1f", msBetween(recorder.timeOf(std::size_t(f.end)), doorAt));
        std::printf("%s %s %d %.0f\n", door, end, f.whole ? 1 : 0, f.after);
        std::fflush(stdout);
    }
    return 0;
}
