#include "support/win32/input_query.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace velbrook::win32 {
namespace {

// What the box showed, read when it is activated, and the keys then sent to it.
struct Session {
    std::string typed;   // characters posted to the edit
    WPARAM finalKey = 0; // VK_RETURN or VK_ESCAPE
    bool seen = false;
    bool keySeen = false;
    bool timedOut = false;
    HWND dialog = nullptr;
    std::string caption, prompt, editText, editFace;
    std::vector<std::string> buttons;
    DWORD selStart = 0, selEnd = 0;
    LRESULT limit = 0, defId = 0;
    RECT dialogRect{};
};

Session* g_session = nullptr;
HHOOK g_hook = nullptr;
HHOOK g_keysHook = nullptr;

// The selection as the user's first keystroke finds it.
LRESULT CALLBACK WatchFirstKey(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && g_session != nullptr && !g_session->keySeen &&
        (msg->message == WM_CHAR || msg->message == WM_KEYDOWN)) {
        g_session->keySeen = true;
        SendMessageA(msg->hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&g_session->selStart),
                     reinterpret_cast<LPARAM>(&g_session->selEnd));
    }
    return CallNextHookEx(g_keysHook, code, wParam, lParam);
}

std::string TextOf(HWND window) {
    char buffer[512] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

// Reads the box once its WM_INITDIALOG has run, whether or not it gets activated.
LRESULT CALLBACK WatchBox(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    const HWND window = call->hwnd;
    char className[32] = {};
    if (code == HC_ACTION && call->message == WM_INITDIALOG && g_session != nullptr &&
        !g_session->seen && GetClassNameA(window, className, sizeof className) &&
        std::string(className) == "#32770") {
        Session& s = *g_session;
        s.seen = true;
        s.dialog = window;
        s.caption = TextOf(window);
        HWND edit = nullptr;
        for (HWND child = GetWindow(window, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            GetClassNameA(child, className, sizeof className);
            if (_stricmp(className, "Edit") == 0)
                edit = child;
            else if (_stricmp(className, "Static") == 0)
                s.prompt = TextOf(child);
            else if (_stricmp(className, "Button") == 0)
                s.buttons.push_back(TextOf(child));
        }
        if (edit != nullptr) {
            s.editText = TextOf(edit);
            s.limit = SendMessageA(edit, EM_GETLIMITTEXT, 0, 0);
            LOGFONTA font{};
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), sizeof font,
                       &font);
            s.editFace = font.lfFaceName;
            for (char c : s.typed)
                PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
            PostMessageA(edit, WM_KEYDOWN, s.finalKey, 1);
        }
        s.defId = SendMessageA(window, DM_GETDEFID, 0, 0);
        GetWindowRect(window, &s.dialogRect);
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

// Ends a box that was never answered so that a failing test cannot hang.
void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) {
    if (g_session != nullptr && g_session->dialog != nullptr) {
        g_session->timedOut = true;
        EndDialog(g_session->dialog, IDCANCEL);
    }
}

class InputQueryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        owner_ = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE | WS_CAPTION, 100, 80,
                                 600, 400, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        g_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &WatchBox, nullptr, GetCurrentThreadId());
        ASSERT_NE(g_hook, nullptr);
        g_keysHook =
            SetWindowsHookExA(WH_GETMESSAGE, &WatchFirstKey, nullptr, GetCurrentThreadId());
        ASSERT_NE(g_keysHook, nullptr);
        timer_ = SetTimer(nullptr, 0, 10000, &Watchdog);
    }
    void TearDown() override {
        KillTimer(nullptr, timer_);
        UnhookWindowsHookEx(g_hook);
        UnhookWindowsHookEx(g_keysHook);
        g_session = nullptr;
        DestroyWindow(owner_);
    }
    bool Ask(Session& session, const std::string& caption, const std::string& prompt,
             std::string& value) {
        g_session = &session;
        return InputQueryBox(owner_, caption, prompt, value);
    }

    HWND owner_ = nullptr;
    UINT_PTR timer_ = 0;
};

TEST_F(InputQueryTest, ShowsThePresetSelectedAndReturnsTheTypedTextOnEnter) {
    Session s;
    s.typed = "Work";
    s.finalKey = VK_RETURN;
    std::string value = "Old name";
    EXPECT_TRUE(Ask(s, "Add scheme", "Scheme name:", value));
    ASSERT_TRUE(s.seen);
    EXPECT_FALSE(s.timedOut);
    EXPECT_EQ(s.caption, "Add scheme");
    EXPECT_EQ(s.prompt, "Scheme name:");
    EXPECT_EQ(s.editText, "Old name");
    EXPECT_EQ(s.selStart, 0u);
    EXPECT_EQ(s.selEnd, 8u);
    EXPECT_EQ(s.limit, 255);
    EXPECT_EQ(s.defId, MAKELRESULT(IDOK, DC_HASDEFID));
    EXPECT_EQ(s.buttons, (std::vector<std::string>{"OK", "Cancel"}));
    EXPECT_EQ(value, "Work"); // typing replaced the whole selection

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    EXPECT_EQ(s.editFace, metrics.lfMessageFont.lfFaceName);

    RECT owner{};
    GetWindowRect(owner_, &owner);
    EXPECT_NEAR((s.dialogRect.left + s.dialogRect.right) / 2, (owner.left + owner.right) / 2, 1);
    EXPECT_NEAR((s.dialogRect.top + s.dialogRect.bottom) / 2, (owner.top + owner.bottom) / 2, 1);
}

TEST_F(InputQueryTest, EscapeCancelsAndLeavesTheValueAlone) {
    Session s;
    s.typed = "Typed but cancelled";
    s.finalKey = VK_ESCAPE;
    std::string value = "Keep me";
    EXPECT_FALSE(Ask(s, "Caption", "Prompt", value));
    EXPECT_TRUE(s.seen);
    EXPECT_FALSE(s.timedOut);
    EXPECT_EQ(value, "Keep me");
}

TEST_F(InputQueryTest, TypingStopsAt255CharactersAndAnEmptyAnswerIsAnAnswer) {
    Session longTyping;
    longTyping.typed = std::string(300, 'x');
    longTyping.finalKey = VK_RETURN;
    std::string value;
    EXPECT_TRUE(Ask(longTyping, "C", "P", value));
    EXPECT_EQ(value, std::string(255, 'x'));

    Session empty;
    empty.finalKey = VK_RETURN;
    std::string cleared;
    EXPECT_TRUE(Ask(empty, "C", "P", cleared));
    EXPECT_TRUE(empty.seen);
    EXPECT_EQ(cleared, "");
}

} // namespace
} // namespace velbrook::win32
