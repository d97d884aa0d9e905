#include "main_window_fixture.h"

#include <windowsx.h>

#include <fstream>
#include <sstream>

#include "support/win32/shell.h"

namespace velbrook::testing {

std::string TempFile(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + name;
    DeleteFileA(path.c_str());
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> MainWindowTest::reports;

namespace {

struct DialogScript {
    std::vector<MainWindowTest::DialogAnswer> answers;
    std::size_t next = 0;
    HWND answered = nullptr; // still up after its answer
    int ticks = 0;
};
DialogScript* g_script = nullptr;
constexpr UINT kDialogPollMs = 20;
constexpr int kDialogPatienceTicks = 500; // 10 seconds

BOOL CALLBACK FindEnabledDialog(HWND window, LPARAM found) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && IsWindowVisible(window) && IsWindowEnabled(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript& script = *g_script;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindEnabledDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr)
        return;
    char caption[128] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    if (dialog == script.answered) {
        if (++script.ticks == kDialogPatienceTicks) {
            ADD_FAILURE() << "dialog \"" << caption << "\" stayed after its answer";
            EndDialog(dialog, IDCANCEL);
        }
        return;
    }
    script.answered = dialog;
    script.ticks = 0;
    if (script.next >= script.answers.size()) {
        ADD_FAILURE() << "unexpected dialog \"" << caption << "\"";
        EndDialog(dialog, IDCANCEL);
        return;
    }
    script.answers[script.next++](dialog);
}

int WINAPI RecordReport(HWND, LPCSTR text, LPCSTR caption, UINT flags) {
    EXPECT_STREQ(caption, "Velbrook");
    EXPECT_EQ(flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    MainWindowTest::reports.push_back(text);
    return IDOK;
}

} // namespace

void MainWindowTest::SetUp() {
    RegistryTest::SetUp();
    reports.clear();
    dialogsScope_ = std::make_unique<DialogsScope>(dialogs);
    ui::Application& app = ui::Application::Instance();
    app.Initialize();
    app.SetMessageBoxFunction(&RecordReport);
}

void MainWindowTest::TearDown() {
    window_.reset();
    Pump();
    ui::Application::Instance().SetMessageBoxFunction(nullptr);
    ui::Application::Instance().SetMainWindow(nullptr);
    dialogsScope_.reset();
    RegistryTest::TearDown();
}

void MainWindowTest::Open() {
    window_ = std::make_unique<ui::MainWindow>();
    window_->Create();
    ui::Application::Instance().SetMainWindow(window_->hwnd());
    window_->Show();
    Pump();
}

void MainWindowTest::Pump() {
    ui::Application& app = ui::Application::Instance();
    MSG msg{};
    for (int i = 0; i < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); ++i)
        app.ProcessMessage(msg); // a WM_QUIT after the window closed is taken and dropped
}

void MainWindowTest::ClickImageButton(Part button, int dx, int dy) {
    const RECT r = window_->ImageButtonOf(button).Bounds();
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2 + dx, (r.top + r.bottom) / 2 + dy);
    SendMessageA(window_->hwnd(), WM_MOUSEMOVE, 0, at);
    SendMessageA(window_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(window_->hwnd(), WM_LBUTTONUP, 0, at);
    Pump();
}

void MainWindowTest::MouseDownAt(Part part, UINT message) {
    const RECT r = window_->PlacedRect(part);
    SendMessageA(window_->hwnd(), message, 0, MAKELPARAM(r.left + 2, r.top + 2));
    Pump();
}

void MainWindowTest::SelectRow(int row) {
    LVITEMA item{};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(List().Handle(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void MainWindowTest::Press(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    Pump();
}

void MainWindowTest::PressWithCtrl(HWND target, WPARAM key) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    const BYTE before = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Press(target, key);
    keys[VK_CONTROL] = before;
    SetKeyboardState(keys);
}

std::vector<HWND> MainWindowTest::TabOrder() {
    std::vector<HWND> order;
    const HWND first = GetNextDlgTabItem(window_->hwnd(), nullptr, FALSE);
    for (HWND at = first; at != nullptr && order.size() < 20;) {
        order.push_back(at);
        at = GetNextDlgTabItem(window_->hwnd(), at, FALSE);
        if (at == first)
            break;
    }
    return order;
}

void MainWindowTest::WithDialogs(const std::function<void()>& action,
                                 std::vector<DialogAnswer> answers) {
    DialogScript script{std::move(answers)};
    g_script = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, kDialogPollMs, &AnswerDialog);
    action();
    Pump();
    KillTimer(nullptr, timer);
    g_script = nullptr;
    EXPECT_EQ(script.next, script.answers.size()) << "dialogs answered";
}

void MainWindowTest::UseRealDialogs() {
    SetActiveDialogs(&PlatformDialogs());
    ui::Application::Instance().SetMessageBoxFunction(nullptr);
}

int MainWindowTest::MeasuredDesignTextHeight(int dpi) {
    LOGFONTA tahoma{};
    tahoma.lfHeight = -MulDiv(8, dpi, 72);
    tahoma.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(tahoma.lfFaceName, "Tahoma");
    const HFONT font = CreateFontIndirectA(&tahoma);
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(screen, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    DeleteObject(font);
    return metrics.tmHeight;
}

void MainWindowTest::ChooseScheme(int index) {
    const HWND combo = Item(ui::design::kIdSchemeBox);
    SendMessageA(combo, CB_SETCURSEL, index, 0);
    SendMessageA(window_->hwnd(), WM_COMMAND, MAKEWPARAM(ui::design::kIdSchemeBox, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    Pump();
}

void MainWindowTest::DoubleClickList() {
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = List().Handle();
    activate.hdr.idFrom = ui::design::kIdPlacesList;
    activate.hdr.code = NM_DBLCLK;
    activate.iItem = List().SelectedIndex();
    SendMessageA(window_->hwnd(), WM_NOTIFY, ui::design::kIdPlacesList,
                 reinterpret_cast<LPARAM>(&activate));
    Pump();
}

HWND MainWindowTest::Editor() {
    return reinterpret_cast<HWND>(SendMessageA(List().Handle(), LVM_GETEDITCONTROL, 0, 0));
}

std::vector<std::string> MainWindowTest::Labels() {
    std::vector<std::string> labels;
    for (int row = 0; row < List().RowCount(); ++row)
        labels.push_back(List().SubItemText(row, 1));
    return labels;
}

std::vector<std::string> MainWindowTest::SchemeNames() {
    std::vector<std::string> names;
    for (int i = 0; i < window_->Schemes().Count(); ++i)
        names.push_back(window_->Schemes().Name(i));
    return names;
}

void MainWindowTest::CloseBy(const std::string& route) {
    if (route == "Ok")
        SendMessageA(Item(ui::design::kIdOk), BM_CLICK, 0, 0);
    else if (route == "Cancel")
        SendMessageA(Item(ui::design::kIdCancel), BM_CLICK, 0, 0);
    else if (route == "Esc")
        Press(GetFocus(), VK_ESCAPE);
    else if (route == "close box")
        PostMessageA(Window().hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    else if (route == "session end") // Windows ends the process then, the window still open
        for (const UINT message : {WM_QUERYENDSESSION, WM_ENDSESSION})
            SendMessageA(Window().hwnd(), message, TRUE, 0);
    else
        PostMessageA(Window().hwnd(), WM_CLOSE, 0, 0);
    Pump();
}

void MainWindowTest::StoreSchemes(const std::vector<std::pair<std::string, PlacesList>>& schemes) {
    OrderedSchemeList list;
    for (const auto& [name, places] : schemes)
        list.Add(name, std::make_unique<PlacesList>(places));
    SaveSchemes(list);
}

std::vector<std::pair<std::string, PlacesList>> MainWindowTest::StoredSchemes() {
    OrderedSchemeList list;
    LoadSchemes(list, {.consumePendingEdits = false});
    std::vector<std::pair<std::string, PlacesList>> schemes;
    for (int i = 0; i < list.Count(); ++i)
        schemes.emplace_back(list.Name(i), list.Places(i));
    return schemes;
}

} // namespace velbrook::testing
