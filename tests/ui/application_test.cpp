#include "ui/application.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/errors.h"
#include "ui/window.h"

namespace velbrook::ui {
namespace {

struct ShownBox {
    HWND owner;
    std::string text, caption;
    UINT flags;
    bool otherDisabled; // the thread's other window, while the box showed
};

std::vector<ShownBox> g_boxes;
HWND g_other = nullptr;

int WINAPI RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT flags) {
    g_boxes.push_back({owner, text, caption, flags, g_other && !IsWindowEnabled(g_other)});
    return IDOK;
}

HWND MakeTopLevel(const char* caption, int x) {
    return CreateWindowExA(0, "STATIC", caption, WS_POPUP | WS_VISIBLE | WS_CAPTION, x, 50, 200,
                           100, nullptr, nullptr, nullptr, nullptr);
}

class ApplicationReport : public ::testing::Test {
  protected:
    void SetUp() override {
        g_boxes.clear();
        Application::Instance().SetMessageBoxFunction(&RecordBox);
        active_ = MakeTopLevel("active", 10);
        g_other = MakeTopLevel("other", 300);
        ASSERT_TRUE(active_ && g_other);
        SetActiveWindow(active_);
    }
    void TearDown() override {
        Application::Instance().SetMessageBoxFunction(nullptr);
        DestroyWindow(g_other);
        DestroyWindow(active_);
        g_other = nullptr;
    }
    HWND active_ = nullptr;
};

TEST_F(ApplicationReport, ShowsTheMessageAsAStopBoxOwnedByTheActiveWindow) {
    ASSERT_EQ(GetActiveWindow(), active_);
    Application::Instance().ReportError("Failed to set data for 'Place0'");
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].text, "Failed to set data for 'Place0'");
    EXPECT_EQ(g_boxes[0].caption, "Velbrook");
    EXPECT_EQ(g_boxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(g_boxes[0].flags, 16u);
    EXPECT_EQ(g_boxes[0].owner, active_);
    EXPECT_TRUE(g_boxes[0].otherDisabled);
    EXPECT_TRUE(IsWindowEnabled(g_other)) << "enabled again afterwards";
    EXPECT_TRUE(IsWindowEnabled(active_));
}

TEST_F(ApplicationReport, CaptionFollowsTheTitle) {
    Application& app = Application::Instance();
    app.SetTitle("Other title");
    app.ReportError("List index out of bounds (9)");
    app.SetTitle("Velbrook");
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].caption, "Other title");
    EXPECT_EQ(g_boxes[0].text, "List index out of bounds (9)");
}

TEST_F(ApplicationReport, GuardReportsEveryKindOfErrorAndNothingElse) {
    Application& app = Application::Instance();
    bool ran = false;
    EXPECT_TRUE(app.Guard([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(g_boxes.empty());

    EXPECT_FALSE(app.Guard([] { throw RegistryError("Invalid data type for 'Count'"); }));
    EXPECT_FALSE(app.Guard([] { throw IniFileError("Cannot create file C:\\a.ini"); }));
    EXPECT_FALSE(app.Guard([] { throw std::runtime_error("plain"); }));
    EXPECT_FALSE(app.Guard([] { throw 42; }));
    ASSERT_EQ(g_boxes.size(), 4u);
    EXPECT_EQ(g_boxes[0].text, "Invalid data type for 'Count'");
    EXPECT_EQ(g_boxes[1].text, "Cannot create file C:\\a.ini.");
    EXPECT_EQ(g_boxes[2].text, "plain.");
    EXPECT_EQ(g_boxes[3].text, "");
}

// A window whose command handler fails: the error ends at the report, not in
// the caller of SendMessage.
class FailingWindow : public Window {
  public:
    int commands = 0;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_COMMAND) {
            ++commands;
            throw RegistryError("Failed to set data for 'Place3'");
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
};

TEST_F(ApplicationReport, AnErrorInAWindowHandlerIsReportedAndTheWindowStays) {
    FailingWindow window;
    WindowArgs args;
    args.className = "VelbrookTestFailing";
    args.caption = "failing";
    args.designClient = {200, 100};
    window.Create(args);
    ASSERT_NE(window.hwnd(), nullptr);
    EXPECT_EQ(SendMessageA(window.hwnd(), WM_COMMAND, IDOK, 0), 0);
    EXPECT_EQ(SendMessageA(window.hwnd(), WM_COMMAND, IDOK, 0), 0);
    EXPECT_EQ(window.commands, 2);
    ASSERT_EQ(g_boxes.size(), 2u);
    EXPECT_EQ(g_boxes[1].text, "Failed to set data for 'Place3'");
    EXPECT_TRUE(IsWindow(window.hwnd()));
}

// The real MessageBoxA, read and answered from a CBT hook when it activates.
struct RealBox {
    bool seen = false;
    std::string caption, text;
    bool ownerDisabled = false, otherDisabled = false;
    HWND box = nullptr;
};
RealBox* g_real = nullptr;
HHOOK g_cbt = nullptr;

LRESULT CALLBACK AnswerBox(int code, WPARAM wParam, LPARAM lParam) {
    const HWND window = reinterpret_cast<HWND>(wParam);
    char className[32] = {};
    if (code == HCBT_ACTIVATE && g_real != nullptr && !g_real->seen &&
        GetClassNameA(window, className, sizeof className) && std::string(className) == "#32770") {
        RealBox& r = *g_real;
        r.seen = true;
        r.box = window;
        char buffer[256] = {};
        GetWindowTextA(window, buffer, sizeof buffer);
        r.caption = buffer;
        GetDlgItemTextA(window, 0xFFFF, buffer, sizeof buffer); // the message text
        r.text = buffer;
        const HWND owner = GetWindow(window, GW_OWNER);
        r.ownerDisabled = owner != nullptr && !IsWindowEnabled(owner);
        r.otherDisabled = !IsWindowEnabled(g_other);
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(g_cbt, code, wParam, lParam);
}

// Closes a box that the hook missed so that a failing test cannot hang.
void CALLBACK CloseForgottenBox(HWND, UINT, UINT_PTR, DWORD) {
    if (g_real != nullptr && g_real->box != nullptr)
        PostMessageA(g_real->box, WM_COMMAND, IDOK, 0);
}

TEST_F(ApplicationReport, TheRealBoxDisablesTheOwnerAndTheOtherWindowsWhileItShows) {
    Application& app = Application::Instance();
    app.SetMessageBoxFunction(nullptr);
    RealBox real;
    g_real = &real;
    g_cbt = SetWindowsHookExA(WH_CBT, &AnswerBox, nullptr, GetCurrentThreadId());
    ASSERT_NE(g_cbt, nullptr);
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, &CloseForgottenBox);
    app.ReportError("Cannot create file C:\\x.ini");
    KillTimer(nullptr, watchdog);
    UnhookWindowsHookEx(g_cbt);
    g_real = nullptr;

    ASSERT_TRUE(real.seen);
    EXPECT_EQ(real.caption, "Velbrook");
    EXPECT_EQ(real.text, "Cannot create file C:\\x.ini.");
    EXPECT_TRUE(real.ownerDisabled);
    EXPECT_TRUE(real.otherDisabled);
    EXPECT_TRUE(IsWindowEnabled(active_));
    EXPECT_TRUE(IsWindowEnabled(g_other));
}

} // namespace
} // namespace velbrook::ui
