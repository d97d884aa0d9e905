#include "ui/controls/image_button_host.h"

#include <utility>
#include <windowsx.h>

namespace velbrook::ui {
namespace {

POINT PointOf(LPARAM lParam) {
    return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

TOOLINFOA ToolFor(HWND parent, UINT_PTR id) {
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = parent;
    tool.uId = id;
    return tool;
}

} // namespace

ImageButtonHost::ImageButtonHost(HWND parent)
    : parent_(parent), theme_(visual_styles::Open(parent, L"TOOLBAR")) {}

ImageButtonHost::~ImageButtonHost() {
    if (accessible_.get() != nullptr)
        accessible_->Detach();
}

HWND ImageButtonHost::Tooltip() {
    if (tooltip_.get() == nullptr) {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_BAR_CLASSES};
        InitCommonControlsEx(&init);
        tooltip_ = win32::OwnedWindow(CreateWindowExA(
            WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent_, nullptr,
            reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent_, GWLP_HINSTANCE)), nullptr));
        for (std::size_t i = 0; i < buttons_.size(); ++i)
            AddTool(i);
    }
    return tooltip_.get();
}

void ImageButtonHost::AddTool(std::size_t index) {
    if (tooltip_.get() == nullptr)
        return;
    const ImageButton& button = *buttons_[index];
    TOOLINFOA tool = ToolFor(parent_, index + 1);
    tool.uFlags = TTF_SUBCLASS;
    tool.rect = button.Bounds();
    tool.lpszText = const_cast<char*>(button.Hint().c_str());
    SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

ImageButton& ImageButtonHost::Add(const ImageButtonArgs& args) {
    buttons_.push_back(std::make_unique<ImageButton>(parent_, args, theme_));
    AddTool(buttons_.size() - 1);
    return *buttons_.back();
}

void ImageButtonHost::SetBounds(ImageButton& button, const RECT& bounds) {
    button.SetBounds(bounds);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i].get() != &button || tooltip_.get() == nullptr)
            continue;
        TOOLINFOA tool = ToolFor(parent_, i + 1);
        tool.rect = bounds;
        SendMessageA(tooltip_.get(), TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

ImageButton* ImageButtonHost::ButtonAt(POINT at) const {
    for (const auto& button : buttons_) {
        if (button->ContainsPoint(at))
            return button.get();
    }
    return nullptr;
}

ImageButton* ImageButtonHost::DraggingButton() const {
    for (const auto& button : buttons_) {
        if (button->Dragging())
            return button.get();
    }
    return nullptr;
}

void ImageButtonHost::TrackHot(POINT at) {
    ImageButton* over = ButtonAt(at);
    for (const auto& button : buttons_) {
        if (button.get() != over)
            button->MouseLeave();
    }
    if (over != nullptr) {
        over->MouseEnter();
        TrackLeave();
    }
}

void ImageButtonHost::TrackLeave() const {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, parent_, 0};
    TrackMouseEvent(&track);
}

void ImageButtonHost::EndHot() {
    for (const auto& button : buttons_)
        button->EndHot();
}

bool ImageButtonHost::AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT || buttons_.empty())
        return false;
    if (accessible_.get() == nullptr)
        accessible_ =
            win32::ComRef<ImageButtonAccessible>(ImageButtonAccessible::Create(*this, parent_));
    if (accessible_.get() == nullptr)
        return false;
    result = LresultFromObject(__uuidof(IAccessible), wParam,
                               static_cast<IAccessible*>(accessible_.get()));
    return true;
}

void ImageButtonHost::Press(std::size_t index) {
    if (index >= buttons_.size())
        return;
    ImageButton& button = *buttons_[index];
    if (button.Enabled() && button.OnClick)
        button.OnClick();
}

bool ImageButtonHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_MOUSEMOVE:
        // The tooltip subclasses the parent, so it sees the following moves.
        if (!buttons_.empty())
            Tooltip();
        if (ImageButton* held = DraggingButton()) {
            held->MouseMove(PointOf(lParam));
            return true;
        }
        TrackHot(PointOf(lParam));
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (ImageButton* button = ButtonAt(PointOf(lParam))) {
            button->MouseDown(PointOf(lParam));
            return true;
        }
        return false;
    case WM_LBUTTONUP:
        if (ImageButton* held = DraggingButton()) {
            held->MouseUp(PointOf(lParam));
            return true;
        }
        return false;
    case WM_MOUSELEAVE:
        for (const auto& button : buttons_)
            button->MouseLeave();
        return false;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) == parent_)
            return false;
        for (const auto& button : buttons_)
            button->CaptureLost();
        return false;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            EndHot();
        return false;
    case WM_ENABLE:
        if (!wParam)
            EndHot();
        return false;
    case WM_CANCELMODE:
        EndHot();
        return false;
    case WM_GETOBJECT:
        return AnswerGetObject(wParam, lParam, result);
    case kPressImageButtonMessage:
        Press(static_cast<std::size_t>(wParam));
        return true;
    case WM_THEMECHANGED:
        theme_ = ThemeData(); // closed before the new one opens
        theme_ = visual_styles::Open(parent_, L"TOOLBAR");
        for (const auto& button : buttons_)
            button->ThemeChanged();
        return false;
    default:
        return false;
    }
}

void ImageButtonHost::Paint(HDC dc, const RECT& clip) const {
    for (const auto& button : buttons_)
        button->Paint(dc, clip);
}

} // namespace velbrook::ui
