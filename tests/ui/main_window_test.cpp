// The main window: creation from the registry, layout, OK, Cancel and the other
// ways of closing, help and web-site links, and the general error report.
#include "main_window_fixture.h"

#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/shell.h"
#include "ui/main_window_design.h"

namespace velbrook::testing {
namespace {

using ui::design::kIdCancel;
using ui::design::kIdCustomRadio;
using ui::design::kIdDefaultRadio;
using ui::design::kIdHelp;
using ui::design::kIdOk;

BOOL CALLBACK CollectFont(HWND child, LPARAM fonts) {
    reinterpret_cast<std::vector<HFONT>*>(fonts)->push_back(
        reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)));
    return TRUE;
}

TEST_F(MainWindowTest, EveryControlHasTheMessageFont) {
    Open();
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340; // without the padded-border field
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    std::vector<HFONT> fonts;
    EnumChildWindows(Window().hwnd(), CollectFont, reinterpret_cast<LPARAM>(&fonts));
    ASSERT_GE(fonts.size(), 8u); // the buttons, list, header, label and combo box
    LOGFONTA font{};
    ASSERT_NE(GetObjectA(fonts.front(), sizeof font, &font), 0);
    EXPECT_STREQ(font.lfFaceName, metrics.lfMessageFont.lfFaceName);
    EXPECT_EQ(font.lfHeight, metrics.lfMessageFont.lfHeight);
    for (HFONT each : fonts)
        EXPECT_EQ(each, fonts.front());
}

TEST_F(MainWindowTest, OpensWithTheLivePlacesBar) {
    struct Case {
        const char* what;
        bool createKey;
        std::vector<std::pair<std::string, StoredValue>> values;
        bool custom;
        PlacesList rows;
        std::vector<bool> icons;
    } cases[] = {
        {"no key", false, {}, false, {"", "", "", "", ""}, {false, false, false, false, false}},
        {"key without places",
         true,
         {},
         true,
         {"", "", "", "", ""},
         {false, false, false, false, false}},
        {"two places and binary data",
         true,
         {{"Place0", Sz("C:\\")}, {"Place3", Sz("D:\\Data")}, {"Place1", {kRegBinary, "\7"}}},
         true,
         {"C:\\", "", "", "D:\\Data", ""},
         {true, false, false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store.Clear();
        if (c.createKey)
            CreateKey(kPlacesBarKey);
        for (const auto& [name, value] : c.values)
            Put(kPlacesBarKey, name, value);
        Open();
        EXPECT_EQ(Rows(), c.rows);
        EXPECT_EQ(Checked(kIdCustomRadio), c.custom);
        EXPECT_EQ(Checked(kIdDefaultRadio), !c.custom);
        for (int row = 0; row < kPlaceSlots; ++row) {
            const int icon = List().ImageIndex(row);
            if (c.icons[row])
                EXPECT_EQ(icon, win32::GetSystemIconIndex(c.rows[row]));
            else
                EXPECT_EQ(icon, -1) << "row " << row;
        }
        EXPECT_EQ(Labels(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
        SendMessageA(Window().hwnd(), WM_CLOSE, 0, 0);
        Pump();
        EXPECT_FALSE(IsOpen());
    }
    EXPECT_TRUE(reports.empty());
}

TEST_F(MainWindowTest, IsBuiltAsDesigned) {
    Open();
    const HWND window = Window().hwnd();
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Velbrook");
    // The design's client area, scaled by the design font measured here.
    const HDC screen = GetDC(nullptr);
    const int th = MeasuredDesignTextHeight(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, (534 * th + 6) / 13);
    EXPECT_EQ(client.bottom, (359 * th + 6) / 13);

    // The list: "#" shown first, styles and image list.
    EXPECT_EQ(List().ColumnOrder(), (std::vector<int>{1, 0}));
    EXPECT_EQ(SendMessageA(List().Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
              LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(List().Handle(), GWL_STYLE));
    const DWORD wanted =
        LVS_REPORT | LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_SINGLESEL | LVS_SHAREIMAGELISTS;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_NE(Window().SystemSmallImages(), nullptr);
    EXPECT_EQ(SendMessageA(List().Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0),
              reinterpret_cast<LRESULT>(Window().SystemSmallImages()));
    EXPECT_EQ(GetFocus(), List().Handle());

    // Tab order: the two radio buttons, the list, the scheme box, help, OK, Cancel.
    std::vector<HWND> order;
    HWND at = Item(kIdDefaultRadio);
    for (int i = 0; i < 7; ++i) {
        order.push_back(at);
        at = GetNextDlgTabItem(window, at, FALSE);
    }
    EXPECT_EQ(order, (std::vector<HWND>{Item(kIdDefaultRadio), List().Handle(),
                                        Item(ui::design::kIdSchemeBox), Item(kIdHelp), Item(kIdOk),
                                        Item(kIdCancel), Item(kIdDefaultRadio)}));

    // Tab moves on in tab order; Alt+S through the scheme label focuses the scheme box.
    Press(List().Handle(), VK_TAB);
    EXPECT_EQ(GetFocus(), Item(ui::design::kIdSchemeBox));
    SetFocus(List().Handle());
    PostMessageA(List().Handle(), WM_SYSCHAR, 's', 1 << 29);
    Pump();
    EXPECT_EQ(GetFocus(), Item(ui::design::kIdSchemeBox));

    // Hints (with their shortcuts) and glyphs of the image buttons.
    EXPECT_EQ(Window().ImageButtonOf(Part::ChangeButton).Hint(), "Change selected item (F4)");
    EXPECT_EQ(Window().ImageButtonOf(Part::MoveUpButton).ImageIndex(), 5);
    EXPECT_EQ(Window().ImageButtonOf(Part::SaveButton).Hint(), "Save scheme (Ctrl+S)");
}

TEST_F(MainWindowTest, TheSchemeBoxDropsDownItsSchemes) {
    StoreSchemes({{"A", {"", "", "", "", ""}}, {"B", {"", "", "", "", ""}}});
    Open();
    const HWND combo = Item(ui::design::kIdSchemeBox);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    RECT list{};
    GetWindowRect(info.hwndList, &list);
    EXPECT_TRUE(IsWindowVisible(info.hwndList));
    EXPECT_GE(list.bottom - list.top, 2 * SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(MainWindowTest, ResizingKeepsTheMinimumAndAnchors) {
    Open();
    const HWND window = Window().hwnd();
    const HDC screen = GetDC(nullptr);
    const int th = MeasuredDesignTextHeight(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    const ui::layout::Size minimum{(550 * th + 6) / 13, (395 * th + 6) / 13};
    SetWindowPos(window, nullptr, 0, 0, 200, 100, SWP_NOMOVE | SWP_NOZORDER);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, minimum.width);
    EXPECT_EQ(outer.bottom - outer.top, minimum.height);

    SetWindowPos(window, nullptr, 0, 0, minimum.width, minimum.height, SWP_NOMOVE | SWP_NOZORDER);
    const auto measure = [&] {
        struct Placement {
            RECT client, list, ok;
            RECT change;
        } p{};
        GetClientRect(window, &p.client);
        GetWindowRect(List().Handle(), &p.list);
        GetWindowRect(Item(kIdOk), &p.ok);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&p.ok), 2);
        p.change = Window().ImageButtonOf(Part::ChangeButton).Bounds();
        return p;
    };
    const auto before = measure();
    SetWindowPos(window, nullptr, 0, 0, minimum.width + 100, minimum.height + 60,
                 SWP_NOMOVE | SWP_NOZORDER);
    const auto after = measure();
    EXPECT_EQ(after.list.right - after.list.left, before.list.right - before.list.left + 100);
    EXPECT_EQ(after.list.bottom - after.list.top, before.list.bottom - before.list.top + 60);
    EXPECT_EQ(after.client.right - after.change.right, before.client.right - before.change.right);
    EXPECT_EQ(after.change.top, before.change.top);
    EXPECT_EQ(after.client.bottom - after.ok.bottom, before.client.bottom - before.ok.bottom);
    EXPECT_EQ(after.client.right - after.ok.right, before.client.right - before.ok.right);
}

TEST_F(MainWindowTest, OkAppliesTheChoice) {
    // Default buttons: the key goes whatever the rows hold.
    StorePlaces({"C:\\", "D:\\", "", "", ""});
    Open();
    SendMessageA(Item(kIdDefaultRadio), BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(Item(kIdCustomRadio), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(IsOpen());
    EXPECT_FALSE(KeyExists(kPlacesBarKey));

    // Custom with five empty rows keeps a key without places.
    Open();
    SendMessageA(Item(kIdCustomRadio), BM_CLICK, 0, 0);
    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(IsOpen());
    EXPECT_TRUE(KeyExists(kPlacesBarKey));
    EXPECT_EQ(Get(kPlacesBarKey, "Count"), Dword(5));
    EXPECT_FALSE(Get(kPlacesBarKey, "Place0"));
}

TEST_F(MainWindowTest, EveryOtherWayOfClosingLeavesThePlacesBarAndSavesSchemes) {
    const auto close = [this](const char* route) { CloseBy(route); };
    for (const char* route : {"Cancel", "Esc", "close box", "Alt+F4", "session end"}) {
        SCOPED_TRACE(route);
        store.Clear();
        StorePlaces({"C:\\", "", "", "", ""});
        Open();
        SelectRow(0);
        ClickImageButton(Part::ClearButton); // clears row 0 in the window only
        dialogs.inputAnswers.push_back(route);
        ClickImageButton(Part::AddSchemeButton);
        EXPECT_TRUE(StoredSchemes().empty()) << "saved before closing";
        close(route);
        EXPECT_EQ(IsOpen(), std::string(route) == "session end");
        EXPECT_EQ(Get(kPlacesBarKey, "Place0"), Sz("C:\\"));
        const auto stored = StoredSchemes();
        ASSERT_EQ(stored.size(), 1u);
        EXPECT_EQ(stored[0].first, route);
        EXPECT_EQ(stored[0].second, (PlacesList{"", "", "", "", ""}));
    }
}

// Schemes that the window did not change are not written back: what another
// program stored meanwhile stays, and so do pending edits, which every reader merges.
TEST_F(MainWindowTest, ClosingWithoutSchemeEditsLeavesTheStoreAsItIs) {
    for (const char* route : {"Ok", "Cancel", "Esc", "close box", "Alt+F4"}) {
        SCOPED_TRACE(route);
        store.Clear();
        StoreSchemes({{"Alpha", {"A", "", "", "", ""}}});
        Open();
        StoreSchemes(
            {{"Alpha", {"A", "", "", "", ""}}, {"Added meanwhile", {"M", "", "", "", ""}}});
        CloseBy(route);
        EXPECT_FALSE(IsOpen());
        const auto stored = StoredSchemes();
        ASSERT_EQ(stored.size(), 2u);
        EXPECT_EQ(stored[1].first, "Added meanwhile");
    }

    store.Clear();
    StoreSchemes({{"Alpha", {"A", "", "", "", ""}}});
    Put(kSchemesKey + "\\0\\Add", "0", Sz("E:\\Pending"));
    Open();
    CloseBy("Esc");
    EXPECT_EQ(Get(kSchemesKey + "\\0\\Add", "0"), Sz("E:\\Pending"));
    EXPECT_EQ(Get(kSchemesKey + "\\0", "6"), std::nullopt);
}

TEST_F(MainWindowTest, RegistryErrorOnOkIsReportedAndTheWindowStays) {
    Open();
    SendMessageA(Item(kIdCustomRadio), BM_CLICK, 0, 0);
    SelectRow(0);
    dialogs.folderAnswers.push_back("C:\\Windows");
    ClickImageButton(Part::ChangeButton);
    store.FailWriteOf("Place0");
    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Failed to set data for 'Place0'");
    EXPECT_TRUE(IsOpen());
    EXPECT_EQ(Rows()[0], "C:\\Windows");

    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(Get(kPlacesBarKey, "Place0"), Sz("C:\\Windows"));
}

TEST_F(MainWindowTest, RadioDoubleClickChecksAndApplies) {
    StorePlaces({"C:\\", "", "", "", ""});
    Open();
    SendMessageA(Window().hwnd(), WM_COMMAND, MAKEWPARAM(kIdDefaultRadio, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(Item(kIdDefaultRadio)));
    Pump();
    EXPECT_FALSE(IsOpen());
    EXPECT_FALSE(KeyExists(kPlacesBarKey));

    Open();
    EXPECT_TRUE(Checked(kIdDefaultRadio));
    SelectRow(2);
    dialogs.folderAnswers.push_back("C:\\Temp");
    ClickImageButton(Part::ChangeButton);
    SendMessageA(Item(kIdDefaultRadio), BM_CLICK, 0, 0);
    SendMessageA(Window().hwnd(), WM_COMMAND, MAKEWPARAM(kIdCustomRadio, BN_DOUBLECLICKED),
                 reinterpret_cast<LPARAM>(Item(kIdCustomRadio)));
    Pump();
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(Get(kPlacesBarKey, "Place2"), Sz("C:\\Temp"));
}

TEST_F(MainWindowTest, HelpAndTheWebSiteOpenDocuments) {
    Open();
    SendMessageA(Item(kIdHelp), BM_CLICK, 0, 0);
    MouseDownAt(Part::WebSiteLink);
    MouseDownAt(Part::Logo, WM_RBUTTONDOWN);
    ASSERT_EQ(dialogs.documents.size(), 3u);
    const std::string help = dialogs.documents[0].fileName;
    EXPECT_EQ(help.substr(help.size() - 15), "\\How to use.txt");
    for (const OpenedDocument& document : dialogs.documents) {
        EXPECT_EQ(document.verb, "open");
        EXPECT_EQ(document.parameters, "");
        EXPECT_FALSE(document.wait);
    }
    EXPECT_EQ(dialogs.documents[1].fileName, ui::design::kMakerWebSite);
    EXPECT_EQ(dialogs.documents[2].fileName, ui::design::kMakerWebSite);
    EXPECT_TRUE(IsOpen());
}

TEST_F(MainWindowTest, DamagedSchemeIsSkippedAndNotOverwritten) {
    StoreSchemes({{"Alpha", {"A", "", "", "", ""}},
                  {"Broken", {"B", "", "", "", ""}},
                  {"Gamma", {"G", "", "", "", ""}}});
    Put(kSchemesKey + "\\1", "0", Dword(1)); // the name is not a string
    StorePlaces({"C:\\", "", "", "", ""});
    Open();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              FormatText(msg::kSchemesDamaged, "Invalid data type for '0'"));
    EXPECT_EQ(dialogs.messages[0].caption, "Error");
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(SchemeNames(), (std::vector<std::string>{"Alpha", "Gamma"}));
    EXPECT_EQ(Rows()[0], "C:\\");
    EXPECT_TRUE(Checked(kIdCustomRadio));
    EXPECT_EQ(List().ColumnOrder(), (std::vector<int>{1, 0}));
    EXPECT_NE(SendMessageA(List().Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
    SendMessageA(Item(kIdCancel), BM_CLICK, 0, 0);
    Pump();
    EXPECT_EQ(Get(kSchemesKey, "Count"), Dword(3));
    EXPECT_EQ(Get(kSchemesKey + "\\1", "0"), Dword(1));
    EXPECT_EQ(Get(kSchemesKey + "\\2", "0"), Sz("Gamma"));
}

// Whatever the scheme store holds, the window reads the places bar; the schemes
// are left as they are, and the user learns that changes to them cannot be saved.
TEST_F(MainWindowTest, SchemesThatCannotBeLoadedAreNotOverwritten) {
    struct Case {
        StoredValue count;
        const char* problem;
    };
    const Case cases[] = {{Sz("3"), "Invalid data type for 'Count'"},
                          {{kRegBinary, std::string(8, '\1')}, "Failed to get data for 'Count'"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        store.Clear();
        reports.clear();
        dialogs.messages.clear();
        StoreSchemes({{"Alpha", {"A", "", "", "", ""}}});
        Put(kSchemesKey, "Count", c.count);
        StorePlaces({"C:\\", "", "D:\\Data", "", ""});
        Open();
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, FormatText(msg::kSchemesDamaged, c.problem));
        EXPECT_EQ(dialogs.messages[0].caption, "Error");
        EXPECT_TRUE(reports.empty());
        EXPECT_EQ(Rows(), (PlacesList{"C:\\", "", "D:\\Data", "", ""}));
        EXPECT_TRUE(Checked(kIdCustomRadio));
        EXPECT_EQ(List().ColumnOrder(), (std::vector<int>{1, 0}));

        dialogs.inputAnswers = {"Beta"};
        ClickImageButton(Part::AddSchemeButton);
        ASSERT_FALSE(dialogs.messages.empty());
        EXPECT_EQ(dialogs.messages.back().text, msg::kSchemesNotSavedThisTime);

        SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
        Pump();
        EXPECT_FALSE(IsOpen());
        EXPECT_EQ(Get(kPlacesBarKey, "Place2"), Sz("D:\\Data"));
        EXPECT_EQ(Get(kSchemesKey, "Count"), c.count);
        EXPECT_EQ(Get(kSchemesKey + "\\0", "0"), Sz("Alpha"));
        EXPECT_FALSE(KeyExists(kSchemesKey + "\\1"));
    }
}

} // namespace
} // namespace velbrook::testing
