// Editing the five rows: change, clear, typing in place, moving; the scheme
// controls; saving the rows to a places file.
#include "main_window_fixture.h"

#include "support/win32/shell.h"
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

} // namespace
} // namespace velbrook::testing
