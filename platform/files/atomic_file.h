#pragma once
#include "platform/core/expected.h"

#include <QByteArray>
#include <QString>

namespace platform
{

// Replaces the file at path with content: written to a new file beside it,
// synced, then renamed over the old one, so a failure at any point (full
// disk, read-only folder, a crash) leaves the old file whole. A symbolic link
// stays a link: the file it leads to is the one replaced. A file the user may
// not write is left alone. A failure gives the system's description of the
// error.
// (QSaveFile is not used: Qt 6.4 reports success when its final flush fails.)
Expected<void> replaceFile(const QString& path, const QByteArray& content);

// Up to maxBytes from the start of the file at path, or the system's
// description of why it cannot be opened or read.
Expected<QByteArray> readFileStart(const QString& path, qint64 maxBytes);

} // namespace platform
