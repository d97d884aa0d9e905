#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/ui/controls/test_window.h"
#include "ui/controls/places_list_view.h"

namespace velbrook::ui {
namespace {

using enum ListViewExtendedStyle;

TEST(ComCtlVersion, ComparisonTable) {
    struct Row {
        FileVersion file;
        bool passes;
    };
    const Row rows[] = {
        {{4, 0, 0, 0}, false},  {{4, 70, 0, 0}, true}, {{4, 71, 0, 0}, true},
        {{5, 81, 0, 0}, true},  {{6, 0, 0, 0}, true},  {{4, 69, 9999, 9999}, false},
        {{3, 99, 0, 0}, false}, {{4, 70, 0, 1}, true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(VersionAtLeast(row.file, kRequiredComCtlVersion), row.passes)
            << row.file[0] << "." << row.file[1] << "." << row.file[2] << "." << row.file[3];
}

TEST(ComCtlVersion, OldOrUnreadableVersionRaisesTheMessage) {
    try {
        RequireComCtlVersion(FileVersion{4, 0, 0, 0});
        FAIL() << "no error";
    } catch (const OldCommonControlsError& e) {
        EXPECT_STREQ(e.what(), "COMCTL32.DLL is older than required version");
    }
    EXPECT_THROW(RequireComCtlVersion(std::nullopt), OldCommonControlsError);
    EXPECT_NO_THROW(RequireComCtlVersion(FileVersion{4, 70, 0, 0}));
}

TEST(ComCtlVersion, ReadsTheInstalledLibrary) {
    EXPECT_TRUE(CheckDllVersion("COMCTL32.DLL", 4, 70, 0, 0));
    EXPECT_FALSE(CheckDllVersion("COMCTL32.DLL", 99, 0, 0, 0));
    EXPECT_FALSE(CheckDllVersion("no-such-library-here.dll", 0, 0, 0, 0));
}

TEST(ExtendedStyles, FlagsAndUnderlineRules) {
    const ListViewExtendedStyles window{FullRowSelect, InfoTip};
    EXPECT_EQ(window.Flags(), static_cast<std::uint32_t>(LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP));
    EXPECT_EQ(
        ListViewExtendedStyles::FromFlags(LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | 0x0200 | 0x8000),
        window);
    EXPECT_EQ(ListViewExtendedStyles{LabelTip}.Flags(), 0x4000u);
    EXPECT_TRUE(WithActivationForUnderline({UnderlineCold}).Has(OneClickActivate));
    EXPECT_TRUE(WithActivationForUnderline({UnderlineHot}).Has(OneClickActivate));
    EXPECT_FALSE(
        WithActivationForUnderline({UnderlineHot, TwoClickActivate}).Has(OneClickActivate));
    EXPECT_EQ(WithActivationForUnderline({GridLines}), ListViewExtendedStyles{GridLines});
}

// The window's list: "Path" and "#", five rows numbered 1 to 5.
class PlacesListViewTest : public ::testing::Test {
  protected:
    PlacesListViewTest() : list(Args(window.hwnd())) {
        for (int i = 0; i < 5; ++i)
            list.AddRow("", -1, {std::to_string(i + 1)});
        list.SetColumnOrder({1, 0});
        window.handler = [this](UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
            return message == WM_NOTIFY &&
                   list.HandleNotify(reinterpret_cast<NMHDR*>(lParam), result);
        };
    }
    static PlacesListViewArgs Args(HWND parent) {
        PlacesListViewArgs args;
        args.parent = parent;
        args.id = 100;
        args.bounds = RECT{88, 112, 491, 253};
        args.columns = {{"Path", 350}, {"#", 25}};
        args.extendedStyles = {ListViewExtendedStyle::FullRowSelect,
                               ListViewExtendedStyle::InfoTip};
        args.hideSelection = false;
        return args;
    }
    std::string InfoTip(int row, int subItem, int size, DWORD flags = 0, const char* preset = "") {
        std::string buffer(static_cast<std::size_t>(size) + 8, '@');
        std::memcpy(buffer.data(), preset, std::strlen(preset) + 1);
        NMLVGETINFOTIPA tip{};
        tip.hdr.hwndFrom = list.Handle();
        tip.hdr.idFrom = 100;
        tip.hdr.code = LVN_GETINFOTIPA;
        tip.dwFlags = flags;
        tip.pszText = buffer.data();
        tip.cchTextMax = size;
        tip.iItem = row;
        tip.iSubItem = subItem;
        LRESULT result = -1;
        EXPECT_TRUE(list.HandleNotify(&tip.hdr, result));
        EXPECT_EQ(buffer[static_cast<std::size_t>(size)], '@'); // nothing beyond the buffer
        return buffer.c_str();
    }

    test::TestWindow window;
    PlacesListView list;
};

TEST_F(PlacesListViewTest, StylesAndColumnOrderSurviveRecreation) {
    list.SetCaption(2, "C:\\Data");
    list.SetImageIndex(2, 3);
    list.SelectRow(2);
    const HWND before = list.Handle();
    list.RecreateHandle();
    EXPECT_NE(list.Handle(), before);
    EXPECT_EQ(SendMessageA(list.Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
              LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    EXPECT_EQ(list.ExtendedStyles(), (ListViewExtendedStyles{ListViewExtendedStyle::FullRowSelect,
                                                             ListViewExtendedStyle::InfoTip}));
    EXPECT_EQ(list.ColumnOrder(), (std::vector<int>{1, 0}));
    ASSERT_EQ(list.RowCount(), 5);
    EXPECT_EQ(list.Caption(2), "C:\\Data");
    EXPECT_EQ(list.ImageIndex(2), 3);
    EXPECT_EQ(list.SubItemText(4, 1), "5");
    EXPECT_EQ(list.SelectedIndex(), 2);
}

TEST_F(PlacesListViewTest, FontAndExtraStylesAreThereFromCreationAndSurviveRecreation) {
    const auto font = static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    PlacesListViewArgs args = Args(window.hwnd());
    args.font = font;
    args.extraStyle = WS_GROUP;
    PlacesListView grouped(args);
    for (int pass = 0; pass < 2; ++pass) {
        const HWND header = ListView_GetHeader(grouped.Handle());
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(grouped.Handle(), WM_GETFONT, 0, 0)), font);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(header, WM_GETFONT, 0, 0)), font);
        EXPECT_NE(GetWindowLongPtrA(grouped.Handle(), GWL_STYLE) & WS_GROUP, 0);
        // Redrawing, off while the list was put together, is back on.
        EXPECT_NE(GetWindowLongPtrA(grouped.Handle(), GWL_STYLE) & WS_VISIBLE, 0)
            << "pass " << pass;
        EXPECT_EQ(grouped.ColumnCount(), 2);
        grouped.RecreateHandle();
    }
}

TEST_F(PlacesListViewTest, SmallImagesAndLongColumnCaptionsSurviveRecreation) {
    const HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 4, 0);
    ASSERT_NE(images, nullptr);
    list.SetSmallImages(images);
    EXPECT_EQ(
        reinterpret_cast<HIMAGELIST>(SendMessageA(list.Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
        images);
    const std::string longCaption(600, 'c');
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(longCaption.c_str());
    SendMessageA(list.Handle(), LVM_SETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

    list.RecreateHandle();
    EXPECT_EQ(list.SmallImages(), images);
    EXPECT_EQ(
        reinterpret_cast<HIMAGELIST>(SendMessageA(list.Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
        images);
    std::string text(1024, '\0');
    column.pszText = text.data();
    column.cchTextMax = static_cast<int>(text.size());
    SendMessageA(list.Handle(), LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(std::string(text.c_str()), longCaption);

    list.SetSmallImages(nullptr);
    EXPECT_EQ(SendMessageA(list.Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
    ImageList_Destroy(images); // LVS_SHAREIMAGELISTS: the list never destroys it
}

TEST_F(PlacesListViewTest, InfoTips) {
    const std::string longPath = "C:\\" + std::string(300, 'x');
    list.SetCaption(0, longPath);
    list.SetCaption(1, "D:\\Work");
    EXPECT_EQ(InfoTip(0, 0, 1024), longPath);
    EXPECT_EQ(InfoTip(1, 1, 80), "D:\\Work"); // the "#" column gives the path too
    EXPECT_EQ(InfoTip(2, 0, 80, 0, "stale"), "");
    EXPECT_EQ(InfoTip(0, 0, 10), longPath.substr(0, 9));
    EXPECT_EQ(InfoTip(1, 0, 80, LVGIT_UNFOLDED, "Tip: "), "Tip: D:\\Work");
    EXPECT_EQ(InfoTip(1, 0, 8, LVGIT_UNFOLDED, "Tip: "), "Tip: D:");
}

TEST_F(PlacesListViewTest, MoveUpKeepsContentSelectionAndFocus) {
    for (int i = 0; i < 5; ++i) {
        list.SetCaption(i, std::string("P").append(std::to_string(i)));
        list.SetImageIndex(i, 10 + i);
    }
    list.SelectRow(2);
    list.MoveItem(2, 1);
    const char* captions[] = {"P0", "P2", "P1", "P3", "P4"};
    const char* numbers[] = {"1", "3", "2", "4", "5"};
    const int images[] = {10, 12, 11, 13, 14};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list.Caption(i), captions[i]) << i;
        EXPECT_EQ(list.SubItemText(i, 1), numbers[i]) << i;
        EXPECT_EQ(list.ImageIndex(i), images[i]) << i;
    }
    EXPECT_EQ(list.SelectedIndex(), 1);
    EXPECT_TRUE(list.IsFocused(1));
    EXPECT_EQ(list.UpdateCount(), 0);
}

TEST_F(PlacesListViewTest, MoveDownAndToTheEnd) {
    list.MoveItem(3, 4);
    EXPECT_EQ(list.SubItemText(3, 1), "5");
    EXPECT_EQ(list.SubItemText(4, 1), "4");
    list.MoveItem(0, 5);
    const char* numbers[] = {"2", "3", "5", "4", "1"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(list.SubItemText(i, 1), numbers[i]) << i;
}

TEST_F(PlacesListViewTest, MoveOutsideTheLimitsChangesNothing) {
    const std::pair<int, int> moves[] = {{2, 2}, {5, 1}, {-1, 0}, {1, -1}, {1, 6}};
    for (const auto& [from, to] : moves) {
        list.MoveItem(from, to);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(list.SubItemText(i, 1), std::to_string(i + 1)) << from << "->" << to;
    }
    EXPECT_EQ(list.RowCount(), 5);
}

TEST_F(PlacesListViewTest, LabelEditEventsInOrder) {
    std::string events;
    list.OnEditing = [&](int row, bool&) { events += "editing" + std::to_string(row) + ";"; };
    list.OnEdited = [&](int row, std::string& text) {
        events += "edited" + std::to_string(row) + ":" + text + ";";
        text += "!";
    };
    list.OnEditCanceled = [&](int row) { events += "canceled" + std::to_string(row) + ";"; };
    list.SetCaption(1, "old");
    ASSERT_TRUE(list.EditCaption(1));
    EXPECT_TRUE(list.IsEditing());
    HWND edit = reinterpret_cast<HWND>(SendMessageA(list.Handle(), LVM_GETEDITCONTROL, 0, 0));
    SetWindowTextA(edit, "D:\\Work");
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(list.Caption(1), "D:\\Work!");
    EXPECT_EQ(events, "editing1;edited1:D:\\Work;");

    events.clear();
    ASSERT_TRUE(list.EditCaption(1));
    list.CancelEdit();
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(events, "editing1;canceled1;");
    EXPECT_EQ(list.Caption(1), "D:\\Work!");
}

TEST_F(PlacesListViewTest, TheEditorHoldsAndReturnsCaptionsBeyondMaxPath) {
    const std::string longPath = "C:\\" + std::string(400, 'p') + "\\\xC4rger";
    list.SetCaption(3, longPath);
    ASSERT_TRUE(list.EditCaption(3));
    const HWND edit = reinterpret_cast<HWND>(SendMessageA(list.Handle(), LVM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetWindowTextLengthA(edit), static_cast<int>(longPath.size()));
    const std::string typed = longPath + "\\" + std::string(300, 'q');
    SetWindowTextA(edit, typed.c_str());
    SendMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_EQ(list.Caption(3), typed);
}

TEST_F(PlacesListViewTest, RefusedEditOpensNoEditor) {
    list.OnEditing = [](int, bool& allow) { allow = false; };
    EXPECT_FALSE(list.EditCaption(0));
    EXPECT_FALSE(list.IsEditing());
}

TEST_F(PlacesListViewTest, KeysReachTheHandlerAlsoFromTheEditor) {
    std::vector<WPARAM> keys;
    bool canceled = false;
    list.OnEditCanceled = [&](int) { canceled = true; };
    list.OnKeyDown = [&](WPARAM& key, unsigned) {
        keys.push_back(key);
        if (key == VK_F2 && list.SelectedIndex() >= 0)
            list.EditCaption(list.SelectedIndex());
        if (key == VK_ESCAPE && list.IsEditing()) {
            list.CancelEdit();
            key = 0;
        }
    };
    list.SelectRow(3);
    SendMessageA(list.Handle(), WM_KEYDOWN, VK_F2, 0);
    ASSERT_TRUE(list.IsEditing());
    HWND edit = reinterpret_cast<HWND>(SendMessageA(list.Handle(), LVM_GETEDITCONTROL, 0, 0));
    SendMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(list.IsEditing());
    EXPECT_TRUE(canceled);
    EXPECT_EQ(keys, (std::vector<WPARAM>{VK_F2, VK_ESCAPE}));
}

TEST_F(PlacesListViewTest, KeyHookSwallowsKeysAndFollowsRecreation) {
    EXPECT_TRUE(IsWindowUnicode(list.Handle())); // as its class made it
    bool swallow = true;
    int keys = 0;
    list.OnKeyDown = [&](WPARAM& key, unsigned) {
        ++keys;
        if (swallow)
            key = 0;
    };
    list.SelectRow(1);
    SendMessageA(list.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(list.SelectedIndex(), 1); // the list never saw it
    swallow = false;
    SendMessageA(list.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(list.SelectedIndex(), 2);
    EXPECT_EQ(keys, 2);

    // A handler that re-creates the list while its old window has the key.
    list.OnKeyDown = [&](WPARAM&, unsigned) {
        ++keys;
        list.RecreateHandle();
    };
    const HWND old = list.Handle();
    SendMessageA(old, WM_KEYDOWN, VK_UP, 0);
    EXPECT_FALSE(IsWindow(old));
    ASSERT_NE(list.Handle(), nullptr);
    EXPECT_TRUE(IsWindowUnicode(list.Handle()));
    list.OnKeyDown = [&](WPARAM&, unsigned) { ++keys; };
    SendMessageA(list.Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(keys, 4);
}

TEST(PlacesListViewLifetime, ParentDestroyedFirstLeavesNoWindow) {
    auto parent = std::make_unique<test::TestWindow>();
    PlacesListViewArgs args;
    args.parent = parent->hwnd();
    args.bounds = RECT{0, 0, 200, 100};
    args.columns = {{"Path", 150}};
    PlacesListView list(args);
    ASSERT_NE(list.Handle(), nullptr);
    parent.reset();
    EXPECT_EQ(list.Handle(), nullptr);
} // and the list's destructor has nothing left to destroy

TEST_F(PlacesListViewTest, RowAccessAndRequireComCtl) {
    EXPECT_EQ(list.RowCount(), 5);
    EXPECT_EQ(list.ColumnCount(), 2);
    EXPECT_EQ(list.SelectedIndex(), -1);
    EXPECT_EQ(list.ImageIndex(0), -1);
    EXPECT_FALSE(list.RequireComCtlUpdate());
    EXPECT_NO_THROW(list.SetRequireComCtlUpdate(true));
    EXPECT_TRUE(list.RequireComCtlUpdate());
}

} // namespace
} // namespace velbrook::ui
