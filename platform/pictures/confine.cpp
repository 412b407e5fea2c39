#include "platform/pictures/confine.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <linux/landlock.h>
#include <seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform
{

namespace
{

constexpr rlim_t mib = rlim_t{1} << 20;
#ifdef KURURINA_SANITIZED
// The sanitizer's allocator keeps freed blocks in quarantine (256 MB) and
// pads every block, so the same pictures take about twice the room.
constexpr rlim_t decodingRoom = 2048 * mib;
#else
// One 4096 x 4096 picture is 64 MB of pixels; its drawing, the SVG and the
// input (at most 64 MB) take the rest.
constexpr rlim_t decodingRoom = 1024 * mib;
#endif
// Input, output, stderr and what the libraries hold open already, with room
// for a font file or two.
constexpr rlim_t descriptors = 16;

// What is mapped now, in bytes: the libraries, and under the sanitizer its
// reserved shadow (terabytes, never touched).
rlim_t mappedNow()
{
    std::FILE* f = std::fopen("/proc/self/statm", "re");
    unsigned long long pages = 0;
    const bool ok = f && std::fscanf(f, "%llu", &pages) == 1;
    if (f)
        std::fclose(f);
    return ok ? rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) : 0;
}

bool limit(int resource, rlim_t value)
{
    const rlimit r{value, value};
    return ::setrlimit(resource, &r) == 0;
}

bool setLimits()
{
    const rlim_t mapped = mappedNow();
    return mapped > 0 && limit(RLIMIT_AS, mapped + decodingRoom) &&
           limit(RLIMIT_CPU, rlim_t(decoderProcessorSeconds)) && limit(RLIMIT_FSIZE, 0) &&
           limit(RLIMIT_CORE, 0) && limit(RLIMIT_NOFILE, descriptors);
}

// Reading only, and only beneath these: the shared libraries and Qt's
// plugins, the fonts, fontconfig's configuration and cache.
constexpr const char* readable[] = {
    "/usr/lib",
    "/usr/lib64",
    "/lib",
    "/lib64",
    "/etc/ld.so.cache",
    "/usr/share/fonts",
    "/usr/local/share/fonts",
    "/usr/share/fontconfig",
    "/etc/fonts",
    "/var/cache/fontconfig",
};

// Whether it applies: false when this kernel has no Landlock.
Expected<bool> applyLandlock()
{
    const long abi = ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    if (abi < 1)
        return false;
    // Every right this header knows of is handled, so every one not granted below is refused.
    landlock_ruleset_attr attr{};
    attr.handled_access_fs = (LANDLOCK_ACCESS_FS_MAKE_SYM << 1) - 1;
    if (abi >= 2)
        attr.handled_access_fs |= LANDLOCK_ACCESS_FS_REFER;
    const int ruleset = int(::syscall(SYS_landlock_create_ruleset, &attr, sizeof attr, 0));
    if (ruleset < 0)
        return failure(QStringLiteral("no Landlock ruleset"));
    bool ok = true;
    for (const char* path : readable) {
        const int fd = ::open(path, O_PATH | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {
        };
        landlock_path_beneath_attr rule{};
        rule.parent_fd = fd;
        rule.allowed_access = LANDLOCK_ACCESS_FS_READ_FILE;
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
            rule.allowed_access |= LANDLOCK_ACCESS_FS_READ_DIR;
        ok = ok && ::syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &rule, 0) == 0;
        ::close(fd);
    }
    ok = ok && ::syscall(SYS_landlock_restrict_self, ruleset, 0) == 0;
    ::close(ruleset);
    if (!ok)
        return failure(QStringLiteral("Landlock refused"));
    return true;
}

// The system calls decoding makes, measured with strace on the samples of the
// tests and the fuzz corpus (text, bitmaps, a 4096 x 4096 picture) in both
// builds; any other kills the process, which is the end of the picture.
constexpr int allowed[] = {
    // The request in, the answer out; closing what the libraries opened.
    SCMP_SYS(read),
    SCMP_SYS(write),
    SCMP_SYS(close),
    // Memory, as glibc's allocator and the dynamic loader use it.
    SCMP_SYS(brk),
    SCMP_SYS(mmap),
    SCMP_SYS(munmap),
    SCMP_SYS(mremap),
    SCMP_SYS(mprotect),
    SCMP_SYS(madvise),
    // Waking the thread that decodes, and waiting for it.
    SCMP_SYS(futex),
    // Fonts, and the libraries Qt and glibc load when first needed (an image
    // plugin for a bitmap inside a metafile, a text converter): opened for
    // reading only (see below), looked up, listed.
    SCMP_SYS(newfstatat),
    SCMP_SYS(statx),
    SCMP_SYS(access),
    SCMP_SYS(readlink),
    SCMP_SYS(getdents64),
    SCMP_SYS(fcntl),
    // glibc's qsort asks how much memory the machine has.
    SCMP_SYS(sysinfo),
    // The end, after each picture that fails.
    SCMP_SYS(exit_group),
};

bool applyFilter()
{
    scmp_filter_ctx ctx = seccomp_init(SCMP_ACT_KILL_PROCESS);
    if (!ctx)
        return false;
    // On every thread of the process, not only this one.
    bool ok = seccomp_attr_set(ctx, SCMP_FLTATR_CTL_TSYNC, 1) == 0;
    for (const int call : allowed)
        ok = ok && seccomp_rule_add(ctx, SCMP_ACT_ALLOW, call, 0) == 0;
    // openat without any flag that writes or creates.
    const scmp_arg_cmp readOnly{2, SCMP_CMP_MASKED_EQ, O_WRONLY | O_RDWR | O_CREAT | O_TRUNC, 0};
    ok = ok && seccomp_rule_add_array(ctx, SCMP_ACT_ALLOW, SCMP_SYS(openat), 1, &readOnly) == 0;
#ifdef KURURINA_SANITIZED
    // The undefined-behaviour checker probes memory through a pipe; the
    // address checker looks up (never sets) the signal stack before a call
    // that does not return.
    const scmp_arg_cmp lookUp{0, SCMP_CMP_EQ, 0, 0};
    ok = ok && seccomp_rule_add(ctx, SCMP_ACT_ALLOW, SCMP_SYS(pipe2), 0) == 0 &&
         seccomp_rule_add_array(ctx, SCMP_ACT_ALLOW, SCMP_SYS(sigaltstack), 1, &lookUp) == 0;
#endif
    ok = ok && seccomp_load(ctx) == 0;
    seccomp_release(ctx);
    return ok;
}

} // namespace

Expected<Confinement> confineDecoder(const std::function<void()>& startThreads)
{
    if (!setLimits())
        return failure(QStringLiteral("resource limits refused"));
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return failure(QStringLiteral("no new privileges refused"));
    const Expected<bool> landlock = applyLandlock();
    if (!landlock)
        return failure(landlock.error());
    if (startThreads)
        startThreads();
    if (!applyFilter())
        return failure(QStringLiteral("system call filter refused"));
    return Confinement{*landlock};
}

} // namespace platform
