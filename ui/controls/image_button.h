#pragma once
// ImageButton: a flat, windowless image button drawn on its parent. The parent
// forwards its mouse, paint, enable and theme messages (ImageButtonHost does the
// routing and owns the TOOLBAR theme its buttons share); the button never takes
// the keyboard focus.
#include <functional>
#include <string>

#include "support/win32/windows_ansi.h"
#include <commctrl.h>

#include "ui/controls/visual_styles.h"

namespace velbrook::ui {

enum class ImageButtonState { Up, Disabled, Pressed, Latched };

// TOOLBAR theme part and states used by the button.
inline constexpr int kTpButton = 1;
inline constexpr int kTsNormal = 1;
inline constexpr int kTsHot = 2;
inline constexpr int kTsPressed = 3;
inline constexpr int kTsDisabled = 4;
inline constexpr int kTsChecked = 5;
inline constexpr int kTsHotChecked = 6;

struct ImageButtonArgs {
    RECT bounds{0, 0, 23, 22};   // in the parent's client coordinates
    std::string hint;            // the tooltip
    std::string name;            // for screen readers
    std::string shortcut;        // the key that does what the button does, as text; may be empty
    HIMAGELIST images = nullptr; // borrowed
    int imageIndex = -1;
    std::function<void()> onClick;
};

class ImageButton {
  public:
    // `theme` is the parent's TOOLBAR theme and must outlive the button.
    ImageButton(HWND parent, const ImageButtonArgs& args, const ThemeData& theme);
    ImageButton(const ImageButton&) = delete;
    ImageButton& operator=(const ImageButton&) = delete;

    HWND Parent() const { return parent_; }
    const RECT& Bounds() const { return bounds_; }
    void SetBounds(const RECT& bounds);
    const std::string& Hint() const { return hint_; }
    const std::string& Name() const { return name_; }
    const std::string& Shortcut() const { return shortcut_; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    HIMAGELIST Images() const { return images_; }
    void SetImages(HIMAGELIST images);
    bool Enabled() const { return enabled_; }
    // Repaints at once; a disabled button loses its hot look and ignores presses.
    void SetEnabled(bool enabled);

    std::function<void()> OnClick;

    ImageButtonState State() const { return state_; }
    bool Hot() const { return hot_; }
    bool Dragging() const { return dragging_; }
    bool Themed() const;
    // The TOOLBAR state that Paint would use now.
    int ThemeState() const;

    // Mouse messages of the parent, in its client coordinates.
    void MouseEnter();
    void MouseLeave();
    void MouseDown(POINT at);
    void MouseMove(POINT at);
    void MouseUp(POINT at);
    // The parent lost the mouse capture while the button was held.
    void CaptureLost();
    // Something else took over (a modal dialog, another window): no hot look.
    void EndHot();
    void Paint(HDC dc, const RECT& clip);
    // The shared theme was opened again: repaint with it.
    void ThemeChanged();

    bool ContainsPoint(POINT at) const; // the client rectangle
    // Where Paint puts the image now, in the parent's client coordinates; empty without one.
    RECT ImageRect() const;
    // Inside for a click: the row just below the bottom edge still counts.
    bool InsideForClick(POINT at) const;

  private:
    void Invalidate() const;
    void RepaintNow() const;
    void PaintThemed(HDC dc) const;
    void PaintClassic(HDC dc) const;
    void DrawImage(HDC dc, bool themed) const;
    bool PressedLook() const;

    HWND parent_;
    RECT bounds_;
    std::string hint_;
    std::string name_;
    std::string shortcut_;
    HIMAGELIST images_;
    int imageIndex_;
    bool enabled_ = true;
    ImageButtonState state_ = ImageButtonState::Up;
    bool hot_ = false;
    bool dragging_ = false;
    const ThemeData& theme_;
};

} // namespace velbrook::ui
