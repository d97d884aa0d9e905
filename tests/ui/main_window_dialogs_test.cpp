// The real dialogs the window shows: complete texts, owned by the window, Enter
// and Esc doing what they say; the focus and the buttons' hot look afterwards.
#include "main_window_fixture.h"

#include <algorithm>
#include <fstream>

namespace velbrook::testing {
namespace {

// A dialog as the user finds it.
struct DialogView {
    HWND owner = nullptr;
    std::string caption;
    std::vector<std::string> texts; // of the visible buttons and text labels
    std::vector<std::string> blank; // the visible ones among them without a text
    int defaultId = 0;

    bool Shows(const std::string& text) const {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
};

std::string TextOf(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool HasCaption(HWND control) {
    char className[32] = {};
    GetClassNameA(control, className, sizeof className);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    if (lstrcmpiA(className, "Button") == 0)
        return (style & BS_TYPEMASK) != BS_OWNERDRAW && (style & (BS_BITMAP | BS_ICON)) == 0;
    if (lstrcmpiA(className, "Static") == 0) {
        const DWORD type = style & SS_TYPEMASK;
        return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
               type == SS_LEFTNOWORDWRAP;
    }
    return false;
}

BOOL CALLBACK ReadControl(HWND control, LPARAM view) {
    auto& v = *reinterpret_cast<DialogView*>(view);
    if (!IsWindowVisible(control) || !HasCaption(control))
        return TRUE;
    const std::string text = TextOf(control);
    v.texts.push_back(text);
    if (text.find_first_not_of(" &") == std::string::npos)
        v.blank.push_back("control " + std::to_string(GetDlgCtrlID(control)));
    return TRUE;
}

DialogView Read(HWND dialog) {
    DialogView view;
    view.owner = GetWindow(dialog, GW_OWNER);
    view.caption = TextOf(dialog);
    const LRESULT id = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    view.defaultId = HIWORD(id) == DC_HASDEFID ? LOWORD(id) : 0;
    EnumChildWindows(dialog, ReadControl, reinterpret_cast<LPARAM>(&view));
    return view;
}

// A key as the user types it into the dialog's focused control.
void Key(WPARAM key) {
    PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageA(GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The file name box of the file dialog (dlgs.h: cmb13, and edt1 of older ones).
constexpr int kFileNameCombo = 0x047c;
constexpr int kFileNameEdit = 0x0480;

HWND EditOf(HWND dialog) {
    return FindWindowExA(dialog, nullptr, "Edit", nullptr);
}

// Reads the dialog into `view`, then ends it with `end`.
MainWindowTest::DialogAnswer ReadThen(DialogView& view, std::function<void(HWND)> end) {
    return [&view, end](HWND dialog) {
        view = Read(dialog);
        end(dialog);
    };
}

class MainWindowDialogs : public MainWindowTest {};

TEST_F(MainWindowDialogs, EveryDialogIsCompleteAndOwnedByTheWindow) {
    StorePlaces({"C:\\", "", "", "", ""});
    const std::string file =
        std::string(getenv("TEMP") ? getenv("TEMP") : "C:\\") + "\\velbrook dialogs test.ini";
    std::ofstream(file) << "[Places]\r\n";
    Open();
    UseRealDialogs();
    const HWND main = Window().hwnd();
    ASSERT_EQ(GetFocus(), List().Handle());

    // The input dialog: Esc cancels, a typed name and Enter add a scheme.
    DialogView input;
    WithDialogs([&] { ClickImageButton(Part::AddSchemeButton); },
                {ReadThen(input, [](HWND) { Key(VK_ESCAPE); })});
    EXPECT_EQ(input.caption, "Quick adjust scheme");
    EXPECT_TRUE(input.Shows("Enter a name of the scheme"));
    EXPECT_TRUE(input.Shows("OK") && input.Shows("Cancel"));
    EXPECT_EQ(input.blank, std::vector<std::string>{});
    EXPECT_EQ(input.owner, main);
    EXPECT_EQ(input.defaultId, IDOK);
    EXPECT_TRUE(SchemeNames().empty());
    WithDialogs([&] { ClickImageButton(Part::AddSchemeButton); }, {[](HWND dialog) {
                    SetWindowTextA(EditOf(dialog), "Typed");
                    Key(VK_RETURN);
                }});
    EXPECT_EQ(SchemeNames(), (std::vector<std::string>{"Typed"}));
    EXPECT_EQ(GetFocus(), List().Handle());

    // The Delete confirmation: Esc keeps the scheme, Enter (OK) deletes it.
    DialogView confirm;
    WithDialogs([&] { ClickImageButton(Part::DeleteSchemeButton); },
                {ReadThen(confirm, [](HWND) { Key(VK_ESCAPE); })});
    EXPECT_EQ(confirm.caption, "Confirmation");
    EXPECT_TRUE(confirm.Shows("Delete scheme \"Typed\"?"));
    EXPECT_TRUE(confirm.Shows("OK") && confirm.Shows("Cancel"));
    EXPECT_EQ(confirm.blank, std::vector<std::string>{});
    EXPECT_EQ(confirm.owner, main);
    EXPECT_EQ(SchemeNames().size(), 1u);
    WithDialogs([&] { ClickImageButton(Part::DeleteSchemeButton); },
                {[](HWND) { Key(VK_RETURN); }});
    EXPECT_TRUE(SchemeNames().empty());

    // The folder browser.
    SelectRow(0);
    DialogView browser;
    WithDialogs([&] { ClickImageButton(Part::ChangeButton); },
                {ReadThen(browser, [](HWND dialog) { Click(dialog, IDCANCEL); })});
    EXPECT_EQ(browser.owner, main);
    EXPECT_TRUE(browser.Shows("Select a folder"));
    EXPECT_EQ(browser.blank, std::vector<std::string>{});
    EXPECT_EQ(Rows()[0], "C:\\");

    // The file dialog, naming a file that exists, and the question before overwriting it.
    DialogView open, overwrite;
    WithDialogs([&] { ClickImageButton(Part::SaveButton); },
                {ReadThen(open,
                          [&](HWND dialog) {
                              SetDlgItemTextA(dialog, kFileNameCombo, file.c_str());
                              SetDlgItemTextA(dialog, kFileNameEdit, file.c_str());
                              Click(dialog, IDOK);
                          }),
                 ReadThen(overwrite, [](HWND dialog) { Click(dialog, IDNO); })});
    EXPECT_EQ(open.owner, main);
    EXPECT_FALSE(open.caption.empty());
    EXPECT_EQ(open.blank, std::vector<std::string>{});
    EXPECT_EQ(overwrite.caption, "Confirmation");
    EXPECT_TRUE(overwrite.Shows("Do you wish to overwrite \"" + file + "\"?"));
    EXPECT_TRUE(overwrite.Shows("&Yes") || overwrite.Shows("Yes"));
    EXPECT_EQ(overwrite.blank, std::vector<std::string>{});
    EXPECT_EQ(overwrite.owner, main);
    std::ifstream kept(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "[Places]\r\n");
    kept.close();
    DeleteFileA(file.c_str());

    // The error report of a failed write.
    // The default buttons chosen make OK a change, which first keeps Place0 for undoing.
    SendMessageA(Item(ui::design::kIdDefaultRadio), BM_CLICK, 0, 0);
    store.FailWriteOf("Place0");
    DialogView report;
    WithDialogs([&] { SendMessageA(Item(ui::design::kIdOk), BM_CLICK, 0, 0); },
                {ReadThen(report, [](HWND) { Key(VK_RETURN); })});
    EXPECT_EQ(report.caption, "Velbrook");
    EXPECT_TRUE(report.Shows("Failed to set data for 'Place0'"));
    EXPECT_TRUE(report.Shows("OK"));
    EXPECT_EQ(report.blank, std::vector<std::string>{});
    EXPECT_EQ(report.owner, main);
    EXPECT_TRUE(IsOpen());
    EXPECT_EQ(GetFocus(), Item(ui::design::kIdOk)) << "the clicked button kept the focus";
}

TEST_F(MainWindowDialogs, FocusComesBackToTheControlThatHadIt) {
    StorePlaces({"", "", "C:\\Two", "", ""});
    Open();
    UseRealDialogs();
    SelectRow(2);
    WithDialogs([&] { Press(List().Handle(), VK_INSERT); }, {[](HWND) { Key(VK_ESCAPE); }});
    ASSERT_EQ(GetFocus(), List().Handle());
    Press(List().Handle(), VK_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(TextOf(Editor()), "C:\\Two");
    Press(Editor(), VK_ESCAPE);

    // Another window activated and this one again, as Alt+Tab does.
    SetFocus(Item(ui::design::kIdSchemeBox));
    const HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0,
                                       0, 100, 80, nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    Pump();
    ASSERT_NE(GetFocus(), Item(ui::design::kIdSchemeBox));
    SetActiveWindow(Window().hwnd());
    Pump();
    EXPECT_EQ(GetFocus(), Item(ui::design::kIdSchemeBox));
    DestroyWindow(other);
}

TEST_F(MainWindowDialogs, ADialogEndsTheHotLookOfItsButton) {
    Open();
    UseRealDialogs();
    bool hotWhileUp = true;
    WithDialogs([&] { ClickImageButton(Part::AddSchemeButton); }, {[&](HWND) {
                    hotWhileUp = Window().ImageButtonOf(Part::AddSchemeButton).Hot();
                    Key(VK_ESCAPE);
                }});
    EXPECT_FALSE(hotWhileUp);
    EXPECT_FALSE(Window().ImageButtonOf(Part::AddSchemeButton).Hot());
}

} // namespace
} // namespace velbrook::testing
