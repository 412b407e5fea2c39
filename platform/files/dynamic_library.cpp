#include "platform/files/dynamic_library.h"

#include "platform/core/native_path.h"

#include <dlfcn.h>
#include <utility>

namespace platform
{

namespace
{
Unexpected<QString> loaderError(const char* fallback)
{
    const char* e = dlerror();
    return failure(QString::fromLocal8Bit(e ? e : fallback));
}
} // namespace

DynamicLibrary::~DynamicLibrary()
{
    close();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr))
{
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept
{
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
}

Expected<void> DynamicLibrary::open(const QString& path)
{
    close();
    dlerror(); // forget any earlier failure
    // A path without a slash would make dlopen search the system folders.
    const QByteArray native = encodePath(path.contains(u'/') ? path : QStringLiteral("./") + path);
    handle_ = dlopen(native.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        return loaderError("cannot load library");
    return {};
}

Expected<void*> DynamicLibrary::symbol(const char* name)
{
    if (!handle_)
        return failure(QStringLiteral("no library is loaded"));
    dlerror();
    void* p = dlsym(handle_, name);
    if (const char* e = dlerror())
        return failure(QString::fromLocal8Bit(e));
    if (!p) // a symbol whose value is really null is of no use to a caller either
        return failure(QStringLiteral("symbol %1 is null").arg(QString::fromLocal8Bit(name)));
    return p;
}

void DynamicLibrary::close()
{
    if (handle_)
        dlclose(handle_);
    handle_ = nullptr;
}

} // namespace platform
