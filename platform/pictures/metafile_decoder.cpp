#include "platform/pictures/metafile_decoder.h"

#include "platform/pictures/confine.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform
{

namespace
{

constexpr qint64 timeoutMs = 2000;
constexpr int maxSide = 4096;
constexpr qsizetype maxInput = qsizetype{64} << 20;
// A decoder is retired before its processor time limit could strike in the
// middle of a picture: each takes at most timeoutMs.
constexpr qint64 busyBudgetMs = qint64{decoderProcessorSeconds} * 1000 - 2 * timeoutMs;

} // namespace

MetafileDecoder::MetafileDecoder(QByteArray program, int idleMs, QObject* parent)
    : QObject(parent), program_(std::move(program)), idleMs_(idleMs)
{
    idle_.setSingleShot(true);
    connect(&idle_, &QTimer::timeout, this, &MetafileDecoder::end);
}

MetafileDecoder::~MetafileDecoder()
{
    end();
}

void MetafileDecoder::end()
{
    idle_.stop();
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    if (socket_ >= 0)
        ::close(socket_);
    pid_ = socket_ = -1;
    busyMs_ = 0;
}

bool MetafileDecoder::start()
{
    int sv[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sv) != 0)
        return false;
    // Off 0, 1 and 2, which the decoder's side is moved onto.
    if (sv[1] < 3) {
        const int moved = ::fcntl(sv[1], F_DUPFD_CLOEXEC, 3);
        ::close(sv[1]);
        sv[1] = moved;
    }
    // Its end of the socket as standard input and output, errors to nowhere,
    // nothing else of the program's; signals as a new program has them; no
    // environment at all. It learns the program's process id, to end with it.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, sv[1], 0);
    posix_spawn_file_actions_adddup2(&files, sv[1], 1);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    QByteArray parent = QByteArray::number(::getpid());
    char name[] = "kururina-metafile";
    char* argv[] = {name, parent.data(), nullptr};
    char* envp[] = {nullptr};
    pid_t pid = -1;
    const int rc = sv[1] < 0 ? EMFILE : ::posix_spawn(&pid, program_.constData(), &files, &attr, argv, envp);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&files);
    if (sv[1] >= 0)
        ::close(sv[1]);
    if (rc != 0) {
        ::close(sv[0]);
        return false;
    }
    pid_ = pid;
    socket_ = sv[0];
    return true;
}

// Sends the request while reading the answer, until the picture is whole.
bool MetafileDecoder::exchange(const QByteArray& request, QImage& img, qint64 deadline)
{
    QElapsedTimer clock;
    clock.start();
    std::uint32_t head[2] = {};
    char* into = reinterpret_cast<char*>(head);
    qsizetype sent = 0, got = 0, want = sizeof head;
    for (;;) {
        const qint64 left = deadline - clock.elapsed();
        if (left <= 0)
            return false;
        pollfd p{socket_, short(POLLIN | (sent < request.size() ? POLLOUT : 0)), 0};
        const int n = ::poll(&p, 1, int(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        if (p.revents & POLLOUT) {
            const ssize_t put = ::send(socket_, request.constData() + sent,
                                       std::size_t(request.size() - sent), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (put < 0 && errno != EAGAIN && errno != EINTR)
                return false;
            sent += put > 0 ? put : 0;
        }
        if (!(p.revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        const ssize_t r = ::recv(socket_, into + got, std::size_t(want - got), MSG_DONTWAIT);
        if (r == 0 || (r < 0 && errno != EAGAIN && errno != EINTR))
            return false;
        got += r > 0 ? r : 0;
        if (got < want)
            continue;
        if (!img.isNull())
            return sent == request.size();
        if (head[0] == 0 || head[1] == 0 || head[0] > std::uint32_t(maxSide) ||
            head[1] > std::uint32_t(maxSide))
            return false;
        img = QImage(int(head[0]), int(head[1]), QImage::Format_ARGB32_Premultiplied);
        if (img.isNull())
            return false;
        into = reinterpret_cast<char*>(img.bits());
        got = 0;
        want = img.sizeInBytes();
    }
}

Expected<QImage> MetafileDecoder::render(const QByteArray& bytes, QSize renderSize)
{
    const auto failed = [&](const char* why) {
        end();
        return failure(QString::fromLatin1(why));
    };
    idle_.stop();
    if (bytes.size() > maxInput)
        return failed("metafile too large");
    // Ended while it waited (killed from outside, say): a fresh one.
    if (pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) != 0) {
        pid_ = -1;
        end();
    }
    QElapsedTimer clock;
    clock.start();
    if (pid_ <= 0 && !start())
        return failed("metafile decoder missing");
    const QSize size = renderSize.isEmpty() ? QSize() : renderSize.boundedTo(QSize(maxSide, maxSide));
    const std::uint32_t head[3] = {std::uint32_t(std::max(0, size.width())),
                                   std::uint32_t(std::max(0, size.height())), std::uint32_t(bytes.size())};
    QImage img;
    const bool ok = exchange(QByteArray(reinterpret_cast<const char*>(head), sizeof head) + bytes, img,
                             timeoutMs - clock.elapsed());
    busyMs_ += clock.elapsed();
    if (!ok)
        return failed(clock.elapsed() >= timeoutMs ? "metafile decoder timed out" : "metafile not decoded");
    if (idleMs_ <= 0 || busyMs_ > busyBudgetMs)
        end();
    else
        idle_.start(idleMs_);
    return img;
}

} // namespace platform
