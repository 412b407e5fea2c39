#include "platform/files/exe_info.h"

#include "platform/core/native_path.h"

#include <QFileInfo>
#include <filesystem>

namespace platform
{

QString exePath()
{
    // Read once, at start-up: once an upgrade replaces the file, the kernel
    // names the running program "<path> (deleted)".
    static const QString path = [] {
        std::error_code ec;
        const auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
        return ec ? QString() : decodePath(p.native());
    }();
    return path;
}

QString exeFolder()
{
    return QFileInfo(exePath()).absolutePath();
}

QString exeName()
{
    return QFileInfo(exePath()).completeBaseName();
}

} // namespace platform
