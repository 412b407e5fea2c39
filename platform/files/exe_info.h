#pragma once
#include <QString>

namespace platform
{

// The running executable's folder (without a trailing separator, except for "/")
// and its file name without the extension. A renamed copy reports its own name.
QString exeFolder();
QString exeName();
// The executable's full path, resolved through /proc/self/exe at the first call
// (made at start-up) and kept: a program replaced while it runs keeps its name.
QString exePath();

} // namespace platform
