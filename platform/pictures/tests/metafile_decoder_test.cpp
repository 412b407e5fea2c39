// The metafile decoder: the confinement it puts itself under, the pixels it
// draws under it, and every way it can end.
#include "platform/files/exe_info.h"
#include "platform/pictures/confine.h"
#include "platform/pictures/metafile_decoder.h"
#include "platform/pictures/metafile_render.h"
#include "platform/pictures/picture.h"
#include "platform/pictures/tests/picture_samples.h"
#include "tests/support/files.h"

#include <QFont>
#include <QTest>
#include <atomic>
#include <csignal>
#include <functional>
#include <linux/landlock.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>

using testing_support::writeFile;

// Each try in a child of its own, on a thread started inside the confinement
// as the decoder's is: killed by the filter, or, for a read outside fonts and
// libraries, refused where the kernel has Landlock.
TEST(Confinement, RefusesWritingReadingElsewhereSocketsExecAndNewProcesses)
{
    QTemporaryDir dir;
    const QByteArray made = platform::encodePath(dir.filePath("made"));
    const QByteArray secret = platform::encodePath(writeFile(dir.filePath("secret"), "x"));
    const bool landlock =
        ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION) >= 1;
    const std::pair<const char*, std::function<int()>> tries[] = {
        {"read elsewhere", [&] { return ::open(secret.constData(), O_RDONLY); }},
        {"write", [&] { return ::open(made.constData(), O_WRONLY | O_CREAT, 0600); }},
        {"socket", [] { return ::socket(AF_UNIX, SOCK_STREAM, 0); }},
        {"exec", [] { return ::execl("/bin/true", "true", nullptr); }},
        // A child made anyway ends as the try's own process does.
        {"fork", [] { return int(::fork()); }},
    };
    for (const auto& t : tries) {
        const pid_t child = ::fork();
        if (child == 0) {
            // As the decoder starts: nothing but the standard descriptors open.
            ::close_range(3, ~0U, 0);
            std::atomic<bool> running{false}, go{false};
            std::thread worker;
            const auto confined = platform::confineDecoder([&] {
                // Running before the filter comes: a thread's start makes calls it refuses.
                worker = std::thread([&] {
                    running = true;
                    while (!go) {
                    }
                    const int fd = t.second();
                    ::_exit(fd < 0 && errno == EACCES ? 0 : 1);
                });
                while (!running) {
                }
            });
            if (!confined || confined->landlock != landlock)
                ::_exit(3);
            go = true;
            worker.join();
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        SCOPED_TRACE(t.first);
        if (t.first == std::string("read elsewhere"))
            EXPECT_EQ(status, landlock ? 0 : 1 << 8);
        else
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGSYS) << status;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("made")));
}

// Every sample and every metafile of the fuzz corpus (text, a bitmap large
// enough that Qt would convert it on several threads): the same pixels as
// the same drawing code unconfined.
TEST(MetafileDecoder, DrawsTheSamePixelsConfined)
{
    QList<QByteArray> pictures = {samples::emf(200, 100), samples::wmf(1440, 720, 1440),
                                  samples::emf(4096, 4096)};
    const QDir corpus(qEnvironmentVariable("KURURINA_SOURCE_DIR") + "/fuzz/corpus/fuzz_picture");
    for (const QString& name : corpus.entryList({"*.wmf", "*.emf"}))
        pictures << testing_support::readFile(corpus.filePath(name));
    ASSERT_GE(pictures.size(), 8);
    // The decoder has none of the program's font substitutions.
    for (const QString& family : QFont::substitutions())
        QFont::removeSubstitutions(family);
    for (QByteArray& bytes : pictures) {
        const QImage confined = platform::renderMetafile(bytes, QSize()).value_or(QImage());
        EXPECT_TRUE(!confined.isNull() && confined == platform::drawMetafile(bytes, QSize())) << bytes.size();
    }
}

// Stand-ins that hang, crash or answer nonsense: an unreadable picture, soon,
// and no process left. The real decoder is kept for the next picture, with
// nothing of the program's, and replaced after a picture over its memory
// bound or when it was killed; it ends when idle.
TEST(MetafileDecoder, AnyEndIsAnUnreadablePictureAndTheNextOneShows)
{
    QTemporaryDir dir;
    const QByteArray decoder = platform::encodePath(platform::exeFolder() + "/kururina-metafile");
    const auto gone = [](qint64 pid) { return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH; };
    const QByteArray good = samples::emf(50, 40);
    // A record size of 2^31 words, which libwmf allocates at once.
    const QByteArray hungry = samples::wmf(1440, 720, 1440).replace(34, 4, samples::le(4, {0x7FFFFFFF}));
    const auto standIn = [&](const char* name, const QByteArray& script) {
        const QString path = writeFile(dir.filePath(name), "#!/bin/sh\n" + script);
        ::chmod(platform::encodePath(path).constData(), 0755);
        return platform::encodePath(path);
    };
    const std::pair<QByteArray, QByteArray> cases[] = {
        {standIn("hang", "exec /bin/sleep 60"), good},
        {standIn("crash", "kill -SEGV $$"), good},
        {standIn("nonsense", "/bin/head -c 20 >/dev/null; printf xxxxxxxx; exec /bin/sleep 60"), good},
        {standIn("short", "/bin/head -c 20 >/dev/null; printf '\\1\\0\\0\\0\\1\\0\\0\\0'"), good},
        // Gone while the request is still being sent.
        {standIn("deaf", "exec 0<&- 1>&- /bin/sleep 60"), QByteArray(4 << 20, '\0')},
    };
    for (const auto& c : cases) {
        platform::MetafileDecoder d(c.first, 60000);
        QString error;
        const double s =
            testing_support::secondsOf([&] { error = d.render(c.second, QSize()).error_or(QString()); });
        // Started, or the row would pass without trying its way to end.
        EXPECT_TRUE(!error.isEmpty() && error != "metafile decoder missing" && s < 3 && d.processId() == 0)
            << c.first.constData() << error.toStdString() << s;
    }

    const int held = ::open(platform::encodePath(writeFile(dir.filePath("held"), "x")).constData(), O_RDONLY);
    platform::MetafileDecoder d(decoder, 300);
    ASSERT_EQ(d.render(good, QSize(50, 40)).value_or(QImage()).size(), QSize(50, 40));
    const qint64 first = d.processId();
    EXPECT_TRUE(d.render(good, QSize(50, 40)) && d.processId() == first);
    EXPECT_EQ(testing_support::readFile(QStringLiteral("/proc/%1/environ").arg(first)), QByteArray());
    const QByteArray status = testing_support::readFile(QStringLiteral("/proc/%1/status").arg(first));
    EXPECT_TRUE(status.contains("NoNewPrivs:\t1") && status.contains("Seccomp:\t2")) << status.constData();
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(first));
    for (const QFileInfo& fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        EXPECT_NE(fd.symLinkTarget().toStdString(), dir.filePath("held").toStdString());
    ::close(held);

    EXPECT_FALSE(d.render(hungry, QSize()));
    EXPECT_TRUE(gone(first) && d.processId() == 0);
    EXPECT_TRUE(d.render(good, QSize(50, 40)));
    const qint64 second = d.processId();
    siginfo_t ended{};
    ASSERT_TRUE(::kill(pid_t(second), SIGKILL) == 0 &&
                ::waitid(P_PID, id_t(second), &ended, WEXITED | WNOWAIT) == 0);
    EXPECT_TRUE(d.render(good, QSize(50, 40)) && d.processId() != second);
    const qint64 third = d.processId();
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.processId() == 0; }) && gone(third) && gone(second));
}
