// The window at the display's resolution and message font, whatever they are:
// tests/ui/scaled_runs.sh runs these again at 120, 144 and 192 pixels per inch,
// at 192 on an 800 x 600 screen and with a message font larger than the design
// font.
#include "main_window_fixture.h"

#include <cmath>
#include <functional>
#include <optional>
#include <cstdlib>
#include <string>

#include "testlib/reference_art.h"
#include "ui/main_window_design.h"
#include "window_pictures.h"

namespace velbrook::testing {
namespace {

int ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// A design length at a text height, as the design asks: the ratio to 13, rounded.
int Scaled(int value, int textHeight) {
    return static_cast<int>(std::lround(value * textHeight / 13.0));
}

LOGFONTA FontOf(HFONT font) {
    LOGFONTA logFont{};
    GetObjectA(font, sizeof logFont, &logFont);
    return logFont;
}

LOGFONTA SystemMessageFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = 340; // without the padded-border field
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    return metrics.lfMessageFont;
}

SIZE OuterSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
}

RECT WorkArea(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

// The design's minimum outer size at a text height, where the work area holds it.
SIZE FittedMinimum(HWND window, int textHeight) {
    const RECT work = WorkArea(window);
    return {std::min<LONG>(Scaled(550, textHeight), work.right - work.left),
            std::min<LONG>(Scaled(395, textHeight), work.bottom - work.top)};
}

// A picture's size at a resolution, as the user should get it: its size at 96
// pixels per inch scaled, give or take the rounding of a drawn size.
bool NearScaled(int size, int designSize, int dpi) {
    const double wanted = designSize * dpi / 96.0;
    return size >= wanted - 2 && size <= wanted + 1;
}

// How many pixels differ, and the rectangle around them.
std::string DifferingPixels(const ui::art::PixelImage& a, const ui::art::PixelImage& b) {
    if (a.pixels.size() != b.pixels.size())
        return "the sizes differ";
    int count = 0;
    RECT around{a.width, a.height, 0, 0};
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (a.At(x, y) == b.At(x, y))
                continue;
            ++count;
            around = {std::min<LONG>(around.left, x), std::min<LONG>(around.top, y),
                      std::max<LONG>(around.right, x + 1), std::max<LONG>(around.bottom, y + 1)};
        }
    }
    return std::to_string(count) + " pixels differ, within (" + std::to_string(around.left) + ", " +
           std::to_string(around.top) + ")-(" + std::to_string(around.right) + ", " +
           std::to_string(around.bottom) + ")";
}

class MainWindowScaling : public MainWindowTest {
  protected:
    // The run's settings, so that one the system ignored cannot pass unnoticed.
    void SetUp() override {
        MainWindowTest::SetUp();
        if (const char* dpi = std::getenv("VELBROOK_TEST_DPI")) {
            ASSERT_EQ(ScreenDpi(), std::atoi(dpi));
        }
        if (const char* face = std::getenv("VELBROOK_TEST_MESSAGE_FONT")) {
            ASSERT_STREQ(SystemMessageFont().lfFaceName, face);
        }
        if (const char* screen = std::getenv("VELBROOK_TEST_SCREEN")) {
            ASSERT_EQ(std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                          std::to_string(GetSystemMetrics(SM_CYSCREEN)),
                      screen);
        }
        // A row with an icon, for the list's pictures.
        StorePlaces({"C:\\", "", "", "", ""});
    }

    static std::string PartName(const ui::design::Control& control) {
        return "part " + std::to_string(static_cast<int>(control.part));
    }

    // Every control the user sees, in client coordinates, but the band behind the buttons.
    std::vector<std::pair<std::string, RECT>> Controls() {
        std::vector<std::pair<std::string, RECT>> controls;
        const HWND window = Window().hwnd();
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsWindowVisible(child))
                continue;
            RECT r{};
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
            controls.emplace_back("control " + std::to_string(GetDlgCtrlID(child)), r);
        }
        for (const ui::design::Control& control : ui::design::Controls()) {
            if (control.kind == ui::design::Kind::ImageButton) {
                controls.emplace_back(PartName(control),
                                      Window().ImageButtonOf(control.part).Bounds());
            } else if (control.kind == ui::design::Kind::Picture ||
                       control.kind == ui::design::Kind::Link) {
                controls.emplace_back(PartName(control), Window().PlacedRect(control.part));
            }
        }
        return controls;
    }

    void ExpectApartAndInside(const char* when) {
        SCOPED_TRACE(when);
        RECT client{};
        GetClientRect(Window().hwnd(), &client);
        const auto controls = Controls();
        EXPECT_EQ(controls.size(), 17u);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const auto& [name, r] = controls[i];
            RECT inside{};
            IntersectRect(&inside, &r, &client);
            EXPECT_TRUE(!IsRectEmpty(&r) && EqualRect(&inside, &r)) << name << " leaves the client";
            for (std::size_t j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(Overlap(r, controls[j].second))
                    << name << " and " << controls[j].first;
        }
        // The link's text fits its place in the link's own font.
        const HDC screen = GetDC(nullptr);
        const HGDIOBJ old = SelectObject(screen, Window().LinkFont());
        SIZE text{};
        GetTextExtentPoint32A(screen, "Visit our web site for more software", 36, &text);
        SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
        const RECT link = Window().PlacedRect(Part::WebSiteLink);
        EXPECT_LE(text.cx, link.right - link.left);
        EXPECT_LE(text.cy, link.bottom - link.top + 2);
    }

    // The pictures for a resolution, as the window shows them: each image
    // button's glyph (enabled or not) and the logo drawn for their size at that
    // resolution, centred, and at 96 pixels per inch the committed art pixel
    // for pixel; the list's icons of that size; the scheme label as wide as
    // its text.
    void ExpectPicturesFor(int dpi) {
        // Read back from the screen: the whole window on it.
        const RECT work = WorkArea(Window().hwnd());
        SetWindowPos(Window().hwnd(), nullptr, work.left, work.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        const ui::art::PixelImage screen = CaptureClient(Window().hwnd());
        for (const ui::design::Control& control : ui::design::Controls()) {
            if (control.kind != ui::design::Kind::ImageButton)
                continue;
            SCOPED_TRACE(PartName(control));
            const ui::ImageButton& button = Window().ImageButtonOf(control.part);
            const RECT b = button.Bounds();
            const RECT g = button.ImageRect();
            const int size = g.right - g.left;
            EXPECT_EQ(g.bottom - g.top, size);
            EXPECT_TRUE(NearScaled(size, 16, dpi)) << size;
            EXPECT_NEAR(g.left - b.left, b.right - g.right, 1);
            EXPECT_NEAR(g.top - b.top, b.bottom - g.bottom, 1);
            const ui::art::PixelImage art =
                size == 16 ? ReferenceGlyphStrip() : ui::art::DrawGlyphStrip(size);
            EXPECT_EQ(ArtDifferences(screen, {g.left, g.top}, art, control.imageIndex * size, size),
                      0);
            for (int factor = 2; factor <= size / 16; ++factor)
                EXPECT_FALSE(EnlargedBy(screen, g, factor)) << factor;
        }
        const RECT logo = Window().LogoRect();
        const int logoSize = logo.right - logo.left;
        EXPECT_TRUE(NearScaled(logoSize, 48, dpi)) << logoSize;
        const ui::art::PixelImage logoArt =
            logoSize == 48 ? ReferenceLogo() : ui::art::DrawLogo(logoSize);
        EXPECT_EQ(ArtDifferences(screen, {logo.left, logo.top}, logoArt, 0, logoSize), 0);

        const HIMAGELIST icons = reinterpret_cast<HIMAGELIST>(
            SendMessageA(List().Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        int iconSize = 0;
        int iconHeight = 0;
        ASSERT_TRUE(ImageList_GetIconSize(icons, &iconSize, &iconHeight));
        EXPECT_TRUE(NearScaled(iconSize, 16, dpi)) << iconSize;
        EXPECT_LT(List().ImageIndex(0), ImageList_GetImageCount(icons));
        EXPECT_GE(List().ImageIndex(0), 0);

        const HWND label = Item(ui::design::kIdSchemeLabel);
        char text[64] = {};
        const int length = GetWindowTextA(label, text, sizeof text);
        std::string shown(text, static_cast<std::size_t>(length));
        std::erase(shown, '&');
        const HDC dc = GetDC(label);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        RECT r{};
        GetWindowRect(label, &r);
        EXPECT_GE(r.right - r.left, extent.cx);
        EXPECT_LE(r.right - r.left,
                  std::max<LONG>(extent.cx + 2, Scaled(126, Window().TextHeight()) + 1));
    }

    // Scale, minimum size and fonts for a resolution, against the design font
    // measured there. Without `ownFrame` the frame is of another resolution (a
    // move between monitors, imitated): the minimum then holds the design's
    // client area in that frame.
    void ExpectScaledFor(int dpi, const LOGFONTA& messageFont, bool ownFrame) {
        const int textHeight = MeasuredDesignTextHeight(dpi);
        SCOPED_TRACE("design text height " + std::to_string(textHeight));
        EXPECT_EQ(Window().TextHeight(), textHeight);
        const LOGFONTA font = FontOf(
            reinterpret_cast<HFONT>(SendMessageA(Item(ui::design::kIdOk), WM_GETFONT, 0, 0)));
        EXPECT_STREQ(font.lfFaceName, messageFont.lfFaceName);
        EXPECT_EQ(font.lfHeight, messageFont.lfHeight);
        EXPECT_EQ(FontOf(Window().LinkFont()).lfHeight, -Scaled(16, textHeight));

        const HWND window = Window().hwnd();
        SetWindowPos(window, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
        const SIZE minimum = OuterSize(window);
        const SIZE fitted = FittedMinimum(window, textHeight);
        if (ownFrame) {
            EXPECT_EQ(minimum.cx, fitted.cx);
            EXPECT_EQ(minimum.cy, fitted.cy);
        } else {
            EXPECT_GE(minimum.cx, fitted.cx);
            EXPECT_GE(minimum.cy, fitted.cy);
        }
        RECT client{};
        GetClientRect(window, &client);
        if (fitted.cx == Scaled(550, textHeight) && fitted.cy == Scaled(395, textHeight)) {
            EXPECT_GE(client.right, Scaled(534, textHeight));
            EXPECT_GE(client.bottom, Scaled(359, textHeight));
        }
        ExpectApartAndInside("at the minimum size");
        ExpectPicturesFor(dpi);
        SetWindowPos(window, nullptr, 0, 0, minimum.cx + 120, minimum.cy + 80,
                     SWP_NOMOVE | SWP_NOZORDER);
        ExpectApartAndInside("enlarged");
    }
};

TEST_F(MainWindowScaling, SizesFollowTheDesignFontNotTheMessageFont) {
    Open();
    const int textHeight = MeasuredDesignTextHeight(ScreenDpi());
    RECT client{};
    GetClientRect(Window().hwnd(), &client);
    if (FittedMinimum(Window().hwnd(), textHeight).cy == Scaled(395, textHeight)) {
        EXPECT_EQ(client.right, Scaled(534, textHeight));
        EXPECT_EQ(client.bottom, Scaled(359, textHeight));
    }
    ExpectScaledFor(ScreenDpi(), SystemMessageFont(), true);
}

// On a screen too small for the design at its resolution the window takes the
// work area and stays usable: the list gives up the room first, the buttons
// beside it close up, nothing overlaps or leaves the window. Where the design
// fits, the window has the design's size.
TEST_F(MainWindowScaling, TheWindowStaysInsideTheWorkArea) {
    Open();
    const HWND window = Window().hwnd();
    const int textHeight = Window().TextHeight();
    RECT outer{};
    GetWindowRect(window, &outer);
    const RECT work = WorkArea(window);
    RECT inside{};
    IntersectRect(&inside, &outer, &work);
    EXPECT_TRUE(EqualRect(&inside, &outer));

    RECT designOuter{0, 0, Scaled(534, textHeight), Scaled(359, textHeight)};
    AdjustWindowRectEx(&designOuter, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)),
                       FALSE, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    const SIZE size = OuterSize(window);
    EXPECT_EQ(size.cx, std::min(designOuter.right - designOuter.left, work.right - work.left));
    EXPECT_EQ(size.cy, std::min(designOuter.bottom - designOuter.top, work.bottom - work.top));
    ExpectApartAndInside("as created");
    const RECT list = Window().PlacedRect(Part::PlacesList);
    const RECT save = Window().ImageButtonOf(Part::SaveButton).Bounds();
    if (size.cy < designOuter.bottom - designOuter.top) {
        EXPECT_LT(list.bottom - list.top, Scaled(141, textHeight));
        EXPECT_NEAR(save.bottom - save.top, Scaled(22, textHeight), 1);
    }
}

// What the window shows once it has settled is what a full repaint draws, in
// every state that changes the rows: at start, after each kind of edit, after
// choosing a scheme and after a change of resolution.
TEST_F(MainWindowScaling, WhatIsOnScreenIsWhatAFullRepaintDraws) {
    const std::optional<std::string> none;
    const auto putBar = [this](const std::vector<std::optional<std::string>>& slots) {
        store.Clear();
        for (int slot = 0; slot < 5; ++slot) {
            if (slots[slot])
                Put(kPlacesBarKey, PlaceValueName(slot), Sz(*slots[slot]));
        }
    };
    struct Case {
        const char* what;
        std::vector<std::optional<std::string>> bar;
        std::function<void()> edit;
    };
    const auto nothing = [] {};
    const auto ClientWidth = [this] {
        RECT client{};
        GetClientRect(Window().hwnd(), &client);
        return static_cast<int>(client.right);
    };
    const Case cases[] = {
        {"no places", {none, none, none, none, none}, nothing},
        {"one place", {"C:\\", none, none, none, none}, nothing},
        {"a gap", {"C:\\users", none, "C:\\windows", none, none}, nothing},
        {"two adjacent places", {none, "C:\\", "C:\\users", none, none}, nothing},
        {"five places", {"C:\\", "C:\\users", "C:\\windows", "C:\\", "C:\\users"}, nothing},
        {"a change",
         {"C:\\", none, none, none, none},
         [this] {
             SelectRow(2);
             dialogs.folderAnswers.push_back("C:\\windows");
             ClickImageButton(Part::ChangeButton);
         }},
        {"a clear",
         {"C:\\", "C:\\users", none, none, none},
         [this] {
             SelectRow(1);
             ClickImageButton(Part::ClearButton);
         }},
        {"a move",
         {"C:\\", none, "C:\\users", none, none},
         [this] {
             SelectRow(0);
             ClickImageButton(Part::MoveDownButton);
         }},
        {"an edit in place",
         {none, "C:\\", none, none, none},
         [this] {
             SelectRow(3);
             Press(List().Handle(), VK_F2);
             SetWindowTextA(Editor(), "C:\\users");
             Press(Editor(), VK_RETURN);
         }},
        {"a scheme",
         {none, none, none, none, none},
         [this] {
             StoreSchemes({{"Gaps", {"C:\\", "", "C:\\users", "", ""}}});
             CloseBy("Cancel");
             Open();
             ChooseScheme(0);
         }},
        {"a change of resolution",
         {"C:\\", none, "C:\\users", none, none},
         [this] {
             const int dpi = Window().Dpi();
             const int other = dpi == 144 ? 96 : 144;
             RECT suggested{};
             GetWindowRect(Window().hwnd(), &suggested);
             SendMessageA(Window().hwnd(), WM_DPICHANGED, MAKEWPARAM(other, other),
                          reinterpret_cast<LPARAM>(&suggested));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        putBar(c.bar);
        Open();
        c.edit();
        // The pointer rests where nothing reacts to it (a control under it may look hot).
        POINT blank{ClientWidth() - 2, 2};
        ClientToScreen(Window().hwnd(), &blank);
        SetCursorPos(blank.x, blank.y);
        Pump();
        const ui::art::PixelImage shown = CaptureShownClient(Window().hwnd());
        RedrawWindow(Window().hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        const ui::art::PixelImage repainted = CaptureShownClient(Window().hwnd());
        ASSERT_FALSE(shown.pixels.empty());
        EXPECT_TRUE(shown.pixels == repainted.pixels) << DifferingPixels(shown, repainted);
        CloseBy("Cancel");
    }
}

TEST_F(MainWindowScaling, MovingToAMonitorOfAnotherResolutionLaysTheWindowOut) {
    Open();
    const int dpi = ScreenDpi();
    for (const int other : {dpi == 144 ? 96 : 144, dpi}) {
        SCOPED_TRACE(other);
        RECT suggested{};
        GetWindowRect(Window().hwnd(), &suggested);
        suggested.right = suggested.left + MulDiv(suggested.right - suggested.left, other, dpi);
        suggested.bottom = suggested.top + MulDiv(suggested.bottom - suggested.top, other, dpi);
        SendMessageA(Window().hwnd(), WM_DPICHANGED, MAKEWPARAM(other, other),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(Window().Dpi(), other);
        LOGFONTA messageFont = SystemMessageFont();
        messageFont.lfHeight = MulDiv(messageFont.lfHeight, other, dpi);
        ExpectScaledFor(other, messageFont, other == dpi);
    }
}

} // namespace
} // namespace velbrook::testing
