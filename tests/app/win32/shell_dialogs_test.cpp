// The shell helpers and the platform's message box, in the real Windows shell.
#include <gtest/gtest.h>

#include "app/win32/e2e_process.h"
#include "support/dialogs.h"
#include "support/win32/shell.h"

namespace velbrook::e2e {
namespace {

class ShellHelpers : public ::testing::Test {
  protected:
    ShellHelpers() { win32::ShellStartup(); }
    ~ShellHelpers() override {
        win32::SetMainWindowHandle(nullptr);
        win32::ShellShutdown();
    }
};

TEST_F(ShellHelpers, UnknownPathsGetTheUnknownFileIcon) {
    const int unknown = win32::GetUnknownFileIconIndex();
    EXPECT_EQ(win32::GetUnknownFileIconIndex(), unknown);
    EXPECT_EQ(win32::GetSystemIconIndex("C:\\no such folder\\at all"), unknown);
}

TEST_F(ShellHelpers, OneTrailingBackslashIsIgnoredExceptForADriveRoot) {
    EXPECT_EQ(win32::GetSystemIconIndex("C:\\windows\\"), win32::GetSystemIconIndex("C:\\windows"));
    EXPECT_GE(win32::GetSystemIconIndex("C:\\"), 0);
}

TEST_F(ShellHelpers, OwnerIsTheDesktopUntilTheMainWindowIsSet) {
    EXPECT_EQ(win32::DefaultOwnerWindow(), GetDesktopWindow());
    const HWND window = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    win32::SetMainWindowHandle(window);
    EXPECT_EQ(win32::DefaultOwnerWindow(), window);
    win32::SetMainWindowHandle(nullptr);
    DestroyWindow(window);
    EXPECT_EQ(win32::DefaultOwnerWindow(), GetDesktopWindow());
}

TEST_F(ShellHelpers, PlatformMessageBoxReturnsTheButtonPressed) {
    // The helper answers the box that this process is about to show.
    const DWORD self = GetCurrentProcessId();
    ChildProcess helper("answer_box.exe", std::to_string(self) + " NO 20000", "C:\\");
    ASSERT_TRUE(helper.Started());
    const int answer = PlatformDialogs().MessageBox("Delete scheme \"Work\"?", "Confirmation",
                                                    kMbYesNo | kMbIconExclamation, 0);
    EXPECT_EQ(helper.WaitForExit(20000), 0);
    EXPECT_EQ(answer, kIdNo);
}

} // namespace
} // namespace velbrook::e2e
