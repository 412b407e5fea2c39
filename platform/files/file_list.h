#pragma once
// A hidden list of the picture files of one folder, in
// case-insensitive name order: no folders, no hidden files.
#include "platform/core/expected.h"
#include "platform/core/twips.h"

#include <QString>
#include <QStringList>
#include <limits>
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

    // pattern: "*.bmp;*.gif"; only "*.ext" parts are understood. A folder with
    // more than limit matches lists the first limit of them.
    explicit FileList(const QString& pattern, qsizetype limit = std::numeric_limits<qsizetype>::max());

    // Reads the folder's entries. An empty path lists nothing. On failure the
    // old entries and path stay.
    Expected<void, Failure> setPath(const QString& folder);

    QString path() const { return path_; }
    QString pattern() const { return pattern_; }
    qsizetype listCount() const { return entries_.size(); }
    // Entry at index, or nullopt when there is none.
    std::optional<QString> list(qsizetype index) const;
    bool matches(const QString& name) const;

    // Where the list stands in its window's layout; it is never shown.
    tw::Rect twRect() const { return rect_; }
    void setTwRect(const tw::Rect& r) { rect_ = r; }

private:
    QString pattern_;
    qsizetype limit_;
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
