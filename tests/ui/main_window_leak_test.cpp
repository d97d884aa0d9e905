// Opening and closing the window many times in one process must give back every
// window, GDI object and registry handle it took.
#include "main_window_fixture.h"

namespace velbrook::testing {
namespace {

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountWithChildren(HWND hwnd, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(hwnd, CountChild, count);
    return TRUE;
}

struct GuiCounts {
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    int threadWindows = 0; // Wine does not count GUI resources; windows it can count
    bool operator==(const GuiCounts&) const = default;
};

GuiCounts CurrentCounts() {
    GuiCounts counts;
    counts.gdiObjects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    counts.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    EnumThreadWindows(GetCurrentThreadId(), CountWithChildren,
                      reinterpret_cast<LPARAM>(&counts.threadWindows));
    return counts;
}

class MainWindowLeakTest : public MainWindowTest {
  protected:
    // One session of a user: open, pick a folder, add and choose a scheme, hover a
    // button, close with the close box.
    void UseAndClose() {
        Open();
        SelectRow(0);
        dialogs.folderAnswers.push_back("C:\\Windows");
        ClickImageButton(Part::ChangeButton);
        dialogs.inputAnswers.push_back("Leak check");
        ClickImageButton(Part::AddSchemeButton);
        ChooseScheme(0);
        const RECT up = Window().ImageButtonOf(Part::MoveUpButton).Bounds();
        SendMessageA(Window().hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(up.left + 2, up.top + 2));
        SendMessageA(Window().hwnd(), WM_CLOSE, 0, 0);
        Pump();
        ASSERT_FALSE(IsOpen());
    }
};

TEST_F(MainWindowLeakTest, FiftySessionsGiveBackEverything) {
    StorePlaces({"C:\\", "C:\\Windows", "", "C:\\Windows\\system32", ""});
    StoreSchemes({{"Home", {"C:\\", "", "", "", ""}}});
    // The first session loads what stays for the process: the system image
    // list, themes, fonts, window classes.
    UseAndClose();
    const GuiCounts before = CurrentCounts();
    for (int session = 0; session < 50; ++session) {
        UseAndClose();
        ASSERT_EQ(store.OpenHandleCount(), 0) << "session " << session;
    }
    const GuiCounts after = CurrentCounts();
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.userObjects, before.userObjects);
    EXPECT_EQ(after.threadWindows, before.threadWindows);
    EXPECT_TRUE(reports.empty());
}

} // namespace
} // namespace velbrook::testing
