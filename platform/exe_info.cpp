#include "platform/exe_info.h"

#include <QFileInfo>
#include <filesystem>

namespace platform {

QString exePath()
{
    std::error_code ec;
    const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return QString::fromStdString(p.string());
}

QString exeFolder() { return QFileInfo(exePath()).absolutePath(); }

QString exeName() { return QFileInfo(exePath()).completeBaseName(); }

} // namespace platform
