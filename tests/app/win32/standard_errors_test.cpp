// A program linked as velbrook.exe is raises the standard library's own errors,
// and code that catches them by type catches them.
#include <gtest/gtest.h>

#include "app/win32/e2e_console.h"
#include "app/win32/e2e_process.h"

namespace velbrook::e2e {
namespace {

TEST(StandardErrors, AreCaughtByTheirTypesInAProgramLinkedAsVelbrookIs) {
    const ScriptRun run = RunScript("", kTimeoutMs, "standard_errors_probe.exe");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "out_of_range\r\nout_of_range\r\nlength_error\r\ninvalid_argument\r\n"
                       "logic_error\r\n");
}

} // namespace
} // namespace velbrook::e2e
