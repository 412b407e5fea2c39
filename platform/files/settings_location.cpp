#include "platform/files/settings_location.h"

#include "platform/core/native_path.h"
#include "platform/files/exe_info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform
{

SettingsFiles chooseSettingsFiles(const SettingsFacts& facts,
                                  const std::function<bool(const QString&)>& exists)
{
    const QString file = facts.name + QStringLiteral(".ini");
    const QString beside = (facts.folder.endsWith(u'/') ? facts.folder : facts.folder + u'/') + file;
    if (facts.folderWritable)
        return {beside, beside, false};
    // Relative values are to be ignored (XDG Base Directory Specification).
    QString config = facts.configHome;
    if (!config.startsWith(u'/'))
        config = facts.home.startsWith(u'/') ? facts.home + QStringLiteral("/.config") : QString();
    if (config.isEmpty())
        return {beside, beside, false};
    const QString own = config + u'/' + facts.appFolder + u'/' + file;
    return {exists(own) ? own : beside, own, true};
}

SettingsFiles settingsFiles(const QString& appFolder)
{
    SettingsFacts facts;
    facts.appFolder = appFolder;
    facts.folder = exeFolder();
    facts.name = exeName();
    // Effective ids, as the kernel will judge the write.
    facts.folderWritable = ::faccessat(AT_FDCWD, encodePath(facts.folder).constData(), W_OK, AT_EACCESS) == 0;
    facts.configHome = decodePath(qgetenv("XDG_CONFIG_HOME"));
    facts.home = decodePath(qgetenv("HOME"));
    return chooseSettingsFiles(facts, [](const QString& path) {
        struct stat st {
        };
        return ::lstat(encodePath(path).constData(), &st) == 0; // a link leading nowhere yet counts too
    });
}

void makeSettingsFolder(const QString& appFolder)
{
    const SettingsFiles files = settingsFiles(appFolder);
    if (!files.perUser)
        return;
    const QByteArray path = encodePath(files.write);
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1))
        ::mkdir(path.left(slash).constData(), 0700); // an existing folder is left as it is
}

} // namespace platform
