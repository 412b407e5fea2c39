#include "platform/desktop/session_end.h"

#include "platform/files/atomic_file.h"
#include "platform/files/exe_info.h"

#include <QAbstractEventDispatcher>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace platform
{

namespace
{

int wake[2] = {-1, -1};

extern "C" void onEndSignal(int)
{
    const int saved = errno;
    const char byte = 0;
    // Non-blocking: when the pipe is full, a byte is waiting already.
    [[maybe_unused]] const ssize_t n = ::write(wake[1], &byte, 1);
    errno = saved;
}

// A handler rather than SIG_IGN, so programs started from here get the
// default back.
extern "C" void onFailedWrite(int) {}

void handle(int signal, void (*handler)(int), bool keepIgnored)
{
    struct sigaction sa {
    };
    if (keepIgnored && ::sigaction(signal, nullptr, &sa) == 0 && sa.sa_handler == SIG_IGN)
        return;
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    // A save interrupted by a second signal goes on where it was.
    sa.sa_flags = SA_RESTART;
    ::sigaction(signal, &sa, nullptr);
}

// Sends the quit requests that reach the application (the session manager's
// among them) to end(): Qt would first ask every window to close, and a
// window may refuse.
class QuitFilter : public QObject
{
public:
    QuitFilter(QObject* parent, std::function<void()> end) : QObject(parent), end_(std::move(end)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::Quit || watched != QCoreApplication::instance())
            return false;
        end_();
        return true;
    }

private:
    std::function<void()> end_;
};

// Destroyed after writeAtExit has run: it is registered later.
QString exitPath;
QByteArray exitContent;
std::function<void(const QString&, const QString&)> exitFailed;
bool exitArmed = false;

void writeAtExit()
{
    if (!exitArmed)
        return;
    exitArmed = false;
    if (const auto saved = replaceFile(exitPath, exitContent); !saved) {
        exitFailed(exitPath, saved.error());
        return;
    }
    // Saved as at a close: the session sees a clean end, not the broken connection.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace

void surviveFailedWrites()
{
    handle(SIGPIPE, onFailedWrite, false);
    handle(SIGXFSZ, onFailedWrite, false);
}

void watchSessionEnd(QObject* context, std::function<void()> save, std::function<void()> end)
{
    if (::pipe2(wake, O_CLOEXEC | O_NONBLOCK) == 0) {
        auto* notifier = new QSocketNotifier(wake[0], QSocketNotifier::Read, context);
        QObject::connect(notifier, &QSocketNotifier::activated, context, [end] {
            char drain[64];
            while (::read(wake[0], drain, sizeof drain) > 0) {
            }
            end();
        });
        for (const int s : {SIGTERM, SIGHUP, SIGINT})
            handle(s, onEndSignal, true);
    }
    QCoreApplication::instance()->installEventFilter(new QuitFilter(context, end));

    // Qt names the program as it was started, which may be a relative path or a link.
    const auto registerRestart = [](QSessionManager& m) {
        QStringList command = m.restartCommand();
        if (!command.isEmpty())
            command.front() = exePath();
        m.setRestartCommand(command);
    };
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, context,
                     [registerRestart, save](QSessionManager& m) {
                         registerRestart(m);
                         save();
                     });
    QObject::connect(qGuiApp, &QGuiApplication::saveStateRequest, context, registerRestart);
}

void saveAtExit(QObject* context, std::function<QString()> path, std::function<QByteArray()> content,
                std::function<void(const QString& path, const QString& error)> failed)
{
    exitFailed = std::move(failed);
    const auto keep = [path, content] {
        if (!exitArmed || displayBroken())
            return;
        QString p = path();
        QByteArray c = content();
        // Broken meanwhile: what the display answered may be wrong.
        if (displayBroken())
            return;
        exitPath = std::move(p);
        exitContent = std::move(c);
    };
    static const bool registered = std::atexit(writeAtExit) == 0;
    exitArmed = registered;
    keep();
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, context,
                     keep);
}

void dropExitSave()
{
    exitArmed = false;
}

QByteArray keptContent()
{
    return exitContent;
}

bool displayBroken()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Off X11 (the offscreen platform too) there is no connection to break.
    return x11 && x11->connection() && xcb_connection_has_error(x11->connection());
}

void writeErrorLine(const QString& line)
{
    std::fputs((line + u'\n').toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

} // namespace platform
