#include "platform/files/file_list.h"

#include "platform/core/native_path.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace platform
{

FileList::FileList(const QString& pattern, qsizetype limit) : pattern_(pattern), limit_(limit)
{
    for (const QString& part : pattern.split(u';', Qt::SkipEmptyParts)) {
        const QString p = part.trimmed();
        if (p.startsWith(QLatin1String("*.")))
            extensions_ << p.mid(1).toLower();
    }
}

bool FileList::matches(const QString& name) const
{
    if (name.startsWith(u'.'))
        return false; // hidden
    return std::any_of(extensions_.cbegin(), extensions_.cend(), [&](const QString& ext) {
        return name.size() > ext.size() && name.endsWith(ext, Qt::CaseInsensitive);
    });
}

std::optional<QString> FileList::list(qsizetype index) const
{
    if (index < 0 || index >= entries_.size())
        return std::nullopt;
    return entries_.at(index);
}

Expected<void, FileList::Failure> FileList::setPath(const QString& folder)
{
    if (folder.isEmpty()) {
        path_.clear();
        entries_.clear();
        return {};
    }
    const QByteArray native = encodePath(folder);
    const int dfd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) {
        const int err = errno;
        // A part of the path that is a file cannot name a folder either.
        if (err == ENOENT || err == ENOTDIR)
            return Unexpected(Failure{true, {}});
        return Unexpected(Failure{false, QString::fromLocal8Bit(std::strerror(err))});
    }
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(dfd), &::closedir);
    if (!dir) {
        const int err = errno;
        ::close(dfd);
        return Unexpected(Failure{false, QString::fromLocal8Bit(std::strerror(err))});
    }

    QStringList found;
    errno = 0;
    while (const dirent* e = ::readdir(dir.get())) {
        const QString name = decodePath(e->d_name);
        if (!matches(name))
            continue;
        unsigned char type = e->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            // Follow links; a broken link or anything but a plain file is passed over.
            struct stat st {
            };
            if (::fstatat(dfd, e->d_name, &st, 0) != 0)
                continue;
            type = S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_REG)
            found << name;
    }

    std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    if (found.size() > limit_)
        found.resize(limit_);
    path_ = folder;
    entries_ = std::move(found);
    return {};
}

QString pathOnDisk(const QString& qtPath)
{
    if (!qtPath.contains(QChar::ReplacementCharacter))
        return qtPath;
    const QStringList parts = qtPath.split(u'/');
    QString done = parts.front();
    for (qsizetype i = 1; i < parts.size(); ++i) {
        QString next = parts.at(i);
        if (next.contains(QChar::ReplacementCharacter)) {
            const QByteArray folder = encodePath(done.isEmpty() ? QStringLiteral("/") : done);
            std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.constData()), &::closedir);
            int found = 0;
            while (const dirent* e = dir ? ::readdir(dir.get()) : nullptr) {
                if (QFile::decodeName(e->d_name) == parts.at(i)) {
                    next = decodePath(e->d_name);
                    ++found;
                }
            }
            if (found != 1)
                return qtPath;
        }
        done += u'/' + next;
    }
    return done;
}

} // namespace platform
