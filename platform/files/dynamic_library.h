#pragma once
// A shared library loaded at run time (dlopen), with the loader's own
// description of what went wrong when it cannot be loaded or lacks a symbol.
#include "platform/core/expected.h"

#include <QString>

namespace platform
{

class DynamicLibrary
{
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;

    // Loads the library at path (all symbols resolved now, kept private to it).
    Expected<void> open(const QString& path);
    bool isOpen() const { return handle_ != nullptr; }
    // The address of an exported symbol, never null.
    Expected<void*> symbol(const char* name);
    void close();

private:
    void* handle_ = nullptr;
};

} // namespace platform
