#include "ui/main_window_form.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "support/errors.h"
#include "support/messages.h"
#include "ui/application.h"
#include <windowsx.h>

namespace velbrook::ui {

namespace {

// NONCLIENTMETRICSA without iPaddedBorderWidth, which older systems refuse.
constexpr UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
static_assert(kNonClientMetricsSize == 340);

constexpr COLORREF kColourKey = RGB(255, 0, 255);
// Posted by Show: the icons are looked up once the window is on screen.
constexpr UINT kShowIconsMessage = WM_APP + 1;

RECT ToRect(const layout::Rect& r) {
    return RECT{r.left, r.top, r.left + r.width, r.top + r.height};
}

win32::Font DesignFont() {
    LOGFONTA font{};
    font.lfHeight = -11;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, "Tahoma", LF_FACESIZE);
    return win32::Font(CreateFontIndirectA(&font));
}

// A masked image list of one bitmap resource cut into images of the given size.
win32::ImageList MaskedImages(const char* resource, int width, int height, int count) {
    win32::ImageList images(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, count, 0));
    const win32::Bitmap bitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (images && bitmap)
        ImageList_AddMasked(images.get(), bitmap.get(), kColourKey);
    return images;
}

// The design width, widened when the text needs more room with the real font (a
// label sizes itself to its text).
int LabelDesignWidth(const design::Control& label, HFONT font, int textHeight) {
    std::string text = label.text;
    std::erase(text, '&');
    win32::WindowDc screen(nullptr);
    const win32::DcSelection selected(screen.get(), font);
    SIZE extent{};
    GetTextExtentPoint32A(screen.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const int needed = (extent.cx * layout::kDesignTextHeight + textHeight - 1) / textHeight;
    return std::max(label.rect.width, needed);
}

// The hot-track colour, unless the theme makes it hard to read on the window colour.
COLORREF LinkColour() {
    const auto luminance = [](COLORREF c) {
        return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000;
    };
    const COLORREF hot = GetSysColor(COLOR_HOTLIGHT);
    const int contrast = luminance(hot) - luminance(GetSysColor(COLOR_WINDOW));
    return contrast * contrast >= 80 * 80 ? hot : GetSysColor(COLOR_HIGHLIGHT);
}

} // namespace

const CommandRoute<TfrSMain> TfrSMain::kRoutes[6] = {
    {design::kIdOk, BN_CLICKED, &TfrSMain::btOkClick},
    {design::kIdCancel, BN_CLICKED, &TfrSMain::btCancelClick},
    {design::kIdHelp, BN_CLICKED, &TfrSMain::btHelpClick},
    {design::kIdDef, BN_DOUBLECLICKED, &TfrSMain::rbDefDblClick},
    {design::kIdCustom, BN_DOUBLECLICKED, &TfrSMain::rbCustomDblClick},
    {design::kIdScheme, CBN_SELCHANGE, &TfrSMain::cbSchemeSelChange},
};

TfrSMain::~TfrSMain() {
    if (hwnd() != nullptr)
        DestroyWindow(hwnd());
}

void TfrSMain::Create() {
    MakeFonts();
    WindowArgs args;
    args.className = design::kWindowClass;
    args.caption = msg::kAppTitle;
    args.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    args.background = COLOR_WINDOW;
    args.designClient = design::kClient;
    args.minimumOuter = design::kMinimumOuter;
    args.textHeight = FontTextHeight(font_.get());
    args.font = font_.get();
    args.centred = true;
    Window::Create(args);
    Application::Instance().InitializeCommonControls();
    LoadArt();
    BuildControls();
    Application::Instance().Guard([this] { FormCreate(); });
}

void TfrSMain::Show() {
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    SetFocus(lv_->Handle());
    PostMessageA(hwnd(), kShowIconsMessage, 0, 0);
}

void TfrSMain::MakeFonts() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
        font_.reset(CreateFontIndirectA(&metrics.lfMessageFont));
    if (!font_)
        font_ = DesignFont();
    LOGFONTA link{};
    link.lfHeight = design::kLinkFontHeight;
    link.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(link.lfFaceName, design::kLinkFontFace, LF_FACESIZE);
    linkFont_.reset(CreateFontIndirectA(&link));
}

void TfrSMain::LoadArt() {
    ImageList1_ = MaskedImages(design::kGlyphsResource, design::kGlyphSize, design::kGlyphSize, 6);
    logo_ =
        MaskedImages(design::kLogoResource, design::kLogoSize.width, design::kLogoSize.height, 1);
    if (logo_ && ImageList_GetImageCount(logo_.get()) == 0)
        logo_.reset();
}

void TfrSMain::BuildControls() {
    using design::Kind;
    buttons_ = std::make_unique<ImageButtonHost>(hwnd());
    for (const design::Control& c : design::Controls()) {
        ControlArgs args;
        args.text = c.text;
        args.id = c.id;
        args.design = c.rect;
        args.anchors = c.anchors;
        switch (c.kind) {
        case Kind::RadioButton:
            args.style = WS_VISIBLE | WS_TABSTOP | BS_AUTORADIOBUTTON | BS_NOTIFY |
                         (c.id == design::kIdDef ? WS_GROUP : 0);
            AddControl(args);
            break;
        case Kind::PushButton:
            args.style = WS_VISIBLE | WS_TABSTOP |
                         (c.id == design::kIdOk ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                         (c.id == design::kIdHelp ? WS_GROUP : 0);
            AddControl(args);
            break;
        case Kind::Label:
            args.className = "STATIC";
            args.style = WS_VISIBLE | SS_LEFTNOWORDWRAP | WS_GROUP;
            args.design.width = LabelDesignWidth(c, font_.get(), TextHeight());
            AddControl(args);
            break;
        case Kind::ComboBox:
            args.className = "COMBOBOX";
            args.style =
                WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
            schemes_ = ComboSchemeList(AddControl(args));
            break;
        case Kind::List: {
            const int th = TextHeight();
            ExtListViewArgs list;
            list.parent = hwnd();
            list.id = c.id;
            list.bounds = PlacedRect(c.name);
            list.columns = {{msg::kPathColumn, layout::Scale(design::kPathColumnWidth, th)},
                            {msg::kNumberColumn, layout::Scale(design::kNumberColumnWidth, th)}};
            list.extendedStyles = {TLVExtendedStyle::lvxFullRowSelect,
                                   TLVExtendedStyle::lvxInfoTip};
            list.hideSelection = false;
            list.font = font_.get();
            list.extraStyle = WS_GROUP;
            lv_ = std::make_unique<TdfsExtListView>(list);
            if (lv_->Handle() == nullptr)
                throw Error("Cannot create the places list");
            lv_->SetRequireComCtlUpdate(true);
            SendMessageA(lv_->Handle(), WM_SETREDRAW, FALSE, 0);
            for (int row = 0; row < kPlaceSlots; ++row)
                lv_->AddRow("", -1, {std::to_string(row + 1)});
            SendMessageA(lv_->Handle(), WM_SETREDRAW, TRUE, 0);
            lv_->OnEditing = [this](int, bool&) { lvEditing(); };
            lv_->OnEdited = [this](int row, std::string& text) {
                Application::Instance().Guard([&] { lvEdited(row, text); });
            };
            lv_->OnEditCanceled = [this](int) {
                Application::Instance().Guard([this] { lvEditCanceled(); });
            };
            lv_->OnDblClick = [this] {
                Application::Instance().Guard([this] { btChangeClick(); });
            };
            lv_->OnKeyDown = [this](WPARAM& key, unsigned) {
                Application::Instance().Guard([&] { lvKeyDown(key); });
            };
            break;
        }
        case Kind::ImageButton:
            AddImageButton(c);
            break;
        case Kind::Band:
        case Kind::Picture:
        case Kind::Link:
            break; // painted by the window
        }
    }
}

void TfrSMain::AddImageButton(const design::Control& control) {
    struct Click {
        const char* name;
        void (TfrSMain::*handler)();
    };
    static const Click kClicks[] = {
        {"btChange", &TfrSMain::btChangeClick},     {"CSTButton2", &TfrSMain::CSTButton2Click},
        {"CSTButton3", &TfrSMain::CSTButton3Click}, {"btDelete", &TfrSMain::btDeleteClick},
        {"CSTButton1", &TfrSMain::CSTButton1Click},
    };
    ImageButtonArgs args;
    args.bounds = PlacedRect(control.name);
    args.hint = control.text;
    args.images = ImageList1_.get();
    args.imageIndex = control.imageIndex;
    TCSTButton& button = buttons_->Add(args);
    imageButtons_.push_back({control.name, &button});
    void (TfrSMain::*handler)() = nullptr;
    for (const Click& click : kClicks) {
        if (std::string_view(click.name) == control.name)
            handler = click.handler;
    }
    if (handler != nullptr) {
        button.OnClick = [this, handler] {
            Application::Instance().Guard([this, handler] { (this->*handler)(); });
        };
    } else {
        button.OnClick = [this, &button] {
            Application::Instance().Guard([this, &button] { UpDwnClick(button); });
        };
    }
}

TCSTButton& TfrSMain::ImageButton(const char* name) {
    for (const NamedButton& named : imageButtons_) {
        if (std::string_view(named.name) == name)
            return *named.button;
    }
    throw Error(std::string("No image button named ") + name);
}

RECT TfrSMain::PlacedRect(const char* name) const {
    const design::Control& control = design::ControlNamed(name);
    RECT client{};
    GetClientRect(hwnd(), &client);
    return ToRect(layout::Place({control.rect, control.anchors}, design::kClient,
                                {client.right, client.bottom}, TextHeight()));
}

void TfrSMain::LayOutWindowless() {
    if (lv_) {
        const RECT r = PlacedRect("lv");
        MoveWindow(lv_->Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    for (const NamedButton& named : imageButtons_)
        buttons_->SetBounds(*named.button, PlacedRect(named.name));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void TfrSMain::Paint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(hwnd(), &paint);
    const RECT band = PlacedRect("Shape1");
    FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
    if (logo_) {
        const RECT logo = PlacedRect("Image1");
        ImageList_Draw(logo_.get(), 0, dc, logo.left, logo.top, ILD_TRANSPARENT);
    }
    {
        RECT link = PlacedRect("Label1");
        const win32::DcSelection font(dc, linkFont_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, LinkColour());
        DrawTextA(dc, msg::kLinkText, -1, &link, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (buttons_)
        buttons_->Paint(dc, paint.rcPaint);
    EndPaint(hwnd(), &paint);
}

bool TfrSMain::OverLink(POINT at) const {
    const RECT logo = PlacedRect("Image1");
    const RECT link = PlacedRect("Label1");
    return PtInRect(&logo, at) || PtInRect(&link, at);
}

LRESULT TfrSMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (buttons_ && buttons_->HandleMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_COMMAND: {
        bool routed = false;
        Application::Instance().Guard(
            [&] { routed = RouteCommand(*this, kRoutes, LOWORD(wParam), HIWORD(wParam)); });
        if (routed)
            return 0;
        break;
    }
    case WM_NOTIFY:
        if (lv_ && lv_->HandleNotify(reinterpret_cast<const NMHDR*>(lParam), result))
            return result;
        break;
    case WM_PAINT:
        Paint();
        return 0;
    case kShowIconsMessage:
        Application::Instance().Guard([this] { ShowIcons(); });
        return 0;
    case WM_SIZE:
        result = Window::HandleMessage(message, wParam, lParam);
        LayOutWindowless();
        return result;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        if (OverLink({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
            Application::Instance().Guard([this] { Label1MouseDown(); });
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == hwnd() && LOWORD(lParam) == HTCLIENT) {
            POINT at{};
            GetCursorPos(&at);
            ScreenToClient(hwnd(), &at);
            if (OverLink(at)) {
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
                return TRUE;
            }
        }
        break;
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
        SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_CTLCOLORBTN:
        // The push buttons stand on the button-face band.
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_DESTROY:
        FormDestroy();
        return 0;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace velbrook::ui
