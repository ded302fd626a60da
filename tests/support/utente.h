// Tests of permissions as a user whom permissions bind: root reads every file and
// writes into every folder, so run as root (as CI is) such a test would prove
// nothing.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pliventa::test {

/// The exit status of a child that could not become the user or reach the test
/// program (a build folder that user may not enter).
inline constexpr int kUtenteNonDisponibile = 77;

/// When this process is root: runs the test `nome` ("Suite.Test") of this same
/// program again in a child process as the user "nobody", with a scratch folder
/// of that user's as TMPDIR, and returns the child's exit status (0: passed; its
/// output goes to this process's). std::nullopt when this process is not root:
/// the test goes on here.
std::optional<int> comeUtenteComune(const std::string& nome);

}  // namespace pliventa::test

/// First statement of a permissions test: as root, the test runs as "nobody" and
/// its outcome is this test's; otherwise the body below runs here. On Windows the
/// test is skipped: its modes and owners are POSIX's (Windows has access lists,
/// which Wine does not enforce), and the Linux run covers it.
#ifdef _WIN32
#define PLIVENTA_COME_UTENTE_COMUNE() GTEST_SKIP() << "POSIX permissions: covered by the Linux run"
#else
#define PLIVENTA_COME_UTENTE_COMUNE()                                                         \
    do {                                                                                      \
        const auto* info_ = ::testing::UnitTest::GetInstance()->current_test_info();          \
        const auto esito_ = ::pliventa::test::comeUtenteComune(                               \
            std::string(info_->test_suite_name()) + "." + info_->name());                     \
        if (esito_) {                                                                         \
            if (*esito_ == ::pliventa::test::kUtenteNonDisponibile) {                         \
                GTEST_SKIP() << "the user nobody cannot run this test program here";          \
            }                                                                                 \
            EXPECT_EQ(*esito_, 0) << "the test failed as the user nobody (its output above)"; \
            return;                                                                           \
        }                                                                                     \
    } while (false)
#endif
