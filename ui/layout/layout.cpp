#include "ui/layout/layout.h"

#include <algorithm>
#include <limits>

namespace velbrook::ui::layout {

int Scale(int value, int textHeight) {
    const long long product = static_cast<long long>(value) * textHeight;
    const long long half = kDesignTextHeight / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kDesignTextHeight
                                         : (product - half) / kDesignTextHeight);
}

Size Scale(Size size, int textHeight) {
    return {Scale(size.width, textHeight), Scale(size.height, textHeight)};
}

Rect Scale(Rect rect, int textHeight) {
    // Edges are scaled, not sizes: rounding then keeps apart what the design
    // keeps apart, however the sizes round.
    const int left = Scale(rect.left, textHeight);
    const int top = Scale(rect.top, textHeight);
    return {left, top, Scale(rect.left + rect.width, textHeight) - left,
            Scale(rect.top + rect.height, textHeight) - top};
}

namespace {

struct Span {
    int start;
    int length;
};

// One axis: growth is how much the parent grew along it (may be negative).
Span PlaceOnAxis(Span design, int growth, bool nearEdge, bool farEdge) {
    if (nearEdge && farEdge)
        return {design.start, design.length + growth};
    if (farEdge)
        return {design.start + growth, design.length};
    if (nearEdge)
        return design;
    return {design.start + growth / 2, design.length};
}

} // namespace

Rect Place(const Item& item, Size designClient, Size actualClient, int textHeight) {
    const Rect design = Scale(item.design, textHeight);
    const Size client = Scale(designClient, textHeight);
    const Span x = PlaceOnAxis({design.left, design.width}, actualClient.width - client.width,
                               item.anchors & kAnchorLeft, item.anchors & kAnchorRight);
    const Span y = PlaceOnAxis({design.top, design.height}, actualClient.height - client.height,
                               item.anchors & kAnchorTop, item.anchors & kAnchorBottom);
    const auto length = [](const Span& span, int client) {
        return std::max(0, std::min(span.length, client - span.start));
    };
    return {x.start, y.start, length(x, actualClient.width), length(y, actualClient.height)};
}

namespace {

// One axis of rectangles: start and length along it, start and length across.
struct AxisView {
    bool vertical;
    int& Start(Rect& r) const { return vertical ? r.top : r.left; }
    int Start(const Rect& r) const { return vertical ? r.top : r.left; }
    int End(const Rect& r) const { return vertical ? r.top + r.height : r.left + r.width; }
    int CrossStart(const Rect& r) const { return vertical ? r.left : r.top; }
    int CrossEnd(const Rect& r) const { return vertical ? r.left + r.width : r.top + r.height; }
    bool NearOnly(Anchors anchors) const {
        return vertical ? (anchors & (kAnchorTop | kAnchorBottom)) == kAnchorTop
                        : (anchors & (kAnchorLeft | kAnchorRight)) == kAnchorLeft;
    }
};

// Moves control i toward the near edge until it is clear of what follows it.
void MoveClear(std::span<const Item> table, std::vector<Rect>& rects, std::size_t i, int textHeight,
               AxisView axis) {
    const Rect design = Scale(table[i].design, textHeight);
    const int tightGap = Scale(2, textHeight);
    Rect& r = rects[i];
    for (std::size_t j = 0; j < rects.size(); ++j) {
        const Rect& next = rects[j];
        const int gap = axis.Start(Scale(table[j].design, textHeight)) - axis.End(design);
        const bool across =
            axis.CrossStart(next) < axis.CrossEnd(r) && axis.CrossStart(r) < axis.CrossEnd(next);
        if (j == i || gap < 0 || !across)
            continue;
        const int limit = axis.Start(next) - std::min(gap, tightGap);
        if (axis.End(r) > limit)
            axis.Start(r) -= axis.End(r) - limit;
    }
}

void CloseUp(std::span<const Item> table, std::vector<Rect>& rects, int textHeight, AxisView axis) {
    const auto end = [&](std::size_t i) { return axis.End(Scale(table[i].design, textHeight)); };
    // Those further on first: what follows a control has found its place before
    // it. Each round takes those that end furthest on short of the last round's.
    int before = std::numeric_limits<int>::max();
    for (;;) {
        int furthest = std::numeric_limits<int>::min();
        for (std::size_t k = 0; k < table.size(); ++k) {
            if (axis.NearOnly(table[k].anchors) && end(k) < before)
                furthest = std::max(furthest, end(k));
        }
        if (furthest == std::numeric_limits<int>::min())
            return;
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (axis.NearOnly(table[i].anchors) && end(i) == furthest)
                MoveClear(table, rects, i, textHeight, axis);
        }
        before = furthest;
    }
}

} // namespace

std::vector<Rect> LayOut(std::span<const Item> table, Size designClient, Size actualClient,
                         int textHeight) {
    std::vector<Rect> rects;
    rects.reserve(table.size());
    for (const Item& item : table)
        rects.push_back(Place(item, designClient, actualClient, textHeight));
    const Size client = Scale(designClient, textHeight);
    if (actualClient.height < client.height)
        CloseUp(table, rects, textHeight, AxisView{true});
    if (actualClient.width < client.width)
        CloseUp(table, rects, textHeight, AxisView{false});
    return rects;
}

} // namespace velbrook::ui::layout
