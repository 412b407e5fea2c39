#pragma once
#include <QString>
#include <functional>

namespace platform
{

// Where the settings file is read from, and where it is written.
struct SettingsFiles {
    QString read;
    QString write;
    bool perUser = false; // written to the user's configuration folder
};

// What the choice depends on: the program's folder and name, whether the user
// may write that folder, the environment (XDG_CONFIG_HOME, HOME), and the
// application's folder in the user's configuration folder.
struct SettingsFacts {
    QString folder;
    QString name;
    bool folderWritable = true;
    QString configHome;
    QString home;
    QString appFolder;
};

// Beside the program, <folder>/<name>.ini, wherever the user may write its
// folder (a build, an install of his own). Otherwise (a system install, a
// read-only medium) each user keeps his own $XDG_CONFIG_HOME/<appFolder>/<name>.ini
// (~/.config when the variable is unset or not absolute); while that does not
// exist, the file beside the program (an administrator's defaults) is read.
// With no absolute home either, the file beside the program is all there is.
SettingsFiles chooseSettingsFiles(const SettingsFacts& facts,
                                  const std::function<bool(const QString&)>& exists);

// The choice for the running program.
SettingsFiles settingsFiles(const QString& appFolder);

// Makes the running program's per-user settings folder, and its missing
// parents, with mode 700 when the file goes there. A failure shows when the
// file is written.
void makeSettingsFolder(const QString& appFolder);

} // namespace platform
