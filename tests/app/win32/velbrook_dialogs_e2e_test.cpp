// The real velbrook.exe opens its scheme dialogs from the keyboard, and each
// comes up complete and owned by the window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win32/e2e_places.h"
#include "app/win32/e2e_process.h"
#include "app/win32/e2e_registry.h"
#include "app/win32/e2e_window.h"

namespace velbrook::e2e {
namespace {

constexpr DWORD kTimeoutMs = 30000;

struct Dialog {
    HWND owner = nullptr;
    std::string caption;
    std::vector<std::string> texts; // of its buttons and text labels, blank ones included
};

std::string TextOf(HWND window) {
    char text[512] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                        kTimeoutMs, &ignored);
    return text;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM dialog) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
    const bool label = lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
    if (IsWindowVisible(child) && (label || lstrcmpiA(className, "Button") == 0))
        reinterpret_cast<Dialog*>(dialog)->texts.push_back(TextOf(child));
    return TRUE;
}

// Reads the program's dialog once it is up, and cancels it.
Dialog ReadAndCancel(const ChildProcess& program) {
    Dialog dialog;
    const ShownDialog shown = WaitForDialog(program, kTimeoutMs);
    if (shown.window == nullptr)
        return dialog;
    dialog.owner = GetWindow(shown.window, GW_OWNER);
    dialog.caption = TextOf(shown.window);
    EnumChildWindows(shown.window, ReadChild, reinterpret_cast<LPARAM>(&dialog));
    PressDialogButton(shown, IDCANCEL);
    EXPECT_TRUE(WaitUntilClosed(shown, kTimeoutMs));
    return dialog;
}

bool Has(const Dialog& dialog, const std::string& text) {
    for (const std::string& each : dialog.texts) {
        if (each == text)
            return true;
    }
    return false;
}

bool NoneBlank(const Dialog& dialog) {
    for (const std::string& each : dialog.texts) {
        if (each.find_first_not_of(" &") == std::string::npos)
            return false;
    }
    return !dialog.texts.empty();
}

class VelbrookDialogsE2e : public ::testing::Test {
  private:
    KeyGuard policyGuard_{kPolicyKey};
    KeyGuard makerGuard_{kMakerKey};
};

TEST_F(VelbrookDialogsE2e, InsertAndDeleteOpenCompleteDialogsOwnedByTheWindow) {
    StoreScheme("E2E Work", {"C:\\", "", "", "", ""});
    ChildProcess program("velbrook.exe", "", "C:\\");
    ASSERT_TRUE(program.Started());
    const ProgramWindow main(program, kTimeoutMs);
    ASSERT_TRUE(main.Found());
    const HWND window = main.Handle();
    const HWND list = FindWindowExA(window, nullptr, "SysListView32", nullptr);
    const HWND schemes = FindWindowExA(window, nullptr, "ComboBox", nullptr);
    ASSERT_TRUE(list != nullptr && schemes != nullptr);

    PostMessageA(list, WM_KEYDOWN, VK_INSERT, 1);
    const Dialog input = ReadAndCancel(program);
    EXPECT_EQ(input.caption, "Quick adjust scheme");
    EXPECT_TRUE(Has(input, "Enter a name of the scheme"));
    EXPECT_TRUE(Has(input, "OK") && Has(input, "Cancel"));
    EXPECT_TRUE(NoneBlank(input));
    EXPECT_EQ(input.owner, window);

    SendMessageA(schemes, CB_SETCURSEL, 0, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(schemes), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(schemes));
    PostMessageA(schemes, WM_KEYDOWN, VK_DELETE, 1);
    const Dialog confirm = ReadAndCancel(program);
    EXPECT_EQ(confirm.caption, "Confirmation");
    EXPECT_TRUE(Has(confirm, "Delete scheme \"E2E Work\"?"));
    EXPECT_TRUE(Has(confirm, "OK") && Has(confirm, "Cancel"));
    EXPECT_TRUE(NoneBlank(confirm));
    EXPECT_EQ(confirm.owner, window);

    EXPECT_TRUE(CloseMainWindow(program, kTimeoutMs));
    EXPECT_EQ(program.WaitForExit(kTimeoutMs), 0);
    EXPECT_EQ(ReadStringValue(std::string(kSchemes) + "\\0", "0"), "E2E Work");
}

} // namespace
} // namespace velbrook::e2e
