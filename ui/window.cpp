#include "ui/window.h"

#include <algorithm>

#include "support/messages.h"
#include "support/win32/centring.h"
#include "support/win32/handles.h"
#include "ui/application.h"

namespace velbrook::ui {

namespace {

HINSTANCE ThisModule() {
    return GetModuleHandleA(nullptr);
}

BOOL CALLBACK SetFontOnOne(HWND child, LPARAM font) {
    if (SendMessageA(child, WM_GETFONT, 0, 0) == font)
        return TRUE;
    SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

void RegisterOnce(const WindowArgs& args, WNDPROC proc) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(ThisModule(), args.className, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = ThisModule();
    wc.hIcon = args.icon;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(args.background + 1));
    wc.lpszClassName = args.className;
    if (!RegisterClassExA(&wc))
        throw Error(FormatText(msg::kCannotRegisterWindowClass, args.className));
}

} // namespace

Window::~Window() {
    if (hwnd_ != nullptr)
        DestroyWindow(hwnd_);
}

void Window::Create(const WindowArgs& args) {
    RegisterOnce(args, &Window::WndProc);
    designClient_ = args.designClient;
    minimumOuter_ = args.minimumOuter;
    textHeight_ = args.textHeight;
    font_ = args.font;
    const layout::Size client = layout::Scale(designClient_, textHeight_);
    RECT outer{0, 0, client.width, client.height};
    AdjustWindowRectEx(&outer, args.style, FALSE, args.exStyle);
    int width = outer.right - outer.left;
    int height = outer.bottom - outer.top;
    // Made in place rather than moved there: moving a top-level window is a
    // round trip to the window system.
    POINT at{CW_USEDEFAULT, CW_USEDEFAULT};
    if (args.centred) {
        const RECT work = win32::WorkAreaOf(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY));
        // A screen too small for the design gets the whole work area; the
        // layout makes do (ui/layout/layout.h).
        width = std::min<int>(width, work.right - work.left);
        height = std::min<int>(height, work.bottom - work.top);
        at = win32::CentredPosition({width, height}, work, work);
    }
    const HWND created = CreateWindowExA(args.exStyle, args.className, args.caption.c_str(),
                                         args.style & ~WS_VISIBLE, at.x, at.y, width, height,
                                         args.owner, nullptr, ThisModule(), this);
    if (created == nullptr)
        throw Error(FormatText(msg::kCannotCreateWindow, args.className));
}

layout::Rect Window::PlaceControl(const Placed& placed) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    layout::Rect r =
        layout::Place(placed.item, designClient_, {client.right, client.bottom}, textHeight_);
    r.height += layout::Scale(placed.dropDownHeight, textHeight_);
    return r;
}

HWND Window::AddControl(const ControlArgs& args) {
    const Placed placed{nullptr, {args.design, args.anchors}, args.dropDownHeight};
    const layout::Rect r = PlaceControl(placed);
    const HWND control = CreateWindowExA(
        args.exStyle, args.className, args.text.c_str(), args.style | WS_CHILD, r.left, r.top,
        r.width, r.height, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)),
        ThisModule(), nullptr);
    if (control == nullptr)
        throw Error(FormatText(msg::kCannotCreateWindow, args.className));
    if (font_ != nullptr)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    controls_.push_back({control, placed.item, placed.dropDownHeight});
    return control;
}

void Window::LayOutControls() {
    HDWP batch = BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (const Placed& placed : controls_) {
        const layout::Rect r = PlaceControl(placed);
        if (batch != nullptr)
            batch = DeferWindowPos(batch, placed.control, nullptr, r.left, r.top, r.width, r.height,
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch != nullptr)
        EndDeferWindowPos(batch);
}

// The dialog keyboard handling asks for this on Tab and on label accelerators:
// LOWORD(lParam) set means wParam is the control, otherwise wParam picks the
// previous (non-zero) or next tab stop.
void Window::MoveDialogFocus(WPARAM wParam, LPARAM lParam) {
    HWND next = nullptr;
    if (LOWORD(lParam) != 0) {
        next = reinterpret_cast<HWND>(wParam);
    } else {
        const HWND focus = GetFocus();
        const HWND from = focus != nullptr && IsChild(hwnd_, focus) ? focus : nullptr;
        next = GetNextDlgTabItem(hwnd_, from, wParam != 0);
    }
    if (next == nullptr || !IsChild(hwnd_, next))
        return;
    SetFocus(next);
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(next, EM_SETSEL, 0, -1);
}

// The frame as the window has it now: on a monitor of another resolution it
// need not be what AdjustWindowRectEx says for the system's.
layout::Size Window::FrameSize() const {
    RECT outer{};
    RECT client{};
    if (!IsIconic(hwnd_) && GetWindowRect(hwnd_, &outer) && GetClientRect(hwnd_, &client))
        return {(outer.right - outer.left) - client.right,
                (outer.bottom - outer.top) - client.bottom};
    RECT frame{};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE)));
    return {frame.right - frame.left, frame.bottom - frame.top};
}

layout::Size Window::ScaledMinimumOuter(HMONITOR monitor) const {
    const layout::Size scaled = layout::Scale(minimumOuter_, textHeight_);
    // The design's minimum is its client area in the frame of its day; a thicker
    // frame or caption must not take room from the controls.
    const layout::Size client = layout::Scale(designClient_, textHeight_);
    const layout::Size frame = FrameSize();
    layout::Size minimum{std::max(scaled.width, client.width + frame.width),
                         std::max(scaled.height, client.height + frame.height)};
    const RECT work = win32::WorkAreaOf(
        monitor != nullptr ? monitor : MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST));
    if (work.right > work.left && work.bottom > work.top) {
        minimum.width = std::min<int>(minimum.width, work.right - work.left);
        minimum.height = std::min<int>(minimum.height, work.bottom - work.top);
    }
    return minimum;
}

void Window::SetDesign(HWND control, const layout::Rect& design) {
    for (Placed& placed : controls_) {
        if (placed.control != control)
            continue;
        placed.item.design = design;
        const layout::Rect r = PlaceControl(placed);
        MoveWindow(control, r.left, r.top, r.width, r.height, TRUE);
    }
}

void Window::SetTextHeight(int textHeight) {
    textHeight_ = textHeight;
    LayOutControls();
}

void Window::SaveFocus() {
    const HWND focus = GetFocus();
    if (focus != nullptr && IsChild(hwnd_, focus))
        savedFocus_ = focus;
}

// The saved control, unless it has gone or cannot take the focus; then the first tab stop.
void Window::RestoreFocus() {
    HWND target = savedFocus_;
    if (target == nullptr || !IsChild(hwnd_, target) || !IsWindowVisible(target) ||
        !IsWindowEnabled(target))
        target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (target != nullptr)
        SetFocus(target);
}

void Window::SetFont(HFONT font) {
    font_ = font;
    SetFontOnChildren(hwnd_, font);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        LayOutControls();
        return 0;
    case WM_GETMINMAXINFO:
        if (minimumOuter_.width > 0 || minimumOuter_.height > 0) {
            const layout::Size minimum = ScaledMinimumOuter();
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {minimum.width, minimum.height};
        }
        return 0;
    case DM_GETDEFID:
        return MAKELRESULT(defaultId_, DC_HASDEFID);
    case DM_SETDEFID:
        defaultId_ = static_cast<int>(wParam);
        return TRUE;
    case WM_NEXTDLGCTL:
        MoveDialogFocus(wParam, lParam);
        return 0;
    // The default handling would leave the focus on the frame, where no key
    // reaches a control.
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            SaveFocus();
        else if (HIWORD(wParam) == 0) // not minimised
            RestoreFocus();
        return 0;
    case WM_SETFOCUS:
        RestoreFocus();
        return 0;
    default:
        return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    Application& app = Application::Instance();
    LRESULT result = 0;
    if (!app.Guard([&] { result = self->HandleMessage(message, wParam, lParam); }))
        result = message == WM_NCCREATE ? DefWindowProcA(hwnd, message, wParam, lParam) : 0;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        if (app.MainWindow() == hwnd) {
            app.SetMainWindow(nullptr);
            PostQuitMessage(0);
        }
    }
    return result;
}

void CenterOnWorkArea(HWND window) {
    const RECT work = win32::WorkAreaOf(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
    win32::MoveCentred(window, work, work);
}

void SetFontOnChildren(HWND parent, HFONT font) {
    EnumChildWindows(parent, &SetFontOnOne, reinterpret_cast<LPARAM>(font));
}

} // namespace velbrook::ui
