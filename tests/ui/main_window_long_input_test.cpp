// Row captions beyond MAX_PATH and with characters above 127: browsing, typing
// in place, OK, the info tip, the places file and the schemes keep them whole.
#include "main_window_fixture.h"

#include "support/code_page.h"
#include "support/files.h"
#include "support/win32/windows_ansi.h"
#include "testlib/long_folder_win32.h"
#include "ui/main_window_design.h"

namespace velbrook::testing {
namespace {

using ui::design::kIdCancel;
using ui::design::kIdOk;

const std::string kBrowsed = "C:\\" + std::string(320, 'b') + "\\\xC4rger Caf\xE9 \xFF";
const std::string kTyped = "\\\\server\\" + std::string(400, 't') + "\\\xE4\xF6\xFC";

std::string TipOf(HWND window, HWND list, int row, int size) {
    std::string buffer(static_cast<std::size_t>(size) + 1, '@');
    buffer[0] = '\0';
    NMLVGETINFOTIPA tip{};
    tip.hdr.hwndFrom = list;
    tip.hdr.idFrom = GetDlgCtrlID(list);
    tip.hdr.code = LVN_GETINFOTIPA;
    tip.pszText = buffer.data();
    tip.cchTextMax = size;
    tip.iItem = row;
    SendMessageA(window, WM_NOTIFY, tip.hdr.idFrom, reinterpret_cast<LPARAM>(&tip));
    EXPECT_EQ(buffer[static_cast<std::size_t>(size)], '@') << "written beyond the tip buffer";
    return buffer.c_str();
}

TEST_F(MainWindowTest, LongCaptionsFromBrowsingAndTypingReachThePlacesBarWhole) {
    Open();
    SelectRow(1);
    dialogs.folderAnswers.push_back(kBrowsed);
    ClickImageButton(Part::ChangeButton);
    EXPECT_EQ(Rows()[1], kBrowsed);

    SelectRow(4);
    SetFocus(List().Handle());
    Press(List().Handle(), VK_F2);
    ASSERT_NE(Editor(), nullptr);
    SetWindowTextA(Editor(), kTyped.c_str());
    Press(Editor(), VK_RETURN);
    EXPECT_EQ(Rows()[4], kTyped);

    // Editing again starts from the whole caption.
    Press(List().Handle(), VK_F2);
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(GetWindowTextLengthA(Editor()), static_cast<int>(kTyped.size()));
    Press(Editor(), VK_RETURN);
    EXPECT_EQ(Rows()[4], kTyped);

    // The folder does not exist: a line about that may follow, once it is known.
    EXPECT_EQ(TipOf(Window().hwnd(), List().Handle(), 1, 1024).substr(0, kBrowsed.size() + 1),
              kBrowsed + (Window().List().Overlay(1) != 0 ? "\r" : ""));
    EXPECT_EQ(TipOf(Window().hwnd(), List().Handle(), 4, 80), kTyped.substr(0, 79));

    SendMessageA(Item(kIdOk), BM_CLICK, 0, 0);
    Pump();
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(Get(kPlacesBarKey, "Place1"), Sz(kBrowsed));
    EXPECT_EQ(Get(kPlacesBarKey, "Place4"), Sz(kTyped));
}

TEST_F(MainWindowTest, LongCaptionsAreSavedWholeToSchemesAndThePlacesFile) {
    StorePlaces({kBrowsed, "", "", "", kTyped});
    Open();
    EXPECT_EQ(Rows(), (PlacesList{kBrowsed, "", "", "", kTyped}));

    const std::string schemeName = "\xC4" + std::string(300, 'n');
    dialogs.inputAnswers = {schemeName};
    ClickImageButton(Part::AddSchemeButton);
    ASSERT_EQ(SchemeNames(), (std::vector<std::string>{schemeName}));
    EXPECT_EQ(Window().Schemes().Places(0), (PlacesList{kBrowsed, "", "", "", kTyped}));

    const LongFolder folder(TemporaryFolderPath(), {"vb-ui-\xE9", "\xFF", "places"});
    ASSERT_TRUE(folder.Created());
    const std::string file = folder.Path() + "\\\xC4.ini";
    dialogs.fileNameAnswers = {file};
    ClickImageButton(Part::SaveButton);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(file, bytes)) << file;
    // Written as UTF-8.
    EXPECT_NE(bytes.find(TextForFile("Place0=" + kBrowsed + "\r\n")), std::string::npos) << bytes;
    EXPECT_NE(bytes.find(TextForFile("Place4=" + kTyped + "\r\n")), std::string::npos) << bytes;

    SendMessageA(Item(kIdCancel), BM_CLICK, 0, 0);
    Pump();
    const auto stored = StoredSchemes();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].first, schemeName);
    EXPECT_EQ(stored[0].second, (PlacesList{kBrowsed, "", "", "", kTyped}));
}

} // namespace
} // namespace velbrook::testing
