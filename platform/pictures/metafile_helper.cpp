// kururina-metafile: the metafile decoder. The program starts it with an empty
// environment and one socket as standard input and output, and sends it one
// WMF or EMF after another until it ends the socket:
//   request: width, height (0, 0: the natural size), length, as native 32-bit
//            numbers, then that many bytes;
//   answer:  width, height, then premultiplied ARGB32 rows.
// A picture it cannot draw ends it (status 1) without an answer. Both metafile
// libraries are old C code with a record of memory faults, so it confines
// itself before it reads a byte: a picture that takes it over can do no more
// than draw.
#include "platform/core/expected.h"
#include "platform/pictures/confine.h"
#include "platform/pictures/metafile_render.h"

#include <QByteArray>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QSemaphore>
#include <QThreadPool>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <sys/prctl.h>
#include <unistd.h>

namespace
{

constexpr std::uint32_t maxInput = std::uint32_t{64} << 20;

// Where the input ended short of the bytes asked for.
enum class InputEnd { beforeFirst, within };

platform::Expected<void, InputEnd> readFully(char* out, std::size_t n)
{
    std::size_t done = 0;
    while (done < n) {
        const ssize_t got = ::read(0, out + done, n - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return platform::Unexpected(done == 0 ? InputEnd::beforeFirst : InputEnd::within);
        done += std::size_t(got);
    }
    return {};
}

bool writeFully(const void* data, std::size_t n)
{
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        const ssize_t put = ::write(1, p, n);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        p += put;
        n -= std::size_t(put);
    }
    return true;
}

bool answer(const QImage& img)
{
    const std::uint32_t head[2] = {std::uint32_t(img.width()), std::uint32_t(img.height())};
    if (!writeFully(head, sizeof head))
        return false;
    for (int y = 0; y < img.height(); ++y)
        if (!writeFully(img.constScanLine(y), std::size_t(img.width()) * 4))
            return false;
    return true;
}

// Runs f on the one thread of Qt's pool and waits for it. Qt spreads a large
// image conversion over that pool, except from a thread of the pool itself:
// so, decoding there, the decoder never needs a new thread.
template <typename F> void onPoolThread(F&& f)
{
    QSemaphore done;
    QThreadPool::globalInstance()->start([&] {
        f();
        done.release();
    });
    done.acquire();
}

} // namespace

int main(int argc, char** argv)
{
    // Ends with the program, which names itself: gone already, end now.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (argc != 2 || std::strtoll(argv[1], nullptr, 10) != ::getppid())
        return 2;

    // Qt's start and fontconfig's font list, before the confinement: they
    // may write (Qt its runtime folder, fontconfig a stale cache).
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    (void)QFontDatabase::families();
    // The pool's one thread, started inside the confinement: Landlock holds
    // only for threads started after it.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    if (!platform::confineDecoder([] { onPoolThread([] {}); }))
        ::_exit(3);

    // From here on it ends with _exit: the filter allows no orderly shut-down.
    for (;;) {
        std::uint32_t head[3];
        // The program ends the socket between pictures: that is the end.
        if (const auto got = readFully(reinterpret_cast<char*>(head), sizeof head); !got)
            ::_exit(got.error() == InputEnd::beforeFirst ? 0 : 1);
        if (head[2] > maxInput || head[0] > 4096 || head[1] > 4096)
            ::_exit(1);
        QByteArray bytes(qsizetype(head[2]), Qt::Uninitialized);
        if (!readFully(bytes.data(), std::size_t(bytes.size())))
            ::_exit(1);
        bool ok = false;
        onPoolThread([&] {
            const QImage img = platform::drawMetafile(bytes, QSize(int(head[0]), int(head[1])));
            ok = !img.isNull() && answer(img);
        });
        if (!ok)
            ::_exit(1);
    }
}
