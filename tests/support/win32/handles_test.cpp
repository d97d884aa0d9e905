#include "support/win32/handles.h"

#include <gtest/gtest.h>

#include <string>

namespace velbrook::win32 {
namespace {

// A file that CreateFile could not open holds INVALID_HANDLE_VALUE, which is
// empty for the owner (and the current process's pseudo-handle for Windows).
TEST(UniqueHandle, AFileThatDidNotOpenIsEmptyAndAnOpenOneIsClosedOnce) {
    const File missing(CreateFileA("C:\\no such folder\\no such file", GENERIC_READ, 0, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(File());

    char folder[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(sizeof folder, folder), 0u);
    char name[MAX_PATH] = {};
    ASSERT_NE(GetTempFileNameA(folder, "vbh", 0, name), 0u);
    File opened(CreateFileA(name, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    ASSERT_TRUE(opened);
    File moved(std::move(opened));
    EXPECT_FALSE(opened);
    EXPECT_TRUE(moved);
    moved.reset();
    EXPECT_FALSE(moved);
    // Closed, and so deleted.
    EXPECT_EQ(GetFileAttributesA(name), INVALID_FILE_ATTRIBUTES);

    KernelObject event(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    EXPECT_TRUE(event);
    EXPECT_FALSE(KernelObject());
    const HANDLE released = event.release();
    EXPECT_NE(released, nullptr);
    EXPECT_FALSE(event);
    CloseHandle(released);
}

} // namespace
} // namespace velbrook::win32
