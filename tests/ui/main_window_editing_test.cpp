// Editing the five rows: change, clear, typing in place, moving; the scheme
// controls; saving the rows to a places file.
#include "main_window_fixture.h"

#include "support/messages.h"
#include "support/win32/shell.h"
#include "support/win32/wide_text.h"
#include "ui/main_window_design.h"

namespace velbrook::testing {
namespace {

using ui::design::kIdCustomRadio;
using ui::design::kIdDefaultRadio;
using ui::design::kIdOk;
using ui::design::kIdSchemeBox;

int IconOf(const std::string& path) {
    return win32::GetSystemIconIndex(path);
}

// Explorer's own data object for names in one folder, as a drag from it carries them.
win32::ComRef<IDataObject> ExplorerDataObject(const std::wstring& folder,
                                              const std::vector<std::wstring>& names) {
    IShellFolder* desktop = nullptr;
    IShellFolder* parent = nullptr;
    LPITEMIDLIST parentItem = nullptr;
    EXPECT_HRESULT_SUCCEEDED(SHGetDesktopFolder(&desktop));
    desktop->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(folder.c_str()), nullptr,
                              &parentItem, nullptr);
    desktop->BindToObject(parentItem, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&parent));
    std::vector<LPITEMIDLIST> items(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
        parent->ParseDisplayName(nullptr, nullptr, const_cast<wchar_t*>(names[i].c_str()), nullptr,
                                 &items[i], nullptr);
    IDataObject* data = nullptr;
    parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()),
                          const_cast<LPCITEMIDLIST*>(items.data()), IID_IDataObject, nullptr,
                          reinterpret_cast<void**>(&data));
    for (LPITEMIDLIST item : items)
        CoTaskMemFree(item);
    CoTaskMemFree(parentItem);
    parent->Release();
    desktop->Release();
    return win32::ComRef<IDataObject>(data);
}

// Drops once the target row is marked, or presses Esc there when asked to.
class DropSource final : public IDropSource {
  public:
    DropSource(HWND list, int row, bool escape) : list_(list), row_(row), escape_(escape) {}
    bool sawMark = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD) override {
        if (escapePressed || ++calls_ > 1000)
            return DRAGDROP_S_CANCEL;
        if (SendMessageA(list_, LVM_GETITEMSTATE, row_, LVIS_DROPHILITED) == 0)
            return S_OK;
        sawMark = true;
        if (!escape_)
            return DRAGDROP_S_DROP;
        PostMessageA(list_, WM_KEYDOWN, VK_ESCAPE, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

  private:
    HWND list_;
    int row_;
    bool escape_;
    int calls_ = 0;
};

TEST_F(MainWindowTest, WithoutASelectedRowNothingChanges) {
    StorePlaces({"C:\\", "", "", "", ""});
    Open();
    List().SelectRow(-1); // as a click below the rows leaves it
    SendMessageA(Item(kIdDefaultRadio), BM_CLICK, 0, 0);
    for (Part button :
         {Part::ChangeButton, Part::ClearButton, Part::MoveUpButton, Part::MoveDownButton})
        ClickImageButton(button);
    DoubleClickList();
    Press(List().Handle(), VK_F2);
    EXPECT_TRUE(dialogs.browseTitles.empty());
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(Rows(), (PlacesList{"C:\\", "", "", "", ""}));
    EXPECT_TRUE(Checked(kIdDefaultRadio));
}

TEST_F(MainWindowTest, ChangeTakesTheBrowsedFolder) {
    StoreSchemes({{"Work", {"A", "B", "C", "D", "E"}}});
    Open();
    ChooseScheme(0);
    SendMessageA(Item(kIdDefaultRadio), BM_CLICK, 0, 0);
    SelectRow(2);
    List().SetCaption(2, "");

    ClickImageButton(Part::ChangeButton); // the browser is cancelled
    EXPECT_EQ(Rows()[2], "");
    EXPECT_TRUE(Checked(kIdDefaultRadio));
    EXPECT_EQ(Window().Schemes().Selected(), 0);

    dialogs.folderAnswers.push_back("C:\\Windows");
    DoubleClickList();
    EXPECT_EQ(dialogs.browseTitles,
              (std::vector<std::string>{"Select a folder", "Select a folder"}));
    EXPECT_EQ(dialogs.browseInitialFolders, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(Rows()[2], "C:\\Windows");
    EXPECT_EQ(List().ImageIndex(2), IconOf("C:\\Windows"));
    EXPECT_TRUE(Checked(kIdCustomRadio));
    EXPECT_EQ(Window().Schemes().Selected(), -1);
    EXPECT_TRUE(Window().ImageButtonOf(Part::DeleteSchemeButton).Enabled())
        << "no scheme handler ran";

    ClickImageButton(Part::ChangeButton); // preselects the row's folder
    EXPECT_EQ(dialogs.browseInitialFolders.back(), "C:\\Windows");
}

TEST_F(MainWindowTest, ClearEmptiesTheCaptionAndKeepsTheIcon) {
    StoreSchemes({{"Work", {"A", "B", "C", "D", "E"}}});
    StorePlaces({"", "C:\\", "", "", ""});
    Open();
    SendMessageA(Item(kIdDefaultRadio), BM_CLICK, 0, 0);
    ChooseScheme(0);
    SendMessageA(Item(kIdDefaultRadio), BM_CLICK, 0, 0);
    SelectRow(1);
    const int icon = List().ImageIndex(1);
    ClickImageButton(Part::ClearButton);
    EXPECT_EQ(Rows()[1], "");
    EXPECT_EQ(List().ImageIndex(1), icon);
    EXPECT_TRUE(Checked(kIdCustomRadio));
    EXPECT_EQ(Window().Schemes().Selected(), 0);
}

TEST_F(MainWindowTest, TypingInPlace) {
    Open();
    SendMessageA(Item(kIdDefaultRadio), BM_CLICK, 0, 0);
    SelectRow(3);
    SetFocus(List().Handle());
    Press(List().Handle(), VK_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(LOWORD(SendMessageA(Window().hwnd(), DM_GETDEFID, 0, 0)), 0) << "OK is not default";

    // Enter accepts the text and neither applies nor closes.
    SetWindowTextA(Editor(), "D:\\Work");
    Press(Editor(), VK_RETURN);
    EXPECT_TRUE(IsOpen());
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(Rows()[3], "D:\\Work");
    EXPECT_EQ(List().ImageIndex(3), IconOf("D:\\Work"));
    EXPECT_TRUE(Checked(kIdDefaultRadio));
    EXPECT_EQ(LOWORD(SendMessageA(Window().hwnd(), DM_GETDEFID, 0, 0)), kIdOk);
    EXPECT_FALSE(KeyExists(kPlacesBarKey));

    // Esc restores the caption and does not close.
    Press(List().Handle(), VK_F2);
    ASSERT_NE(Editor(), nullptr);
    SetWindowTextA(Editor(), "E:\\Other");
    Press(Editor(), VK_ESCAPE);
    EXPECT_TRUE(IsOpen());
    EXPECT_EQ(Editor(), nullptr);
    EXPECT_EQ(Rows()[3], "D:\\Work");
    EXPECT_EQ(LOWORD(SendMessageA(Window().hwnd(), DM_GETDEFID, 0, 0)), kIdOk);

    // OK and Cancel clicks are ignored while the editor is open.
    Press(List().Handle(), VK_F2);
    ASSERT_NE(Editor(), nullptr);
    SendMessageA(Window().hwnd(), WM_COMMAND, MAKEWPARAM(kIdOk, BN_CLICKED), 0);
    SendMessageA(Window().hwnd(), WM_COMMAND, MAKEWPARAM(ui::design::kIdCancel, BN_CLICKED), 0);
    EXPECT_TRUE(IsOpen());
    Press(Editor(), VK_ESCAPE);

    // After editing, Enter presses OK again.
    SendMessageA(Item(kIdCustomRadio), BM_CLICK, 0, 0);
    SetFocus(List().Handle());
    Press(List().Handle(), VK_RETURN);
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(Get(kPlacesBarKey, "Place3"), Sz("D:\\Work"));
}

TEST_F(MainWindowTest, MovingRows) {
    StorePlaces({"A:\\", "B:\\", "", "", "E:\\"});
    Open();
    SelectRow(0);
    ClickImageButton(Part::MoveUpButton);
    SelectRow(4);
    ClickImageButton(Part::MoveDownButton);
    EXPECT_EQ(Rows(), (PlacesList{"A:\\", "B:\\", "", "", "E:\\"}));

    SelectRow(1);
    ClickImageButton(Part::MoveUpButton);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2", "1", "3", "4", "5"}));
    EXPECT_EQ(List().SelectedIndex(), 0);
    EXPECT_EQ(List().ImageIndex(0), IconOf("B:\\"));

    SelectRow(2);
    ClickImageButton(Part::MoveDownButton);
    ClickImageButton(Part::MoveDownButton);
    EXPECT_EQ(List().SelectedIndex(), 4);
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2", "1", "4", "5", "3"}));

    // A release just right of a button is no click.
    ClickImageButton(Part::MoveUpButton, 12, 0);
    EXPECT_EQ(List().SelectedIndex(), 4);

    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Get(kPlacesBarKey, "Place0"), Sz("B:\\"));
    EXPECT_EQ(Get(kPlacesBarKey, "Place1"), Sz("A:\\"));
    EXPECT_EQ(Get(kPlacesBarKey, "Place3"), Sz("E:\\"));
}

TEST_F(MainWindowTest, AddingSchemes) {
    StorePlaces({"C:\\", "", "D:\\", "", ""});
    StoreSchemes({{"New scheme", {"1", "2", "3", "4", "5"}}});
    Open();
    dialogs.inputAnswers = {ScriptedDialogs::kCancelInput, "New scheme", "NEW SCHEME", ""};
    ClickImageButton(Part::AddSchemeButton);
    EXPECT_EQ(SchemeNames().size(), 1u);
    EXPECT_EQ(dialogs.inputPresets, (std::vector<std::string>{"New scheme"}));

    // The new scheme is the one selected, also beside one of the same name in any case.
    const auto selected = [&] {
        const int index = Window().Schemes().Selected();
        return std::pair(Window().Schemes().Name(index), Window().Schemes().Places(index));
    };
    const PlacesList rows = {"C:\\", "", "D:\\", "", ""};
    ClickImageButton(Part::AddSchemeButton);
    EXPECT_EQ(SchemeNames(), (std::vector<std::string>{"New scheme", "New scheme"}));
    EXPECT_EQ(selected(), std::pair(std::string("New scheme"), rows));
    ClickImageButton(Part::AddSchemeButton);
    EXPECT_EQ(SchemeNames().size(), 3u);
    EXPECT_EQ(selected(), std::pair(std::string("NEW SCHEME"), rows));
    ClickImageButton(Part::AddSchemeButton);
    EXPECT_EQ(SchemeNames().front(), "");
    EXPECT_EQ(Window().Schemes().Selected(), 0);
    EXPECT_EQ(Window().Schemes().Places(0), rows);
    EXPECT_EQ(Rows(), (PlacesList{"C:\\", "", "D:\\", "", ""}));
    EXPECT_TRUE(Checked(kIdCustomRadio));
    EXPECT_TRUE(Window().ImageButtonOf(Part::DeleteSchemeButton).Enabled());

    EXPECT_EQ(StoredSchemes().size(), 1u) << "not before closing";
    SendMessageA(Item(ui::design::kIdCancel), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(StoredSchemes().size(), 4u);
}

// Delete right after Add removes the scheme just added, not an older one whose
// name differs only in case.
TEST_F(MainWindowTest, DeleteAfterAddRemovesTheNewScheme) {
    StoreSchemes({{"Work", {"1", "2", "3", "4", "5"}}});
    Open();
    dialogs.inputAnswers = {"WORK"};
    ClickImageButton(Part::AddSchemeButton);
    dialogs.messageAnswers = {kIdOk};
    ClickImageButton(Part::DeleteSchemeButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Delete scheme \"WORK\"?");
    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    const auto stored = StoredSchemes();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].first, "Work");
    EXPECT_EQ(stored[0].second, (PlacesList{"1", "2", "3", "4", "5"}));
}

TEST_F(MainWindowTest, ChoosingASchemeFillsTheRows) {
    StoreSchemes(
        {{"Beta", {"C:\\", "", "C:\\Windows", "", ""}}, {"alpha", {"", "", "", "", "D:\\"}}});
    Open();
    EXPECT_EQ(SchemeNames(), (std::vector<std::string>{"alpha", "Beta"}));
    EXPECT_EQ(Window().Schemes().Selected(), -1);
    SelectRow(0);
    ClickImageButton(Part::MoveDownButton);
    ChooseScheme(1);
    EXPECT_EQ(Rows(), (PlacesList{"C:\\", "", "C:\\Windows", "", ""}));
    for (int row = 0; row < kPlaceSlots; ++row)
        EXPECT_EQ(List().ImageIndex(row), IconOf(Rows()[row])) << row;
    EXPECT_EQ(Labels(), (std::vector<std::string>{"2", "1", "3", "4", "5"}));
    EXPECT_TRUE(Checked(kIdCustomRadio));

    // A selection the program makes runs no handler.
    SendMessageA(Item(kIdDefaultRadio), BM_CLICK, 0, 0);
    SendMessageA(Item(kIdSchemeBox), CB_SETCURSEL, 0, 0);
    Pump();
    EXPECT_EQ(Rows()[4], "");
    EXPECT_TRUE(Checked(kIdDefaultRadio));

    // The delete button follows the user's selection.
    ChooseScheme(-1);
    EXPECT_FALSE(Window().ImageButtonOf(Part::DeleteSchemeButton).Enabled());
    ChooseScheme(0);
    EXPECT_TRUE(Window().ImageButtonOf(Part::DeleteSchemeButton).Enabled());
    EXPECT_EQ(Rows()[4], "D:\\");
}

// A scheme of fewer places fills the rows it has and empties the others, as
// -load: applies it.
TEST_F(MainWindowTest, AShortSchemeFillsTheRowsItHas) {
    StorePlaces({"V:\\", "W:\\", "X:\\", "Y:\\", "Z:\\"});
    Open();
    SendMessageA(Item(kIdDefaultRadio), BM_CLICK, 0, 0);
    Window().Schemes().Add("Short",
                           std::make_unique<PlacesList>(PlacesList{"A:\\", "B:\\", "C:\\"}));
    ChooseScheme(0);
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(Rows(), (PlacesList{"A:\\", "B:\\", "C:\\", "", ""}));
    EXPECT_TRUE(Checked(kIdCustomRadio));
}

TEST_F(MainWindowTest, DeletingSchemes) {
    StoreSchemes({{"Keep", {"", "", "", "", ""}}, {"Old", {"", "", "", "", ""}}});
    Open();
    ClickImageButton(Part::DeleteSchemeButton); // nothing selected
    EXPECT_TRUE(dialogs.messages.empty());

    ChooseScheme(1);
    dialogs.messageAnswers = {kIdCancel, kIdOk};
    ClickImageButton(Part::DeleteSchemeButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Delete scheme \"Old\"?");
    EXPECT_EQ(dialogs.messages[0].caption, "Confirmation");
    EXPECT_EQ(dialogs.messages[0].flags, kMbOkCancel | kMbIconExclamation);
    EXPECT_EQ(dialogs.messages[0].owner, 0u);
    EXPECT_EQ(SchemeNames().size(), 2u);

    ClickImageButton(Part::DeleteSchemeButton);
    EXPECT_EQ(SchemeNames(), (std::vector<std::string>{"Keep"}));
    EXPECT_EQ(Window().Schemes().Selected(), -1);
    EXPECT_TRUE(Window().ImageButtonOf(Part::DeleteSchemeButton).Enabled());
    ClickImageButton(Part::DeleteSchemeButton);
    EXPECT_EQ(dialogs.messages.size(), 2u);

    EXPECT_EQ(StoredSchemes().size(), 2u);
    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    ASSERT_EQ(StoredSchemes().size(), 1u);
    EXPECT_EQ(StoredSchemes()[0].first, "Keep");
}

// The box is sorted; the schemes keep the order they were loaded in.
TEST_F(MainWindowTest, DeletingASchemeKeepsTheOthersWithTheirPlaces) {
    StoreSchemes({{"b", {"B:\\", "", "", "", ""}},
                  {"a", {"A:\\", "", "", "", ""}},
                  {"c", {"C:\\", "", "", "", ""}}});
    Open();
    ChooseScheme(1);
    dialogs.messageAnswers = {kIdOk};
    ClickImageButton(Part::DeleteSchemeButton);
    EXPECT_EQ(SchemeNames(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(Window().Schemes().Places(1), (PlacesList{"C:\\", "", "", "", ""}));
    ChooseScheme(0);
    EXPECT_EQ(Rows(), (PlacesList{"A:\\", "", "", "", ""}));
    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    const auto stored = StoredSchemes();
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1], std::pair(std::string("c"), PlacesList{"C:\\", "", "", "", ""}));
}

TEST_F(MainWindowTest, SavingThePlacesFile) {
    Open();
    List().SetCaption(0, "C:\\Work");
    List().SetCaption(2, "D:\\Photos");
    const std::string file = TempFile("velbrook window places");

    // Cancelled: nothing written.
    ClickImageButton(Part::SaveButton);
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);

    // A new name, typed without an extension, is used as it is.
    dialogs.fileNameAnswers.push_back(file);
    ClickImageButton(Part::SaveButton);
    EXPECT_EQ(ReadFile(file), "[Places]\r\nPlace0=C:\\Work\r\nPlace2=D:\\Photos\r\n\r\n");

    // Existing file: No keeps it, Yes replaces it.
    for (int row = 0; row < kPlaceSlots; ++row)
        List().SetCaption(row, "");
    dialogs.fileNameAnswers = {file, file};
    dialogs.messageAnswers = {kIdNo, kIdYes};
    ClickImageButton(Part::SaveButton);
    EXPECT_EQ(ReadFile(file), "[Places]\r\nPlace0=C:\\Work\r\nPlace2=D:\\Photos\r\n\r\n");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Do you wish to overwrite \"" + file + "\"?");
    EXPECT_EQ(dialogs.messages[0].flags, kMbYesNo | kMbIconExclamation);
    ClickImageButton(Part::SaveButton);
    EXPECT_EQ(ReadFile(file), "");
    EXPECT_EQ(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

    DeleteFileA(file.c_str());

    // A file that cannot be created is reported; the window stays.
    const std::string unwritable = TempFile("velbrook no such folder\\places.ini");
    dialogs.fileNameAnswers = {unwritable};
    ClickImageButton(Part::SaveButton);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Cannot create file " + unwritable + ".");
    EXPECT_TRUE(IsOpen());
    EXPECT_FALSE(KeyExists(kPlacesBarKey));
}

// A real OLE drag from Explorer's data object onto row 2: folders (or a shortcut
// to one) fill the rows from there as a browsed folder would; a file changes
// nothing and says why; Esc cancels. The places bar waits for Ok.
TEST_F(MainWindowTest, FoldersDroppedFromExplorerFillRowsFromTheTargetDown) {
    win32::PrepareShell();
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"velbrook drop";
    for (const wchar_t* name : {L"", L"\\A", L"\\B"})
        CreateDirectoryW((folder + name).c_str(), nullptr);
    CloseHandle(CreateFileW((folder + L"\\note.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr));
    IShellLinkW* link = nullptr;
    IPersistFile* linkFile = nullptr;
    CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                     reinterpret_cast<void**>(&link));
    ASSERT_NE(link, nullptr);
    link->SetPath((folder + L"\\B").c_str());
    link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&linkFile));
    linkFile->Save((folder + L"\\to B.lnk").c_str(), TRUE);
    linkFile->Release();
    link->Release();

    const std::string a = win32::AnsiFromWideLossy(folder + L"\\A");
    const std::string b = win32::AnsiFromWideLossy(folder + L"\\B");
    const PlacesList old = {"C:\\0", "C:\\1", "C:\\2", "", ""};
    const struct {
        std::vector<std::wstring> names;
        bool escape;
        PlacesList rows;
        std::string message;
    } cases[] = {
        {{L"A", L"B"}, false, {"C:\\0", a, b, "", ""}, ""},
        {{L"to B.lnk"}, false, {"C:\\0", b, "C:\\2", "", ""}, ""},
        {{L"A", L"note.txt"}, false, old, FormatText(msg::kFolderCannotBePlace, "note.txt")},
        {{L"A"}, true, old, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows[1] + (c.escape ? " Esc" : ""));
        StorePlaces(old);
        dialogs = ScriptedDialogs();
        Open();
        SendMessageA(Item(kIdDefaultRadio), BM_CLICK, 0, 0);
        RECT row{};
        row.left = LVIR_BOUNDS;
        SendMessageA(List().Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
        POINT at{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
        ClientToScreen(List().Handle(), &at);
        SetCursorPos(at.x, at.y);
        const win32::ComRef<IDataObject> data = ExplorerDataObject(folder, c.names);
        ASSERT_TRUE(data);
        DropSource source(List().Handle(), 1, c.escape);
        DWORD effect = DROPEFFECT_NONE;
        DoDragDrop(data.get(), &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                   &effect);
        Pump();
        EXPECT_TRUE(source.sawMark);
        EXPECT_EQ(SendMessageA(List().Handle(), LVM_GETITEMSTATE, 1, LVIS_DROPHILITED), 0);
        EXPECT_NE(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(Checked(kIdCustomRadio), c.rows != old);
        EXPECT_EQ(dialogs.messages.empty() ? "" : dialogs.messages[0].text, c.message);
        EXPECT_EQ(ReadPlacesBar().Slots[1], "C:\\1");
        SendMessageA(Item(ui::design::kIdCancel), BM_CLICK, 0, 0);
    }
    for (const wchar_t* name : {L"\\note.txt", L"\\to B.lnk"})
        DeleteFileW((folder + name).c_str());
    for (const wchar_t* name : {L"\\A", L"\\B", L""})
        RemoveDirectoryW((folder + name).c_str());
}

// Rows whose folder the dialogs would leave out are marked, with a tip that
// says so, while the window answers at once; the marks follow a change of the
// row and are looked at again when the window is activated.
TEST_F(MainWindowTest, MissingOrUnreachableFoldersAreMarked) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string missing = std::string(windows) + "\\velbrook no such folder";
    StorePlaces({windows, missing, "\\\\127.0.0.1\\velbrook-none\\x", "", ""});
    // As the dialogs resolve them: a path with a variable, a special folder.
    PutWide(kPlacesBarKey, "Place3", kRegExpandSz, u"%WINDIR%\\velbrook no such folder");
    Put(kPlacesBarKey, "Place4", Dword(CSIDL_WINDOWS));
    Open();
    const auto marksAre = [&](std::vector<int> expected) {
        std::vector<int> marks;
        for (int i = 0; i < 2000 && marks != expected; ++i) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            Pump();
            marks.clear();
            for (int row = 0; row < kPlaceSlots; ++row)
                marks.push_back(List().Overlay(row));
        }
        return marks == expected;
    };
    const int m = ui::kMissingFolderOverlay;
    EXPECT_TRUE(marksAre({0, m, m, m, 0}));
    char text[1024] = {};
    NMLVGETINFOTIPA tip{};
    tip.hdr = {List().Handle(), ui::design::kIdPlacesList, static_cast<UINT>(LVN_GETINFOTIPA)};
    tip.pszText = text;
    tip.cchTextMax = sizeof text;
    tip.iItem = 1;
    SendMessageA(Window().hwnd(), WM_NOTIFY, ui::design::kIdPlacesList,
                 reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(std::string(text), missing + "\r\n" + msg::kPlaceLeftOutByDialogs);

    SelectRow(2);
    ClickImageButton(Part::ClearButton);
    EXPECT_TRUE(marksAre({0, m, 0, m, 0}));
    CreateDirectoryA(missing.c_str(), nullptr);
    SendMessageA(Window().hwnd(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(marksAre({0, 0, 0, 0, 0}));
    RemoveDirectoryA(missing.c_str());
}

} // namespace
} // namespace velbrook::testing
