// The commands from the keyboard and for screen readers: each shortcut does what
// its button does and its hint names it, the Tab order holds, and the
// accessible children list every command with its name and state.
#include "main_window_fixture.h"

#include <fstream>
#include <map>
#include <sstream>

#include <oleacc.h>

namespace velbrook::testing {
namespace {

using ui::design::kIdSchemeBox;

std::string Narrow(BSTR text) {
    char buffer[512] = {};
    if (text != nullptr)
        WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    SysFreeString(text);
    return buffer;
}

class MainWindowKeyboard : public MainWindowTest {
  protected:
    std::string file;

    // Three rows with the second selected, a scheme chosen by the program (no
    // handler ran), dialogs that answer the same each time.
    void OpenPrepared() {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        file = std::string(folder) + "velbrook shortcut test.ini";
        DeleteFileA(file.c_str());
        store.Clear();
        StorePlaces({"C:\\A", "C:\\B", "C:\\C", "", ""});
        StoreSchemes({{"Work", {"C:\\W", "", "", "", ""}}});
        dialogs = ScriptedDialogs();
        dialogs.folderAnswers = {"C:\\Changed"};
        dialogs.inputAnswers = {"Added"};
        dialogs.fileNameAnswers = {file};
        Open();
        SendMessageA(Item(kIdSchemeBox), CB_SETCURSEL, 0, 0);
        SelectRow(1);
    }

    // What a command may change, as the user sees it.
    std::string Outcome() {
        std::ostringstream o;
        for (const std::string& row : Rows())
            o << "[" << row << "]";
        o << " row " << List().SelectedIndex() << ", schemes";
        for (const std::string& name : SchemeNames())
            o << " [" << name << "]";
        std::ifstream saved(file, std::ios::binary);
        o << " chosen " << Window().Schemes().Selected() << ", custom "
          << Checked(ui::design::kIdCustomRadio) << ", dialogs " << dialogs.browseTitles.size()
          << dialogs.inputPresets.size() << dialogs.messages.size() << ", file " << saved.rdbuf();
        return o.str();
    }
};

TEST_F(MainWindowKeyboard, EachShortcutDoesWhatItsButtonDoesAndItsHintSaysSo) {
    const struct {
        Part button;
        WPARAM key;
        bool ctrl, inSchemeBox;
        const char* hint;
    } shortcuts[] = {
        {Part::ChangeButton, VK_F4, false, false, "Change selected item (F4)"},
        {Part::ClearButton, VK_DELETE, false, false, "Clear selected item (Del)"},
        {Part::MoveUpButton, VK_UP, true, false, "Move up (Ctrl+Up)"},
        {Part::MoveDownButton, VK_DOWN, true, false, "Move down (Ctrl+Down)"},
        {Part::SaveButton, 'S', true, false, "Save scheme (Ctrl+S)"},
        {Part::AddSchemeButton, VK_INSERT, false, false, "Add to quick adjust scheme (Ins)"},
        {Part::DeleteSchemeButton, VK_DELETE, false, true, "Delete quick adjust scheme (Del)"},
    };
    for (const auto& shortcut : shortcuts) {
        SCOPED_TRACE(shortcut.hint);
        OpenPrepared();
        EXPECT_EQ(Window().ImageButtonOf(shortcut.button).Hint(), shortcut.hint);
        const std::string before = Outcome();
        ClickImageButton(shortcut.button);
        const std::string clicked = Outcome();
        EXPECT_NE(clicked, before) << "the button did nothing";
        SendMessageA(Item(ui::design::kIdCancel), BM_CLICK, 0, 0);

        OpenPrepared();
        const HWND target = shortcut.inSchemeBox ? Item(kIdSchemeBox) : List().Handle();
        SetFocus(target);
        if (shortcut.ctrl)
            PressWithCtrl(target, shortcut.key);
        else
            Press(target, shortcut.key);
        EXPECT_EQ(Outcome(), clicked);
        SendMessageA(Item(ui::design::kIdCancel), BM_CLICK, 0, 0);
    }
    DeleteFileA(file.c_str());
}

TEST_F(MainWindowKeyboard, AnOpenRowEditorKeepsItsKeys) {
    OpenPrepared();
    Press(List().Handle(), VK_F2);
    ASSERT_NE(Editor(), nullptr);
    const std::string before = Outcome();
    Press(Editor(), VK_DELETE);
    Press(Editor(), VK_INSERT);
    PressWithCtrl(Editor(), 'S');
    EXPECT_EQ(Outcome(), before);
    EXPECT_NE(Editor(), nullptr);
    Press(Editor(), VK_ESCAPE);
}

// The suggestion list of the row editor: a visible window of this thread that
// holds a list box, and the list box.
HWND SuggestionList() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) {
            const HWND list = FindWindowExA(window, nullptr, "ListBox", nullptr);
            if (IsWindowVisible(window) && list != nullptr)
                *reinterpret_cast<HWND*>(result) = list;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Typing a path offers the folders that match; with the list open, Enter takes
// the chosen folder and closes the list, and only the next Enter ends the edit.
TEST_F(MainWindowKeyboard, TheRowEditorOffersMatchingFolders) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string system32 = std::string(windows) + "\\system32";
    SetCursorPos(0, 0); // a pointer over the suggestions would choose among them
    Open();
    Press(List().Handle(), VK_F2);
    const HWND editor = Editor();
    ASSERT_NE(editor, nullptr);
    SetWindowTextA(editor, "");
    for (const char c : std::string(windows) + "\\sys")
        PostMessageA(editor, WM_CHAR, static_cast<unsigned char>(c), 1);
    Pump();
    const HWND suggestions = SuggestionList();
    ASSERT_NE(suggestions, nullptr);
    const auto offered = SendMessageA(suggestions, LB_GETCOUNT, 0, 0);
    std::string text;
    for (LRESULT i = 0; i < offered && text != system32; ++i) {
        Press(editor, VK_DOWN);
        text.assign(static_cast<std::size_t>(GetWindowTextLengthA(editor)), '\0');
        GetWindowTextA(editor, text.data(), static_cast<int>(text.size() + 1));
    }
    EXPECT_EQ(text, system32);
    // Wine's list may put another of the offered folders in the editor here.
    Press(editor, VK_RETURN);
    EXPECT_EQ(SuggestionList(), nullptr);
    ASSERT_EQ(Editor(), editor);
    text.assign(static_cast<std::size_t>(GetWindowTextLengthA(editor)), '\0');
    GetWindowTextA(editor, text.data(), static_cast<int>(text.size() + 1));
    Press(editor, VK_RETURN);
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(Rows()[0], text);
}

TEST_F(MainWindowKeyboard, TabOrderHoldsAfterInfoTipsAndANewList) {
    Open();
    // The first row is selected and shows its focus cue, so F2 and Del work at once.
    EXPECT_TRUE(List().IsSelected(0) && List().IsFocused(0));
    EXPECT_EQ(SendMessageA(List().Handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
    std::vector<HWND> designed = {
        Item(ui::design::kIdDefaultRadio), List().Handle(),         Item(kIdSchemeBox),
        Item(ui::design::kIdHelp),         Item(ui::design::kIdOk), Item(ui::design::kIdCancel)};
    ASSERT_EQ(TabOrder(), designed);

    char text[MAX_PATH] = {};
    NMLVGETINFOTIPA tip{};
    tip.hdr = {List().Handle(), ui::design::kIdPlacesList, static_cast<UINT>(LVN_GETINFOTIPA)};
    tip.pszText = text;
    tip.cchTextMax = sizeof text;
    SendMessageA(Window().hwnd(), WM_NOTIFY, ui::design::kIdPlacesList,
                 reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(TabOrder(), designed);
    SetFocus(Item(kIdSchemeBox));
    Press(Item(kIdSchemeBox), VK_TAB);
    EXPECT_EQ(GetFocus(), Item(ui::design::kIdHelp));

    SetFocus(List().Handle());
    List().RecreateHandle();
    designed[1] = List().Handle();
    EXPECT_EQ(TabOrder(), designed);
    EXPECT_EQ(GetFocus(), List().Handle());
}

TEST_F(MainWindowKeyboard, ScreenReadersFindEveryCommandAsANamedPushButton) {
    StorePlaces({"C:\\A", "C:\\B", "", "", ""});
    Open();
    ChooseScheme(-1); // nothing chosen: Delete is off
    IAccessible* client = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(Window().hwnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&client)),
              S_OK);
    LONG count = 0;
    client->get_accChildCount(&count);
    std::vector<VARIANT> children(count);
    ASSERT_TRUE(SUCCEEDED(AccessibleChildren(client, 0, count, children.data(), &count)));

    std::map<std::string, std::pair<bool, std::string>> buttons; // name: enabled, shortcut
    VARIANT clear{};
    for (VARIANT& child : std::vector<VARIANT>(children.begin(), children.begin() + count)) {
        if (child.vt == VT_DISPATCH)
            child.pdispVal->Release();
        VARIANT role{}, state{};
        if (child.vt != VT_I4 || client->get_accRole(child, &role) != S_OK ||
            role.lVal != ROLE_SYSTEM_PUSHBUTTON)
            continue;
        BSTR name = nullptr, shortcut = nullptr;
        client->get_accName(child, &name);
        client->get_accKeyboardShortcut(child, &shortcut);
        client->get_accState(child, &state);
        const std::string named = Narrow(name);
        buttons[named] = {(state.lVal & STATE_SYSTEM_UNAVAILABLE) == 0, Narrow(shortcut)};
        if (named == "Clear selected item")
            clear = child;
    }
    EXPECT_EQ(buttons, (std::map<std::string, std::pair<bool, std::string>>{
                           {"Change selected item", {true, "F4"}},
                           {"Clear selected item", {true, "Del"}},
                           {"Move up", {true, "Ctrl+Up"}},
                           {"Move down", {true, "Ctrl+Down"}},
                           {"Save scheme", {true, "Ctrl+S"}},
                           {"Add to quick adjust scheme", {true, "Ins"}},
                           {"Delete quick adjust scheme", {false, "Del"}},
                       }));

    // Where a button is, and its default action: pressing it.
    ASSERT_EQ(clear.vt, VT_I4);
    LONG left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(client->accLocation(&left, &top, &width, &height, clear), S_OK);
    RECT bounds = Window().ImageButtonOf(Part::ClearButton).Bounds();
    MapWindowPoints(Window().hwnd(), nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    const RECT located{left, top, left + width, top + height};
    EXPECT_TRUE(EqualRect(&located, &bounds));
    VARIANT hit{};
    ASSERT_EQ(client->accHitTest(left + 2, top + 2, &hit), S_OK);
    EXPECT_EQ(hit.lVal, clear.lVal);
    SelectRow(1);
    EXPECT_EQ(client->accDoDefaultAction(clear), S_OK);
    Pump();
    EXPECT_EQ(Rows()[1], "");
    client->Release();
}

} // namespace
} // namespace velbrook::testing
