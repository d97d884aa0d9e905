// The window at the display's resolution and message font, whatever they are:
// tests/ui/scaled_runs.sh runs these again at 120, 144 and 192 pixels per inch
// and with a message font larger than the design font.
#include "main_window_fixture.h"

#include <cmath>
#include <cstdlib>

#include "ui/main_window_design.h"

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

    // Each glyph stands in the middle of its button, at a whole multiple of its 16 pixels.
    void ExpectGlyphsCentred() {
        for (const ui::design::Control& control : ui::design::Controls()) {
            if (control.kind != ui::design::Kind::ImageButton)
                continue;
            const RECT b = Window().ImageButtonOf(control.part).Bounds();
            const RECT g = Window().ImageButtonOf(control.part).ImageRect();
            EXPECT_TRUE(g.right - g.left == g.bottom - g.top && (g.right - g.left) % 16 == 0);
            EXPECT_NEAR(g.left - b.left, b.right - g.right, 1) << PartName(control);
            EXPECT_NEAR(g.top - b.top, b.bottom - g.bottom, 1) << PartName(control);
        }
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
        if (ownFrame) {
            EXPECT_EQ(minimum.cx, Scaled(550, textHeight));
            EXPECT_EQ(minimum.cy, Scaled(395, textHeight));
        } else {
            EXPECT_GE(minimum.cx, Scaled(550, textHeight));
            EXPECT_GE(minimum.cy, Scaled(395, textHeight));
        }
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_GE(client.right, Scaled(534, textHeight));
        EXPECT_GE(client.bottom, Scaled(359, textHeight));
        ExpectApartAndInside("at the minimum size");
        ExpectGlyphsCentred();
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
    EXPECT_EQ(client.right, Scaled(534, textHeight));
    EXPECT_EQ(client.bottom, Scaled(359, textHeight));
    ExpectScaledFor(ScreenDpi(), SystemMessageFont(), true);
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
