// The main window's design table laid out at many scales and client sizes: the
// controls keep clear of each other and inside the client area.
#include "ui/main_window_design.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velbrook::ui::layout {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

bool Inside(const Rect& r, Size client) {
    return r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0 &&
           r.left + r.width <= client.width && r.top + r.height <= client.height;
}

// Everything the user sees as one control; the band is the background of the buttons on it.
std::vector<const design::Control*> VisibleControls() {
    std::vector<const design::Control*> controls;
    for (const design::Control& control : design::Controls()) {
        if (control.kind != design::Kind::Band)
            controls.push_back(&control);
    }
    return controls;
}

TEST(MainWindowLayout, ControlsStayApartAndInsideAtEveryScaleAndSize) {
    const auto controls = VisibleControls();
    ASSERT_EQ(controls.size(), 17u);
    // 10: below any real font; 13: the design; 15, 17, 23: 120, 144 and 192 pixels per inch.
    for (int textHeight : {10, 12, 13, 15, 16, 17, 19, 21, 23, 26, 31, 40}) {
        const Size minimum = Scale(design::kClient, textHeight);
        for (const Size grow : {Size{0, 0}, Size{1, 1}, Size{7, 0}, Size{0, 5}, Size{300, 200}}) {
            const Size client{minimum.width + grow.width, minimum.height + grow.height};
            std::vector<Rect> placed;
            for (const design::Control* control : controls)
                placed.push_back(
                    Place({control->rect, control->anchors}, design::kClient, client, textHeight));
            for (std::size_t i = 0; i < placed.size(); ++i) {
                const std::string where =
                    "part " + std::to_string(static_cast<int>(controls[i]->part)) +
                    " at text height " + std::to_string(textHeight) + ", client " +
                    std::to_string(client.width) + "x" + std::to_string(client.height);
                EXPECT_TRUE(Inside(placed[i], client)) << where;
                for (std::size_t j = i + 1; j < placed.size(); ++j)
                    EXPECT_FALSE(Overlap(placed[i], placed[j]))
                        << where << " and part " << static_cast<int>(controls[j]->part);
            }
        }
    }
}

} // namespace
} // namespace velbrook::ui::layout
