#include "ui/layout/layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace velbrook::ui::layout {
namespace {

constexpr Size kDesign{534, 359};

TEST(LayoutScale, RoundsToNearestAtTheTextHeightRatio) {
    struct Row {
        int value, textHeight, expected;
    } rows[] = {
        {534, 13, 534}, {534, 16, 657}, {13, 26, 26},  {1, 19, 1},    {7, 20, 11},
        {10, 19, 15},   {0, 16, 0},     {-7, 20, -11}, {90, 16, 111},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Scale(r.value, r.textHeight), r.expected) << r.value << " at " << r.textHeight;
    EXPECT_EQ(Scale(Rect{88, 112, 403, 141}, 26), (Rect{176, 224, 806, 282}));
    EXPECT_EQ(Scale(Size{550, 395}, 13), (Size{550, 395}));
}

TEST(LayoutPlace, AnchorsKeepTheirEdgeDistancesWhenTheClientGrows) {
    const Size bigger{634, 409}; // 100 wider, 50 higher
    struct Row {
        const char* what;
        Item item;
        Rect expected;
    } rows[] = {
        {"left top", {{88, 68, 389, 17}, kAnchorLeftTop}, {88, 68, 389, 17}},
        {"all four (list)", {{88, 112, 403, 141}, kAnchorAll}, {88, 112, 503, 191}},
        {"top right (image button)",
         {{498, 116, 23, 22}, kAnchorTop | kAnchorRight},
         {598, 116, 23, 22}},
        {"right bottom (Ok)",
         {{341, 327, 90, 25}, kAnchorRight | kAnchorBottom},
         {441, 377, 90, 25}},
        {"left right bottom (scheme box)",
         {{88, 288, 382, 21}, kAnchorLeft | kAnchorRight | kAnchorBottom},
         {88, 338, 482, 21}},
        {"left bottom (help)", {{12, 327, 30, 25}, kAnchorLeft | kAnchorBottom}, {12, 377, 30, 25}},
        {"none: keeps the centre", {{100, 100, 20, 20}, 0}, {150, 125, 20, 20}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Place(r.item, kDesign, bigger, 13), r.expected) << r.what;
}

TEST(LayoutPlace, ScalesTheDesignBeforeAnchoring) {
    // At twice the text height the scaled design client is 1068 x 718.
    const Item ok{{341, 327, 90, 25}, kAnchorRight | kAnchorBottom};
    EXPECT_EQ(Place(ok, kDesign, {1068, 718}, 26), (Rect{682, 654, 180, 50}));
    EXPECT_EQ(Place(ok, kDesign, {1168, 738}, 26), (Rect{782, 674, 180, 50}));
    const Item list{{88, 112, 403, 141}, kAnchorAll};
    EXPECT_EQ(Place(list, kDesign, {1168, 738}, 26), (Rect{176, 224, 906, 302}));
}

TEST(LayoutPlace, ShrinkingNeverGivesNegativeSizes) {
    const Item list{{88, 112, 403, 141}, kAnchorAll};
    EXPECT_EQ(Place(list, kDesign, {100, 100}, 13), (Rect{88, 112, 0, 0}));
    EXPECT_EQ(Place(list, kDesign, {434, 309}, 13), (Rect{88, 112, 303, 91}));
}

TEST(LayoutLayOut, GivesOneRectanglePerItemInOrder) {
    const std::vector<Item> table{
        {{0, 319, 534, 40}, kAnchorLeft | kAnchorRight | kAnchorBottom},
        {{433, 327, 90, 25}, kAnchorRight | kAnchorBottom},
    };
    const std::vector<Rect> rects = LayOut(table, kDesign, {600, 400}, 13);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0], (Rect{0, 360, 600, 40}));
    EXPECT_EQ(rects[1], (Rect{499, 368, 90, 25}));
    EXPECT_TRUE(LayOut({}, kDesign, {600, 400}, 13).empty());
}

} // namespace
} // namespace velbrook::ui::layout
