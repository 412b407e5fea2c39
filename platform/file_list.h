#pragma once
// The hidden file list of the bus window: the picture files of one folder,
// case-insensitive name order, no folders, no hidden files.
#include "platform/expected.h"
#include "platform/twips.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace platform
{

class FileList
{
public:
    // Why a folder could not be listed: it is not there, or anything else.
    struct Failure {
        bool notFound = false;
        QString message; // the system's description, when not notFound
    };

    // pattern: "*.bmp;*.gif"; only "*.ext" parts are understood.
    explicit FileList(const QString& pattern);

    // Reads the folder's entries. An empty path lists nothing. On failure the
    // old entries and path stay.
    Expected<void, Failure> setPath(const QString& folder);

    QString path() const { return path_; }
    QString pattern() const { return pattern_; }
    // The count is a 16-bit number; a folder with more matches lists the first 32767.
    std::int16_t listCount() const { return static_cast<std::int16_t>(entries_.size()); }
    // Entry at index, or nullopt when there is none.
    std::optional<QString> list(std::int16_t index) const;
    bool matches(const QString& name) const;

    // Where the list stands in its window's layout; it is never shown.
    tw::Rect twRect() const { return rect_; }
    void setTwRect(const tw::Rect& r) { rect_ = r; }

private:
    QString pattern_;
    QStringList extensions_; // lower case, with the dot
    QString path_;
    QStringList entries_;
    tw::Rect rect_;
};

// A path as Qt's own dialogs give it back, where every name that is not UTF-8
// has turned into U+FFFD, made the path of the file on disk again. A name
// that matches no entry, or several, is left as it is.
QString pathOnDisk(const QString& qtPath);

} // namespace platform
