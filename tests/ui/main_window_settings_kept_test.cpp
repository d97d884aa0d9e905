// What the user has is never lost in the window: an open edit ends before any
// command uses the rows, and special folders and paths with variables are kept
// as they are stored.
#include "main_window_fixture.h"

#include <functional>

#include "support/errors.h"
#include "support/messages.h"
#include "ui/main_window_design.h"

namespace velbrook::testing {
namespace {

using ui::design::kIdOk;

std::optional<StoredValue> Slot(const PlacesList& rows, int slot) {
    return rows[slot].empty() ? std::nullopt : std::optional(Sz(rows[slot]));
}

// Row 1 ("B") is being edited to "X" when the command comes.
TEST_F(MainWindowTest, CommandsEndAnOpenEditFirstAndKeepItsText) {
    const std::string file = TempFile("velbrook edited rows.ini");
    struct Case {
        const char* what;
        std::function<void()> command;
        PlacesList rows;
    };
    const Case cases[] = {
        {"move up", [&] { ClickImageButton(Part::MoveUpButton); }, {"X", "A", "C", "", ""}},
        {"move down", [&] { ClickImageButton(Part::MoveDownButton); }, {"A", "C", "X", "", ""}},
        {"clear", [&] { ClickImageButton(Part::ClearButton); }, {"A", "", "C", "", ""}},
        {"change",
         [&] {
             dialogs.folderAnswers = {"D:\\Chosen"};
             ClickImageButton(Part::ChangeButton);
         },
         {"A", "D:\\Chosen", "C", "", ""}},
        {"save to a file",
         [&] {
             dialogs.fileNameAnswers = {file};
             ClickImageButton(Part::SaveButton);
         },
         {"A", "X", "C", "", ""}},
        {"add a scheme",
         [&] {
             dialogs.inputAnswers = {"Edited"};
             ClickImageButton(Part::AddSchemeButton);
         },
         {"A", "X", "C", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StorePlaces({"A", "B", "C", "", ""});
        Open();
        SelectRow(1);
        SetFocus(List().Handle());
        Press(List().Handle(), VK_F2);
        ASSERT_NE(Editor(), nullptr);
        SetWindowTextA(Editor(), "X");

        c.command();

        EXPECT_EQ(Editor(), nullptr);
        EXPECT_EQ(Rows(), c.rows);
        SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
        Pump();
        ASSERT_FALSE(IsOpen());
        for (int slot = 0; slot < kPlaceSlots; ++slot)
            EXPECT_EQ(Get(kPlacesBarKey, PlaceValueName(slot)), Slot(c.rows, slot)) << slot;
    }
    EXPECT_EQ(ReadFile(file), "[Places]\r\nPlace0=A\r\nPlace1=X\r\nPlace2=C\r\n\r\n");
    const auto schemes = StoredSchemes();
    ASSERT_EQ(schemes.size(), 1u);
    EXPECT_EQ(schemes[0].second, (PlacesList{"A", "X", "C", "", ""}));
    DeleteFileA(file.c_str());
}

// A special-folder number and a path with variables show by name and icon, move
// with their rows and are written back as stored; where they must become text
// they give their folder's path, or are left out and named.
TEST_F(MainWindowTest, SpecialFoldersAndPathsWithVariablesAreKept) {
    const StoredValue fonts{kRegExpandSz, std::string("%WINDIR%\\Fonts\0", 15)};
    Put(kPlacesBarKey, "Place0", Dword(17)); // My Computer, which has no path
    Put(kPlacesBarKey, "Place1", fonts);
    Put(kPlacesBarKey, "Place2", Sz("C:\\"));
    Open();
    const PlacesList shown = Rows();
    EXPECT_FALSE(shown[0].empty());
    EXPECT_EQ(shown[1], "%WINDIR%\\Fonts");
    EXPECT_NE(List().ImageIndex(0), -1);
    EXPECT_NE(List().ImageIndex(1), -1);

    SelectRow(0);
    ClickImageButton(Part::MoveDownButton);
    SelectRow(0); // an edit that leaves the text as it was keeps the value
    SetFocus(List().Handle());
    Press(List().Handle(), VK_F2);
    ASSERT_NE(Editor(), nullptr);
    Press(Editor(), VK_RETURN);
    EXPECT_EQ(Rows(), (PlacesList{shown[1], shown[0], "C:\\", "", ""}));

    const std::string file = TempFile("velbrook special folders.ini");
    dialogs.fileNameAnswers = {file};
    ClickImageButton(Part::SaveButton);
    char windows[MAX_PATH] = {};
    ExpandEnvironmentStringsA("%WINDIR%\\Fonts", windows, MAX_PATH);
    EXPECT_EQ(ReadFile(file),
              "[Places]\r\nPlace0=" + std::string(windows) + "\r\nPlace2=C:\\\r\n\r\n");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, FormatText(msg::kPlacesLeftOutOfFile, shown[0]));
    EXPECT_EQ(dialogs.messages[0].caption, "Information");
    DeleteFileA(file.c_str());

    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Get(kPlacesBarKey, "Place0"), fonts);
    EXPECT_EQ(Get(kPlacesBarKey, "Place1"), Dword(17));
    EXPECT_EQ(Get(kPlacesBarKey, "Place2"), Sz("C:\\"));

    // Cleared, it goes; chosen in the browser, a folder without a path is stored
    // by its number; a choice that can be neither changes nothing.
    Open();
    SelectRow(0);
    ClickImageButton(Part::ClearButton);
    BrowsedFolder network;
    network.specialFolder = 18;
    BrowsedFolder unusable;
    unusable.unusableName = "Printers";
    dialogs.messages.clear();
    dialogs.folderAnswers = {network, unusable};
    SelectRow(2);
    ClickImageButton(Part::ChangeButton);
    EXPECT_FALSE(Rows()[2].empty());
    SelectRow(1);
    ClickImageButton(Part::ChangeButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, FormatText(msg::kFolderCannotBePlace, "Printers"));
    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Get(kPlacesBarKey, "Place0"), std::nullopt);
    EXPECT_EQ(Get(kPlacesBarKey, "Place1"), Dword(17));
    EXPECT_EQ(Get(kPlacesBarKey, "Place2"), Dword(18));
}

// Where the code page is not UTF-8, a place that it cannot hold shows with
// stand-ins but is written back as it was stored, unless the row is changed.
TEST_F(MainWindowTest, APlaceTheCodePageCannotHoldIsWrittenBackUnchanged) {
    if (GetACP() == CP_UTF8)
        GTEST_SKIP() << "the process runs in UTF-8, which holds every place";
    const std::u16string cyrillic = u"C:\\Users\\\u0414\u043c\u0438\u0442\u0440\u0438\u0439";
    PutWide(kPlacesBarKey, "Place0", kRegSz, cyrillic);
    PutWide(kPlacesBarKey, "Place1", kRegSz, cyrillic);
    Open();
    EXPECT_EQ(Rows()[0].substr(0, 9), "C:\\Users\\");
    SelectRow(1);
    dialogs.folderAnswers = {"D:\\Chosen"};
    ClickImageButton(Part::ChangeButton);
    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(GetWide(kPlacesBarKey, "Place0"), cyrillic);
    EXPECT_EQ(Get(kPlacesBarKey, "Place1"), Sz("D:\\Chosen"));
}

// Values the rows cannot show, and a path too long for a row, are written back
// byte for byte after an edit of another row; OK without an edit writes nothing.
TEST_F(MainWindowTest, OkWritesOnlyWhatWasEdited) {
    const StoredValue kept[] = {{kRegBinary, "\1\2\3"},
                                {kRegMultiSz, std::string("a\0b\0\0", 5)},
                                {11, std::string(8, '\7')}, // REG_QWORD
                                Sz("C:\\" + std::string(40000, 'a'))};
    for (const bool edit : {false, true}) {
        for (int slot = 0; slot < 4; ++slot)
            Put(kPlacesBarKey, PlaceValueName(slot), kept[slot]);
        Open();
        dialogs.folderAnswers = {"D:\\Chosen"};
        SelectRow(4);
        if (edit)
            ClickImageButton(Part::ChangeButton);
        SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
        Pump();
        for (int slot = 0; slot < 4; ++slot)
            EXPECT_EQ(Get(kPlacesBarKey, PlaceValueName(slot)), kept[slot]) << slot;
        EXPECT_EQ(Get(kPlacesBarKey, "Count").has_value(), edit);
    }
}

} // namespace
} // namespace velbrook::testing
