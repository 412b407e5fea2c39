#pragma once
// Checks of permissions as an ordinary user: the superuser may read and write
// anything, and CI runs the tests as root.
#include <cstdio>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support
{

// Runs f in a child process as an ordinary user (nobody, when the tests run as
// root); the test fails when f's checks fail there. What f touches must be
// open to others.
inline void asOrdinaryUser(const std::function<void()>& f)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            std::fputs("could not become an ordinary user\n", stderr);
            ::_exit(2);
        }
        f();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "as an ordinary user: wait status " << status;
}

} // namespace testing_support
