#include "ui/window.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/application.h"
#include "ui/scaling.h"

namespace velbrook::ui {
namespace {

constexpr int kListId = 10;
constexpr int kRadioId = 11;

// A small window in the shape of the main one: a stretching edit, a radio button
// with an accelerator, and OK / Cancel at the bottom right.
class TestWindow : public Window {
  public:
    std::vector<int> commands;
    int okClicks = 0;

    void Build(int textHeight, bool centred = false) {
        WindowArgs args;
        args.centred = centred;
        args.className = "VelbrookTestWindow";
        args.caption = "test";
        args.designClient = {534, 359};
        args.minimumOuter = {550, 395};
        args.textHeight = textHeight;
        Create(args);
        list = AddControl({"EDIT",
                           "",
                           WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP,
                           0,
                           kListId,
                           {88, 112, 403, 141},
                           layout::kAnchorAll});
        radio = AddControl({"BUTTON",
                            "Use &default buttons",
                            WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | WS_TABSTOP,
                            0,
                            kRadioId,
                            {88, 68, 389, 17},
                            layout::kAnchorLeftTop});
        ok = AddControl({"BUTTON",
                         "Ok",
                         WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP,
                         0,
                         IDOK,
                         {341, 327, 90, 25},
                         layout::kAnchorRight | layout::kAnchorBottom});
        cancel = AddControl({"BUTTON",
                             "Cancel",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                             0,
                             IDCANCEL,
                             {433, 327, 90, 25},
                             layout::kAnchorRight | layout::kAnchorBottom});
    }
    void btnOkClick() { ++okClicks; }

    HWND list = nullptr, radio = nullptr, ok = nullptr, cancel = nullptr;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        static constexpr CommandRoute<TestWindow> kRoutes[] = {
            {IDOK, BN_CLICKED, &TestWindow::btnOkClick},
        };
        if (message == WM_COMMAND) {
            if (HIWORD(wParam) == BN_CLICKED)
                commands.push_back(LOWORD(wParam));
            RouteCommand(*this, kRoutes, LOWORD(wParam), HIWORD(wParam));
            return 0;
        }
        return Window::HandleMessage(message, wParam, lParam);
    }
};

layout::Rect ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

layout::Size ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.Build(13);
        ShowWindow(window.hwnd(), SW_SHOW);
        SetForegroundWindow(window.hwnd());
        Application::Instance().SetMainWindow(window.hwnd());
    }
    void TearDown() override { Application::Instance().SetMainWindow(nullptr); }

    // Sends a keystroke to the focused control through the application's loop.
    void Key(UINT message, WPARAM key) {
        PostMessageA(GetFocus(), message, key, 1);
        PostMessageA(window.hwnd(), WM_APP, 0, 0);
        MSG msg{};
        while (Application::Instance().ProcessMessage(msg))
            if (msg.message == WM_APP && msg.hwnd == window.hwnd())
                break;
    }

    TestWindow window;
};

TEST_F(WindowTest, CreatesTheDesignClientSizeWithControlsAtTheirPlaces) {
    EXPECT_EQ(ClientSize(window.hwnd()), (layout::Size{534, 359}));
    EXPECT_EQ(ChildRect(window.list), (layout::Rect{88, 112, 403, 141}));
    EXPECT_EQ(ChildRect(window.ok), (layout::Rect{341, 327, 90, 25}));
}

TEST_F(WindowTest, ResizingMovesAndStretchesControlsByTheirAnchors) {
    RECT outer{};
    GetWindowRect(window.hwnd(), &outer);
    SetWindowPos(window.hwnd(), nullptr, 0, 0, outer.right - outer.left + 100,
                 outer.bottom - outer.top + 50, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(ClientSize(window.hwnd()), (layout::Size{634, 409}));
    EXPECT_EQ(ChildRect(window.list), (layout::Rect{88, 112, 503, 191}));
    EXPECT_EQ(ChildRect(window.radio), (layout::Rect{88, 68, 389, 17}));
    EXPECT_EQ(ChildRect(window.ok), (layout::Rect{441, 377, 90, 25}));
    EXPECT_EQ(ChildRect(window.cancel), (layout::Rect{533, 377, 90, 25}));
}

TEST_F(WindowTest, RefusesToBeSmallerThanTheMinimumOuterSize) {
    MINMAXINFO info{};
    SendMessageA(window.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 550);
    EXPECT_EQ(info.ptMinTrackSize.y, 395);
    SetWindowPos(window.hwnd(), nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
    RECT outer{};
    GetWindowRect(window.hwnd(), &outer);
    EXPECT_EQ(outer.right - outer.left, 550);
    EXPECT_EQ(outer.bottom - outer.top, 395);
}

TEST_F(WindowTest, EnterPressesTheDefaultButtonAndEscapeCancel) {
    SetFocus(window.list);
    ASSERT_EQ(GetFocus(), window.list);
    Key(WM_KEYDOWN, VK_RETURN);
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(window.commands, (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(window.okClicks, 1) << "routed through the command table";

    window.commands.clear();
    SendMessageA(window.hwnd(), DM_SETDEFID, IDCANCEL, 0);
    EXPECT_EQ(window.DefaultId(), IDCANCEL);
    Key(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(window.commands, (std::vector<int>{IDCANCEL}));
}

TEST_F(WindowTest, TabFollowsTheCreationOrderAndAltLetterFindsItsControl) {
    SetFocus(window.list);
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), window.radio);
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), window.ok);
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), window.cancel);
    Key(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), window.list);

    EXPECT_EQ(SendMessageA(window.radio, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Key(WM_SYSCHAR, 'd');
    EXPECT_EQ(GetFocus(), window.radio);
    EXPECT_EQ(SendMessageA(window.radio, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(WindowTest, NextDialogControlMovesFocusForwardBackAndToAGivenControl) {
    SetWindowTextA(window.list, "some text");
    SetFocus(window.ok);
    SendMessageA(window.hwnd(), WM_NEXTDLGCTL, 0, 0);
    EXPECT_EQ(GetFocus(), window.cancel);
    SendMessageA(window.hwnd(), WM_NEXTDLGCTL, 1, 0);
    EXPECT_EQ(GetFocus(), window.ok);
    SendMessageA(window.hwnd(), WM_NEXTDLGCTL, 1, 0);
    SendMessageA(window.hwnd(), WM_NEXTDLGCTL, 1, 0);
    ASSERT_EQ(GetFocus(), window.list);
    DWORD start = 1, end = 0;
    SendMessageA(window.list, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 9u) << "an edit reached by keyboard has its text selected";

    SendMessageA(window.hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(window.cancel), TRUE);
    EXPECT_EQ(GetFocus(), window.cancel);

    TestWindow other;
    other.Build(13);
    SendMessageA(window.hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(other.ok), TRUE);
    EXPECT_EQ(GetFocus(), window.cancel) << "a control of another window is not taken";
}

TEST(WindowScale, ATallerTextScalesSizesAndMinimum) {
    TestWindow window;
    window.Build(20); // kept within the 1024 by 768 test screen
    EXPECT_EQ(ClientSize(window.hwnd()), (layout::Size{822, 552}));
    EXPECT_EQ(ChildRect(window.ok), (layout::Rect{525, 503, 138, 39})); // edges scaled
    EXPECT_EQ(window.ScaledMinimumOuter(), (layout::Size{846, 608}));
}

TEST(WindowLifetime, DestroyingTheMainWindowEndsTheLoop) {
    TestWindow window;
    window.Build(13);
    Application& app = Application::Instance();
    app.SetMainWindow(window.hwnd());
    PostMessageA(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(window.hwnd(), nullptr);
    EXPECT_EQ(app.MainWindow(), nullptr);
}

void ExpectCentredOnWorkArea(HWND window) {
    RECT work{}, outer{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(window, &outer);
    EXPECT_NEAR(outer.left - work.left, work.right - outer.right, 1);
    EXPECT_NEAR(outer.top - work.top, work.bottom - outer.bottom, 1);
}

TEST(WindowHelpers, CentresOnTheWorkAreaAndMeasuresFonts) {
    TestWindow madeCentred;
    madeCentred.Build(13, true);
    ExpectCentredOnWorkArea(madeCentred.hwnd());
    DestroyWindow(madeCentred.hwnd());

    TestWindow window;
    window.Build(13);
    CenterOnWorkArea(window.hwnd());
    ExpectCentredOnWorkArea(window.hwnd());

    LOGFONTA tahoma{};
    tahoma.lfHeight = -11;
    lstrcpyA(tahoma.lfFaceName, "Tahoma");
    const HFONT font = CreateFontIndirectA(&tahoma);
    EXPECT_GE(FontTextHeight(font), 11);
    EXPECT_LE(FontTextHeight(font), 15);
    window.SetFont(font);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(window.ok, WM_GETFONT, 0, 0)), font);
    DestroyWindow(window.hwnd());
    DeleteObject(font);
}

} // namespace
} // namespace velbrook::ui
