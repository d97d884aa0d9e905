#pragma once
// Layout math: design rectangles in pixels of a design client area at a text
// height of 13, scaled to the real text height and anchored to the parent's edges.
#include <span>
#include <vector>

namespace velbrook::ui::layout {

inline constexpr int kDesignTextHeight = 13;

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Edges whose distance to the parent's matching edge stays fixed on resizing.
// Both edges of an axis: the control stretches; one edge: it keeps that distance;
// neither: it keeps its centre at the same proportion of the parent.
enum Anchor : unsigned {
    kAnchorLeft = 1,
    kAnchorTop = 2,
    kAnchorRight = 4,
    kAnchorBottom = 8,
    kAnchorLeftTop = kAnchorLeft | kAnchorTop,
    kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom,
};
using Anchors = unsigned;

struct Item {
    Rect design;
    Anchors anchors = kAnchorLeftTop;
};

// value * textHeight / 13, rounded half away from zero.
int Scale(int value, int textHeight);
Size Scale(Size size, int textHeight);
// Scales the edges, so that rectangles that do not overlap in the design do not
// overlap scaled either.
Rect Scale(Rect rect, int textHeight);

// Where a control of the design goes in a client area of the actual size. In a
// client smaller than the design nothing reaches past its right or bottom edge.
Rect Place(const Item& item, Size designClient, Size actualClient, int textHeight);

// One rectangle per item of the table, in the table's order. In a client
// smaller than the design, the controls that stretch shrink first; a control
// that keeps its distance to the top (or left) edge only moves up (left) as far
// as it must to stay clear of the controls that follow it in the design, its
// gap to them closing to at most two design pixels.
std::vector<Rect> LayOut(std::span<const Item> table, Size designClient, Size actualClient,
                         int textHeight);

} // namespace velbrook::ui::layout
