#include "ui/layout/layout.h"

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
    return {x.start, y.start, x.length < 0 ? 0 : x.length, y.length < 0 ? 0 : y.length};
}

std::vector<Rect> LayOut(std::span<const Item> table, Size designClient, Size actualClient,
                         int textHeight) {
    std::vector<Rect> rects;
    rects.reserve(table.size());
    for (const Item& item : table)
        rects.push_back(Place(item, designClient, actualClient, textHeight));
    return rects;
}

} // namespace velbrook::ui::layout
