#include "support/win32/handles.h"

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

} // namespace
} // namespace velbrook::win32
