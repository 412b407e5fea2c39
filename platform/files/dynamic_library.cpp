#include "platform/files/dynamic_library.h"

#include "platform/core/native_path.h"

#include <dlfcn.h>
#include <utility>

namespace platform
{

namespace
{
QString takeLoaderError(const char* fallback)
{
    const char* e = dlerror();
    return QString::fromLocal8Bit(e ? e : fallback);
}
} // namespace

DynamicLibrary::~DynamicLibrary()
{
    close();
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_))
{
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept
{
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

bool DynamicLibrary::open(const QString& path)
{
    close();
    error_.clear();
    dlerror(); // forget any earlier failure
    // A path without a slash would make dlopen search the system folders.
    const QByteArray native = encodePath(path.contains(u'/') ? path : QStringLiteral("./") + path);
    handle_ = dlopen(native.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        error_ = takeLoaderError("cannot load library");
        return false;
    }
    return true;
}

void* DynamicLibrary::symbol(const char* name)
{
    if (!handle_) {
        error_ = QStringLiteral("no library is loaded");
        return nullptr;
    }
    dlerror();
    void* p = dlsym(handle_, name);
    const char* e = dlerror();
    if (e) {
        error_ = QString::fromLocal8Bit(e);
        return nullptr;
    }
    if (!p) // a symbol whose value is really null is of no use to a caller either
        error_ = QStringLiteral("symbol %1 is null").arg(QString::fromLocal8Bit(name));
    return p;
}

void DynamicLibrary::close()
{
    if (handle_)
        dlclose(handle_);
    handle_ = nullptr;
}

} // namespace platform
