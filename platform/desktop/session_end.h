#pragma once
// The ways a session ends without anybody closing the program: a signal
// (logout or shutdown under systemd, kill, a closed terminal, Ctrl+C), the
// session manager's logout, and the display going away.
#include <QByteArray>
#include <QString>
#include <functional>

class QObject;

namespace platform
{

// A write to a closed pipe (standard error, a dead connection) or beyond the
// user's file-size limit (ulimit -f) fails instead of ending the program,
// before it could save or say that the save failed. Call first: Qt writes its
// warnings at start-up.
void surviveFailedWrites();

// From now on SIGTERM, SIGHUP and SIGINT (unless they were ignored at start,
// as under nohup) and the session manager's request to quit call end() from
// the event loop; the handlers only wake it. At the session manager's save
// save() is called, and the program is registered to come back at the next
// login by its absolute path. Call once, before the event loop runs.
void watchSessionEnd(QObject* context, std::function<void()> save, std::function<void()> end);

// Qt's X11 platform and the session manager's library end the program with
// exit() when their connection breaks. From now until dropExitSave(), such an
// end writes content() to path() as they were the last time the event loop
// went idle with the display alive (refreshed there, so an idle program does
// no work), and the program ends with status 0. A failed write calls
// failed(path, error), and the program ends with the status exit() was given.
void saveAtExit(QObject* context, std::function<QString()> path, std::function<QByteArray()> content,
                std::function<void(const QString& path, const QString& error)> failed);
void dropExitSave();
// The content as last kept while the display was alive (empty before saveAtExit).
QByteArray keptContent();
// True once the X11 connection is broken: window positions read after that may be wrong.
bool displayBroken();

// Writes line and a line end to standard error at once, in the locale's encoding.
void writeErrorLine(const QString& line);

} // namespace platform
