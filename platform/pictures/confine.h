#pragma once
// Confines the calling process before it reads a byte of an untrusted
// picture: from then on it can read its input, write its output, allocate a
// bounded amount of memory and read fonts and libraries, and nothing else.

#include "platform/core/expected.h"

#include <functional>

namespace platform
{

struct Confinement {
    // Reads were narrowed to fonts and libraries (kernels without Landlock
    // carry on without it).
    bool landlock = false;
};

// Sets, in this order: resource limits (address space: what is mapped now
// plus room for one 4096 x 4096 picture; processor time; no file size; no
// core; a handful of descriptors), no new privileges and Landlock for this
// thread; then runs startThreads, whose threads inherit both; then a system
// call filter for every thread that kills the process on anything decoding
// does not need (sockets, exec, new threads or processes, opening a file for
// writing among them). Threads started before escape Landlock: start them in
// startThreads, and let them run before it returns (a thread's start makes
// calls the filter refuses). A failure when anything but Landlock could not
// be set: the caller must not decode then.
Expected<Confinement> confineDecoder(const std::function<void()>& startThreads = {});

// The processor time a confined decoder may use in all, in seconds.
inline constexpr int decoderProcessorSeconds = 10;

} // namespace platform
