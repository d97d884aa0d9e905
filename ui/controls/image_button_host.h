#pragma once
// Routes a parent window's mouse, theme and capture messages to its image
// buttons and gives them one tooltip control with a tool per button, one
// TOOLBAR theme, and the accessible object that shows them to screen readers.
#include <memory>
#include <vector>

#include "support/win32/windows_ansi.h"
#include "support/win32/handles.h"
#include "ui/controls/image_button.h"
#include "ui/controls/image_button_accessible.h"

namespace velbrook::ui {

class ImageButtonHost {
  public:
    explicit ImageButtonHost(HWND parent);
    ImageButtonHost(const ImageButtonHost&) = delete;
    ImageButtonHost& operator=(const ImageButtonHost&) = delete;
    ~ImageButtonHost();

    // The returned button lives as long as the host.
    ImageButton& Add(const ImageButtonArgs& args);
    // Moves a button and its tooltip area.
    void SetBounds(ImageButton& button, const RECT& bounds);
    const std::vector<std::unique_ptr<ImageButton>>& Buttons() const { return buttons_; }
    // The tooltip window, created on first use (this call or the first mouse
    // move over the parent): it is a top-level window, slow to make at start-up.
    HWND Tooltip();

    // Call first from the parent's WndProc with every message. True when the
    // buttons used it (mouse, WM_GETOBJECT for the client area, a press from a
    // screen reader); the parent then returns `result`. Deactivation, disabling
    // and WM_CANCELMODE end the hot look and are left to the parent as well.
    // WM_PAINT stays with the parent, which calls Paint.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Draws the buttons that meet the clip rectangle, after the parent's background.
    void Paint(HDC dc, const RECT& clip) const;

  private:
    ImageButton* ButtonAt(POINT at) const;
    ImageButton* DraggingButton() const;
    void TrackHot(POINT at);
    void TrackLeave() const;
    void AddTool(std::size_t index);
    void EndHot();
    bool AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result);
    void Press(std::size_t index);

    HWND parent_;
    win32::OwnedWindow tooltip_;
    ThemeData theme_; // before the buttons, which draw with it
    std::vector<std::unique_ptr<ImageButton>> buttons_;
    // Made at the first WM_GETOBJECT; detached before the buttons go.
    win32::ComRef<ImageButtonAccessible> accessible_;
};

} // namespace velbrook::ui
