#pragma once
// The base of the program's windows: the static WndProc finds the object through
// GWLP_USERDATA (stored at WM_NCCREATE) and passes every message to one member
// function, inside the application's error guard. Child controls are made from
// creation-argument structs and moved by the layout table on WM_SIZE.
#include <string>
#include <vector>

#include "support/win32/windows_ansi.h"
#include "ui/layout/layout.h"

namespace velbrook::ui {

// Sent by the application's message loop to its main window with a key-down
// message (lParam: const MSG*) bound for the window or one of its controls,
// before the dialog keyboard handling sees it; TRUE: the key was used.
inline constexpr UINT kTranslateShortcutMessage = WM_APP + 0x100;

struct ControlArgs {
    const char* className = "BUTTON";
    std::string text;
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    int id = 0;
    layout::Rect design;
    layout::Anchors anchors = layout::kAnchorLeftTop;
    // A combo box's drop-down list, in design pixels: the window of a combo box
    // is made as high as its field and its list together.
    int dropDownHeight = 0;
};

struct WindowArgs {
    const char* className = nullptr; // registered on first use
    std::string caption;
    DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    HWND owner = nullptr;
    HICON icon = nullptr; // borrowed; the class icon
    int background = COLOR_WINDOW;
    layout::Size designClient; // client size at text height 13
    layout::Size minimumOuter; // design minimum outer size; 0 = none
    int textHeight = layout::kDesignTextHeight;
    HFONT font = nullptr; // borrowed; given to every control as it is added
    // Made centred on the primary monitor's work area; no larger than that.
    bool centred = false;
};

// A command or notification route: {control id, code, handler}.
template <class W> struct CommandRoute {
    int id;
    UINT code;
    void (W::*handler)();
};

template <class W, std::size_t N>
bool RouteCommand(W& window, const CommandRoute<W> (&table)[N], int id, UINT code) {
    for (const auto& route : table) {
        if (route.id == id && route.code == code) {
            (window.*route.handler)();
            return true;
        }
    }
    return false;
}

class Window {
  public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    // Creates the window hidden; the WM_CREATE handler runs before this returns.
    void Create(const WindowArgs& args);
    // A child control placed by the layout table; returns its handle.
    HWND AddControl(const ControlArgs& args);
    // Moves every control of the table to its place for the current client size.
    void LayOutControls();
    // The current layout scale (the real text height of the design font).
    int TextHeight() const { return textHeight_; }
    // A new scale (the display's resolution changed): lays the controls out again.
    void SetTextHeight(int textHeight);
    // The design minimum outer size at the current scale, and never less than
    // the outer size that holds the scaled design client area; but no more than
    // the work area of the monitor (by default the window's).
    layout::Size ScaledMinimumOuter(HMONITOR monitor = nullptr) const;
    // A control's new design rectangle (its text measured again); moves it.
    void SetDesign(HWND control, const layout::Rect& design);
    // Which button Enter presses (DM_SETDEFID / DM_GETDEFID).
    int DefaultId() const { return defaultId_; }
    // The font given to every control, now and when added later (borrowed).
    void SetFont(HFONT font);
    HFONT Font() const { return font_; }

  protected:
    // Derived windows switch on the message and fall back to this one, which
    // handles layout, minimum size, the default button, WM_NEXTDLGCTL and, as
    // dialogs do, keeps the focused control across deactivation.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    struct Placed {
        HWND control;
        layout::Item item;
        int dropDownHeight;
    };
    layout::Rect PlaceControl(const Placed& placed) const;
    void MoveDialogFocus(WPARAM wParam, LPARAM lParam);
    layout::Size FrameSize() const;
    void SaveFocus();
    void RestoreFocus();
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    layout::Size designClient_;
    layout::Size minimumOuter_;
    int textHeight_ = layout::kDesignTextHeight;
    int defaultId_ = IDOK;
    HFONT font_ = nullptr;
    HWND savedFocus_ = nullptr; // the focused control when the window was deactivated
    std::vector<Placed> controls_;
};

// Centres the window on the work area of its monitor.
void CenterOnWorkArea(HWND window);
// Sends WM_SETFONT to the window and all its children.
void SetFontOnChildren(HWND parent, HFONT font);

} // namespace velbrook::ui
