#include "support/win32/handles.h"
#include "support/win32/shell.h"

#include <gtest/gtest.h>

namespace velbrook::win32 {
namespace {

// A file that CreateFile could not open holds INVALID_HANDLE_VALUE, which is
// empty for its owner (and the process's own pseudo-handle for Windows).
TEST(UniqueHandle, AFileThatDidNotOpenIsEmpty) {
    File missing(CreateFileA("C:\\no such folder\\no such file", GENERIC_READ, 0, nullptr,
                             OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_FALSE(File());
    File opened(CreateFileA("NUL", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(opened);
    missing = std::move(opened);
    EXPECT_TRUE(missing);
    EXPECT_FALSE(opened);
    EXPECT_EQ(opened.get(), INVALID_HANDLE_VALUE);
}

// The wait for a child ends with the child, whatever its exit code: 259 is
// also the code that means "still running".
TEST(OpenDocument, AWaitEndsWithAChildThatExitsWith259) {
    EXPECT_EQ(OpenDocument("cmd.exe", "open", "/c exit 259", "", true), 259);
}

} // namespace
} // namespace velbrook::win32
