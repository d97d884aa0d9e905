// The program's own raising functions for libstdc++ give the library's texts,
// with their numbers, in errors that the event handlers catch as std::exception.
#include <gtest/gtest.h>

#include "app/win32/e2e_console.h"
#include "app/win32/e2e_process.h"

namespace velbrook::e2e {
namespace {

TEST(LibraryErrors, RaiseTheLibraryTextsAsStandardExceptions) {
    const ScriptRun run = RunScript("", kTimeoutMs, "library_errors_probe.exe");
    EXPECT_EQ(run.exitCode, 0);
    // Lines as puts writes them to a pipe, in text mode.
    EXPECT_EQ(run.out, "basic_string::substr: __pos (which is 5) > this->size() (which is 0)\r\n"
                       "vector::_M_range_check: __n (which is 7) >= this->size() (which is 3)\r\n"
                       "vector::reserve\r\n"
                       "basic_string: construction from null is not valid\r\n");
}

} // namespace
} // namespace velbrook::e2e
