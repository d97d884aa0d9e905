#include "ui/controls/image_button.h"

#include <utility>

namespace velbrook::ui {
namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

SIZE ImageSize(HIMAGELIST images) {
    int cx = 0;
    int cy = 0;
    if (images != nullptr)
        ImageList_GetIconSize(images, &cx, &cy);
    return SIZE{cx, cy};
}

// The TOOLBAR button state that shows a button state with or without the pointer over it.
int ThemeStateFor(ImageButtonState state, bool hot) {
    switch (state) {
    case ImageButtonState::Disabled:
        return kTsDisabled;
    case ImageButtonState::Pressed:
        return hot ? kTsHotChecked : kTsChecked;
    case ImageButtonState::Latched:
        return kTsPressed;
    case ImageButtonState::Up:
        break;
    }
    return hot ? kTsHot : kTsNormal;
}

// Top-left corner of the image inside a button of the given size (relative to
// the button): centred, so that it stays in place as buttons and glyphs scale,
// and one pixel lower and to the right when pressed, in both looks.
POINT ImageOrigin(SIZE button, SIZE image, bool pressedLook) {
    const int shift = pressedLook ? 1 : 0;
    return POINT{(button.cx - image.cx) / 2 + shift, (button.cy - image.cy) / 2 + shift};
}

} // namespace

int ImageButton::ThemeState() const {
    return ThemeStateFor(state_, hot_);
}

ImageButton::ImageButton(HWND parent, const ImageButtonArgs& args, const ThemeData& theme)
    : OnClick(args.onClick), parent_(parent), bounds_(args.bounds), hint_(args.hint),
      name_(args.name), shortcut_(args.shortcut), images_(args.images),
      imageIndex_(args.imageIndex), theme_(theme) {}

void ImageButton::SetBounds(const RECT& bounds) {
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

void ImageButton::SetImageIndex(int index) {
    imageIndex_ = index;
    Invalidate();
}

void ImageButton::SetImages(HIMAGELIST images) {
    images_ = images;
    Invalidate();
}

void ImageButton::SetEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    if (!enabled) {
        const bool held = dragging_;
        state_ = ImageButtonState::Disabled;
        dragging_ = false;
        hot_ = false;
        if (held && GetCapture() == parent_)
            ReleaseCapture();
    } else {
        state_ = ImageButtonState::Up;
    }
    RepaintNow();
}

bool ImageButton::Themed() const {
    return theme_ && visual_styles::Active();
}

bool ImageButton::ContainsPoint(POINT at) const {
    return PtInRect(&bounds_, at) != FALSE;
}

bool ImageButton::InsideForClick(POINT at) const {
    const int x = at.x - bounds_.left;
    const int y = at.y - bounds_.top;
    return x >= 0 && x < Width(bounds_) && y >= 0 && y <= Height(bounds_);
}

void ImageButton::MouseEnter() {
    // A disabled parent means a modal dialog is up.
    if (hot_ || !enabled_ || GetCapture() != nullptr || !IsWindowEnabled(parent_))
        return;
    hot_ = true;
    RepaintNow();
}

void ImageButton::MouseLeave() {
    if (!hot_ || !enabled_ || dragging_)
        return;
    hot_ = false;
    Invalidate();
}

void ImageButton::MouseDown(POINT at) {
    if (!enabled_ || !ContainsPoint(at))
        return;
    SetCapture(parent_);
    state_ = ImageButtonState::Pressed;
    dragging_ = true;
    hot_ = true;
    Invalidate();
}

void ImageButton::MouseMove(POINT at) {
    if (!dragging_)
        return;
    const auto next = InsideForClick(at) ? ImageButtonState::Pressed : ImageButtonState::Up;
    if (next != state_) {
        state_ = next;
        Invalidate();
    }
}

void ImageButton::MouseUp(POINT at) {
    if (!dragging_)
        return;
    dragging_ = false;
    const bool clicked = InsideForClick(at);
    state_ = ImageButtonState::Up;
    hot_ = ContainsPoint(at);
    if (GetCapture() == parent_)
        ReleaseCapture();
    Invalidate();
    if (clicked && OnClick)
        OnClick();
}

void ImageButton::CaptureLost() {
    if (!dragging_)
        return;
    dragging_ = false;
    state_ = ImageButtonState::Up;
    hot_ = false;
    Invalidate();
}

void ImageButton::EndHot() {
    if (!hot_ || dragging_)
        return;
    hot_ = false;
    Invalidate();
}

void ImageButton::ThemeChanged() {
    Invalidate();
}

bool ImageButton::PressedLook() const {
    return state_ == ImageButtonState::Pressed || state_ == ImageButtonState::Latched;
}

void ImageButton::Invalidate() const {
    InvalidateRect(parent_, &bounds_, TRUE);
}

void ImageButton::RepaintNow() const {
    Invalidate();
    UpdateWindow(parent_);
}

void ImageButton::Paint(HDC dc, const RECT& clip) {
    RECT common;
    if (!IntersectRect(&common, &bounds_, &clip))
        return;
    if (Themed())
        PaintThemed(dc);
    else
        PaintClassic(dc);
}

void ImageButton::PaintThemed(HDC dc) const {
    visual_styles::DrawBackground(theme_, dc, kTpButton, ThemeState(), bounds_);
    DrawImage(dc, true);
}

void ImageButton::PaintClassic(HDC dc) const {
    RECT r = bounds_;
    if (PressedLook() || (hot_ && enabled_)) {
        DrawEdge(dc, &r, PressedLook() ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT | BF_MIDDLE);
    } else {
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    }
    if (PressedLook()) {
        InflateRect(&r, -1, -1);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    }
    DrawImage(dc, false);
}

RECT ImageButton::ImageRect() const {
    if (imageIndex_ < 0 || images_ == nullptr)
        return RECT{};
    const SIZE image = ImageSize(images_);
    const POINT origin = ImageOrigin(SIZE{Width(bounds_), Height(bounds_)}, image, PressedLook());
    const int x = bounds_.left + origin.x;
    const int y = bounds_.top + origin.y;
    return RECT{x, y, x + image.cx, y + image.cy};
}

void ImageButton::DrawImage(HDC dc, bool themed) const {
    const RECT place = ImageRect();
    if (IsRectEmpty(&place))
        return;
    if (themed)
        visual_styles::DrawIcon(theme_, dc, kTpButton, ThemeState(), place, images_, imageIndex_);
    else
        ImageList_Draw(images_, imageIndex_, dc, place.left, place.top, ILD_TRANSPARENT);
}

} // namespace velbrook::ui
