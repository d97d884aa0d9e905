// The commands from the keyboard and for screen readers: each shortcut does what
// its button does, the hints name the shortcuts, the Tab order holds, and the
// accessible children list every command with its name and state.
#include "main_window_fixture.h"

#include <fstream>
#include <map>
#include <sstream>

#include <oleacc.h>

namespace velbrook::testing {
namespace {

using ui::design::kIdScheme;

// What a command may change, as the user sees it.
struct Outcome {
    PlacesList rows;
    int selectedRow = -1;
    std::vector<std::string> schemes;
    int selectedScheme = -1;
    bool custom = false;
    std::size_t browsed = 0, asked = 0, questions = 0;
    std::string file;
    friend bool operator==(const Outcome&, const Outcome&) = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    out << "rows";
    for (const std::string& row : o.rows)
        out << " [" << row << "]";
    out << " selected " << o.selectedRow << ", schemes";
    for (const std::string& name : o.schemes)
        out << " [" << name << "]";
    return out << " selected " << o.selectedScheme << ", custom " << o.custom << ", dialogs "
               << o.browsed << "/" << o.asked << "/" << o.questions << ", file [" << o.file << "]";
}

std::string TempFile(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::string Narrow(BSTR text) {
    if (text == nullptr)
        return {};
    char buffer[512] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    SysFreeString(text);
    return buffer;
}

class MainWindowKeyboard : public MainWindowTest {
  protected:
    const std::string file = TempFile("velbrook shortcut test.ini");

    // Three filled rows with the second selected, a stored scheme chosen by the
    // program (no handler ran), dialogs that answer the same each time.
    void OpenPrepared() {
        store.Clear();
        DeleteFileA(file.c_str());
        StorePlaces({"C:\\A", "C:\\B", "C:\\C", "", ""});
        StoreSchemes({{"Work", {"C:\\W", "", "", "", ""}}});
        dialogs = ScriptedDialogs();
        dialogs.folderAnswers = {"C:\\Changed"};
        dialogs.inputAnswers = {"Added"};
        dialogs.fileNameAnswers = {file};
        Open();
        SendMessageA(Item(kIdScheme), CB_SETCURSEL, 0, 0);
        SelectRow(1);
        SetFocus(List().Handle());
    }

    Outcome Now() {
        Outcome o;
        o.rows = Rows();
        o.selectedRow = List().SelectedIndex();
        o.schemes = SchemeNames();
        o.selectedScheme = Window().Schemes().Selected();
        o.custom = Checked(ui::design::kIdCustom);
        o.browsed = dialogs.browseTitles.size();
        o.asked = dialogs.inputPresets.size();
        o.questions = dialogs.messages.size();
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        o.file = text.str();
        return o;
    }

    void Close() {
        SendMessageA(Item(ui::design::kIdCancel), BM_CLICK, 0, 0);
        Pump();
    }
};

TEST_F(MainWindowKeyboard, EachShortcutDoesWhatItsButtonDoes) {
    const struct {
        const char* button;
        WPARAM key;
        bool ctrl;
        bool inSchemeBox;
    } shortcuts[] = {
        {"btChange", VK_F4, false, false},    {"CSTButton2", VK_DELETE, false, false},
        {"cbUp", VK_UP, true, false},         {"cbDown", VK_DOWN, true, false},
        {"CSTButton1", 'S', true, false},     {"CSTButton3", VK_INSERT, false, false},
        {"btDelete", VK_DELETE, false, true},
    };
    for (const auto& shortcut : shortcuts) {
        SCOPED_TRACE(shortcut.button);
        OpenPrepared();
        const Outcome before = Now();
        ClickImageButton(shortcut.button);
        const Outcome clicked = Now();
        Close();
        EXPECT_NE(clicked, before) << "the button did nothing";

        OpenPrepared();
        const HWND target = shortcut.inSchemeBox ? Item(kIdScheme) : List().Handle();
        SetFocus(target);
        if (shortcut.ctrl)
            PressWithCtrl(target, shortcut.key);
        else
            Press(target, shortcut.key);
        EXPECT_EQ(Now(), clicked);
        Close();
    }
    DeleteFileA(file.c_str());
}

TEST_F(MainWindowKeyboard, AnOpenRowEditorKeepsItsKeys) {
    OpenPrepared();
    Press(List().Handle(), VK_F2);
    ASSERT_NE(Editor(), nullptr);
    const Outcome before = Now();
    Press(Editor(), VK_DELETE);
    Press(Editor(), VK_INSERT);
    PressWithCtrl(Editor(), 'S');
    EXPECT_EQ(Now(), before);
    EXPECT_NE(Editor(), nullptr);
    Press(Editor(), VK_ESCAPE);
}

TEST_F(MainWindowKeyboard, HintsNameTheShortcuts) {
    Open();
    const std::map<std::string, std::string> hints = {
        {"btChange", "Change selected item (F4)"},
        {"CSTButton2", "Clear selected item (Del)"},
        {"cbUp", "Move up (Ctrl+Up)"},
        {"cbDown", "Move down (Ctrl+Down)"},
        {"CSTButton1", "Save scheme (Ctrl+S)"},
        {"CSTButton3", "Add to quick adjust scheme (Ins)"},
        {"btDelete", "Delete quick adjust scheme (Del)"},
    };
    for (const auto& [button, hint] : hints)
        EXPECT_EQ(Window().ImageButton(button.c_str()).Hint(), hint);
}

TEST_F(MainWindowKeyboard, TabOrderHoldsAfterInfoTipsAndANewList) {
    Open();
    const std::vector<HWND> designed = {Item(ui::design::kIdDef), List().Handle(),
                                        Item(kIdScheme),          Item(ui::design::kIdHelp),
                                        Item(ui::design::kIdOk),  Item(ui::design::kIdCancel)};
    ASSERT_EQ(TabOrder(), designed);

    char text[MAX_PATH] = {};
    NMLVGETINFOTIPA tip{};
    tip.hdr.hwndFrom = List().Handle();
    tip.hdr.idFrom = ui::design::kIdList;
    tip.hdr.code = LVN_GETINFOTIPA;
    tip.pszText = text;
    tip.cchTextMax = sizeof text;
    SendMessageA(Window().hwnd(), WM_NOTIFY, ui::design::kIdList, reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(TabOrder(), designed);
    SetFocus(Item(kIdScheme));
    Press(Item(kIdScheme), VK_TAB);
    EXPECT_EQ(GetFocus(), Item(ui::design::kIdHelp));

    SetFocus(List().Handle());
    List().RecreateHandle();
    std::vector<HWND> renewed = designed;
    renewed[1] = List().Handle();
    EXPECT_EQ(TabOrder(), renewed);
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
    ASSERT_EQ(client->get_accChildCount(&count), S_OK);
    std::vector<VARIANT> children(count);
    LONG got = 0;
    ASSERT_TRUE(SUCCEEDED(AccessibleChildren(client, 0, count, children.data(), &got)));

    struct Seen {
        bool available;
        std::string shortcut;
        VARIANT id;
    };
    std::map<std::string, Seen> buttons;
    for (VARIANT& child : std::vector<VARIANT>(children.begin(), children.begin() + got)) {
        if (child.vt == VT_DISPATCH) {
            child.pdispVal->Release();
            continue;
        }
        VARIANT role{};
        if (child.vt != VT_I4 || client->get_accRole(child, &role) != S_OK ||
            role.lVal != ROLE_SYSTEM_PUSHBUTTON)
            continue;
        BSTR name = nullptr, shortcut = nullptr;
        VARIANT state{};
        client->get_accName(child, &name);
        client->get_accKeyboardShortcut(child, &shortcut);
        client->get_accState(child, &state);
        buttons[Narrow(name)] = {(state.lVal & STATE_SYSTEM_UNAVAILABLE) == 0, Narrow(shortcut),
                                 child};
    }
    const std::map<std::string, std::pair<bool, std::string>> expected = {
        {"Change selected item", {true, "F4"}},
        {"Clear selected item", {true, "Del"}},
        {"Move up", {true, "Ctrl+Up"}},
        {"Move down", {true, "Ctrl+Down"}},
        {"Save scheme", {true, "Ctrl+S"}},
        {"Add to quick adjust scheme", {true, "Ins"}},
        {"Delete quick adjust scheme", {false, "Del"}},
    };
    std::map<std::string, std::pair<bool, std::string>> found;
    for (const auto& [name, seen] : buttons)
        found[name] = {seen.available, seen.shortcut};
    EXPECT_EQ(found, expected);

    // Where a button is, and its default action: pressing it.
    ASSERT_EQ(buttons.count("Clear selected item"), 1u);
    const VARIANT clear = buttons["Clear selected item"].id;
    LONG left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(client->accLocation(&left, &top, &width, &height, clear), S_OK);
    RECT bounds = Window().ImageButton("CSTButton2").Bounds();
    MapWindowPoints(Window().hwnd(), nullptr, reinterpret_cast<POINT*>(&bounds), 2);
    const RECT located{left, top, left + width, top + height};
    EXPECT_TRUE(EqualRect(&located, &bounds));
    VARIANT hit{};
    ASSERT_EQ(client->accHitTest(left + 2, top + 2, &hit), S_OK);
    EXPECT_EQ(hit.lVal, clear.lVal);
    BSTR action = nullptr;
    client->get_accDefaultAction(clear, &action);
    EXPECT_EQ(Narrow(action), "Press");
    SelectRow(1);
    EXPECT_EQ(client->accDoDefaultAction(clear), S_OK);
    Pump();
    EXPECT_EQ(Rows()[1], "");
    client->Release();
}

} // namespace
} // namespace velbrook::testing
