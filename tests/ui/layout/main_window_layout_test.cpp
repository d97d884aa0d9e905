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

// A client smaller than the design (a screen too small for it): the list gives
// up the room, the controls keep their sizes and stay apart and inside.
TEST(MainWindowLayout, AClientSmallerThanTheDesignKeepsEveryControlUsable) {
    const auto controls = VisibleControls();
    std::vector<Item> table;
    for (const design::Control& control : design::Controls())
        table.push_back({control.rect, control.anchors});
    struct Row {
        int textHeight;
        Size client;
    } rows[] = {
        {23, {784, 529}}, // 800 x 600 at 192 pixels per inch, less the frame
        {23, {784, 480}}, // and a task bar
        {13, {500, 320}},
        {17, {640, 400}},
    };
    for (const Row& r : rows) {
        const std::string where = "text height " + std::to_string(r.textHeight) + ", client " +
                                  std::to_string(r.client.width) + "x" +
                                  std::to_string(r.client.height);
        const std::vector<Rect> placed = LayOut(table, design::kClient, r.client, r.textHeight);
        std::vector<std::pair<const design::Control*, Rect>> visible;
        for (std::size_t i = 0; i < table.size(); ++i) {
            const design::Control& control = design::Controls()[i];
            if (control.kind == design::Kind::Band)
                continue;
            visible.emplace_back(&control, placed[i]);
            const Rect design = Scale(control.rect, r.textHeight);
            if (control.kind == design::Kind::List) {
                EXPECT_LT(placed[i].height, design.height) << where;
            } else if (control.kind != design::Kind::ComboBox &&
                       control.kind != design::Kind::Label &&
                       control.kind != design::Kind::RadioButton &&
                       control.kind != design::Kind::Link) {
                EXPECT_EQ(placed[i].width, design.width) << where;
                EXPECT_EQ(placed[i].height, design.height) << where;
            }
        }
        for (std::size_t i = 0; i < visible.size(); ++i) {
            const int part = static_cast<int>(visible[i].first->part);
            EXPECT_TRUE(Inside(visible[i].second, r.client)) << where << ", part " << part;
            for (std::size_t j = i + 1; j < visible.size(); ++j)
                EXPECT_FALSE(Overlap(visible[i].second, visible[j].second))
                    << where << ", parts " << part << " and "
                    << static_cast<int>(visible[j].first->part);
        }
    }
}

} // namespace
} // namespace velbrook::ui::layout
