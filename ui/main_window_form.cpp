#include "ui/main_window_form.h"

#include <algorithm>
#include <cstddef>
#include <string>

#include "support/errors.h"
#include "support/messages.h"
#include "ui/application.h"
#include "ui/scaling.h"
#include "ui/window_art.h"
#include <windowsx.h>

namespace velbrook::ui {

namespace {

// Posted by Show: the rows' icons are looked up once the window is on screen.
constexpr UINT kShowIconsMessage = WM_APP + 1;
// Posted by CheckFoldersLater.
constexpr UINT kCheckFoldersMessage = WM_APP + 3;

RECT ToRect(const layout::Rect& r) {
    return RECT{r.left, r.top, r.left + r.width, r.top + r.height};
}

// The design width, widened when the text needs more room with the real font (a
// label sizes itself to its text).
int LabelDesignWidth(const design::Control& label, HFONT font, int textHeight) {
    std::string text = label.text;
    std::erase(text, '&');
    win32::WindowDc screen(GetDC(nullptr));
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

const CommandRoute<MainWindow> MainWindow::kRoutes[6] = {
    {design::kIdOk, BN_CLICKED, &MainWindow::OnOk},
    {design::kIdCancel, BN_CLICKED, &MainWindow::OnCancel},
    {design::kIdHelp, BN_CLICKED, &MainWindow::OnHelp},
    {design::kIdDefaultRadio, BN_DOUBLECLICKED, &MainWindow::OnDefaultRadioDoubleClick},
    {design::kIdCustomRadio, BN_DOUBLECLICKED, &MainWindow::OnCustomRadioDoubleClick},
    {design::kIdSchemeBox, CBN_SELCHANGE, &MainWindow::OnSchemeSelectionChange},
};

MainWindow::~MainWindow() {
    if (hwnd() != nullptr)
        DestroyWindow(hwnd());
}

void MainWindow::Create() {
    dpi_ = SystemDpi();
    const int textHeight = DesignTextHeight(dpi_);
    MakeFonts(textHeight);
    WindowArgs args;
    args.className = design::kWindowClass;
    args.caption = msg::kAppTitle;
    args.icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    args.background = COLOR_WINDOW;
    args.designClient = design::kClient;
    args.minimumOuter = design::kMinimumOuter;
    args.textHeight = textHeight;
    args.font = font_.get();
    args.centred = true;
    Window::Create(args);
    // Where monitors have resolutions of their own, the window may have come up
    // on one that differs from the system's.
    if (const int dpi = WindowDpi(hwnd()); dpi != dpi_)
        ApplyDpi(dpi, nullptr);
    Application::Instance().InitializeCommonControls();
    LoadArt();
    BuildControls();
    Application::Instance().Guard([this] { OnCreate(); });
}

void MainWindow::Show() {
    // The image list sets the rows' height, which must not change after the first paint.
    AttachSystemImages();
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    SetFocus(list_->Handle());
    // F2, Del and the arrows act on a row from the start, and the row shows it.
    if (list_->SelectedIndex() < 0)
        list_->SelectRow(0);
    SendMessageA(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    PostMessageA(hwnd(), kShowIconsMessage, 0, 0);
}

// The window's font is the message font, which changes no position or size;
// the link's own font scales with the layout.
void MainWindow::MakeFonts(int textHeight) {
    font_ = MessageFont(dpi_);
    LOGFONTA link{};
    link.lfHeight = layout::Scale(design::kLinkFontHeight, textHeight);
    link.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(link.lfFaceName, design::kLinkFontFace, LF_FACESIZE);
    linkFont_.reset(CreateFontIndirectA(&link));
}

void MainWindow::ApplyDpi(int dpi, const RECT* suggested) {
    const int before = TextHeight();
    dpi_ = dpi;
    const int textHeight = DesignTextHeight(dpi);
    // The controls still use the old font and glyphs until they are given the new ones.
    const win32::Font oldFont = std::move(font_);
    const win32::ImageList oldGlyphs = std::move(glyphs_);
    MakeFonts(textHeight);
    SetFont(font_.get());
    // Before the art is loaded (a first resolution seen at creation) LoadArt makes it.
    if (oldGlyphs)
        LoadArt();
    for (const CommandButtonPlace& place : commandButtons_)
        place.button->SetImages(glyphs_.get());
    if (systemImages_ != nullptr) {
        systemImages_ = icons_.For(dpi);
        list_->SetSmallImages(systemImages_);
        MakeMissingFolderMark();
    }
    if (list_) {
        for (int column = 0; column < list_->ColumnCount(); ++column)
            list_->SetColumnWidth(column, MulDiv(list_->ColumnWidth(column), textHeight, before));
    }
    SetTextHeight(textHeight);
    if (const HWND label = Item(design::kIdSchemeLabel))
        SetDesign(label, LabelDesign(textHeight));
    RECT place{};
    GetWindowRect(hwnd(), &place);
    if (suggested != nullptr)
        place = *suggested;
    const layout::Size minimum = ScaledMinimumOuter(
        suggested ? MonitorFromRect(suggested, MONITOR_DEFAULTTONEAREST) : nullptr);
    const int width = std::max<int>(suggested ? place.right - place.left : 0, minimum.width);
    const int height = std::max<int>(suggested ? place.bottom - place.top : 0, minimum.height);
    SetWindowPos(hwnd(), nullptr, place.left, place.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (suggested == nullptr)
        CenterOnWorkArea(hwnd());
    LayOutWindowless();
}

void MainWindow::LoadArt() {
    glyphs_ = GlyphImages(dpi_);
    logo_ = LogoImage(dpi_);
    placed_.clear(); // the logo's place follows its size
}

layout::Rect MainWindow::LabelDesign(int textHeight) const {
    layout::Rect design = design::ControlOf(design::Part::SchemeLabel).rect;
    design.width =
        LabelDesignWidth(design::ControlOf(design::Part::SchemeLabel), font_.get(), textHeight);
    return design;
}

void MainWindow::BuildControls() {
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
                         (c.id == design::kIdDefaultRadio ? WS_GROUP : 0);
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
            args.design = LabelDesign(TextHeight());
            AddControl(args);
            break;
        case Kind::ComboBox:
            args.className = "COMBOBOX";
            args.style =
                WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT;
            args.dropDownHeight = design::kSchemeDropDownHeight;
            schemes_ = ComboSchemeList(AddControl(args), schemeEntries_);
            break;
        case Kind::List: {
            const int th = TextHeight();
            PlacesListViewArgs list;
            list.parent = hwnd();
            list.id = c.id;
            list.bounds = PlacedRect(c.part);
            list.columns = {{msg::kPathColumn, layout::Scale(design::kPathColumnWidth, th)},
                            {msg::kNumberColumn, layout::Scale(design::kNumberColumnWidth, th)}};
            list.extendedStyles = {ListViewExtendedStyle::FullRowSelect,
                                   ListViewExtendedStyle::InfoTip};
            list.hideSelection = false;
            list.font = font_.get();
            list.extraStyle = WS_GROUP;
            list_ = std::make_unique<PlacesListView>(list);
            if (list_->Handle() == nullptr)
                throw Error(msg::kCannotCreatePlacesList);
            list_->SetRequireComCtlUpdate(true);
            SendMessageA(list_->Handle(), WM_SETREDRAW, FALSE, 0);
            for (int row = 0; row < kPlaceSlots; ++row)
                list_->AddRow("", -1, {std::to_string(row + 1)});
            SendMessageA(list_->Handle(), WM_SETREDRAW, TRUE, 0);
            list_->OnEditing = [this](int, bool&) { OnRowEditStarting(); };
            list_->OnEdited = [this](int row, std::string& text) { OnRowEdited(row, text); };
            list_->OnEditCanceled = [this](int) { OnRowEditCancelled(); };
            list_->OnDblClick = [this] { OnChangeRow(); };
            list_->OnInfoTip = [this](int row, int, const std::string& current,
                                      std::string& additional) {
                InfoTipOf(row, current, additional);
            };
            list_->AcceptDroppedFiles([this](int row, const std::vector<std::wstring>& names) {
                Application::Instance().Guard([&] { OnFoldersDropped(row, names); });
            });
            // Keys reach the list's and its editor's own window procedures, not this one.
            list_->OnKeyDown = [this](WPARAM& key, unsigned) {
                Application::Instance().Guard([&] { OnListKeyDown(key); });
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

void MainWindow::AddImageButton(const design::Control& control) {
    const Command* command = FindCommand(control.id);
    if (command == nullptr)
        throw Error(msg::kNoCommandForImageButton);
    ImageButtonArgs args;
    args.bounds = PlacedRect(control.part);
    args.hint = HintWithShortcut(*command);
    args.name = command->hint;
    args.shortcut = ShortcutText(command->shortcut);
    args.images = glyphs_.get();
    args.imageIndex = control.imageIndex;
    const int id = control.id;
    args.onClick = [this, id] { RunCommand(id); };
    ImageButton& button = buttons_->Add(args);
    button.SetEnabled(CommandEnabled(*command));
    commandButtons_.push_back({&control, &button});
}

void MainWindow::UpdateLayout() const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const layout::Size size{client.right, client.bottom};
    if (!placed_.empty() && size == placedSize_ && TextHeight() == placedTextHeight_)
        return;
    const std::span<const design::Control> controls = design::Controls();
    std::vector<layout::Item> items;
    items.reserve(controls.size());
    for (const design::Control& control : controls)
        items.push_back({control.rect, control.anchors});
    placed_.clear();
    for (const layout::Rect& r : layout::LayOut(items, design::kClient, size, TextHeight()))
        placed_.push_back(ToRect(r));
    placedSize_ = size;
    placedTextHeight_ = TextHeight();
    logoRect_ = LogoRect();
}

RECT MainWindow::PlacedRect(design::Part part) const {
    if (placed_.empty())
        UpdateLayout();
    const std::span<const design::Control> controls = design::Controls();
    for (std::size_t i = 0; i < controls.size() && i < placed_.size(); ++i) {
        if (controls[i].part == part)
            return placed_[i];
    }
    throw Error(msg::kNoSuchWindowPart);
}

RECT MainWindow::LogoRect() const {
    const RECT place = PlacedRect(design::Part::Logo);
    int width = 0;
    int height = 0;
    if (logo_)
        ImageList_GetIconSize(logo_.get(), &width, &height);
    // Centred on its place, which it may overhang: it is drawn for the
    // resolution, the place scales with the design font.
    const int left = (place.left + place.right - width) / 2;
    const int top = (place.top + place.bottom - height) / 2;
    return RECT{left, top, left + width, top + height};
}

void MainWindow::LayOutWindowless() {
    UpdateLayout();
    if (list_) {
        const RECT r = PlacedRect(design::Part::PlacesList);
        MoveWindow(list_->Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    for (const CommandButtonPlace& place : commandButtons_)
        buttons_->SetBounds(*place.button, PlacedRect(place.control->part));
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void MainWindow::Paint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(hwnd(), &paint);
    const RECT band = PlacedRect(design::Part::ButtonBand);
    FillRect(dc, &band, GetSysColorBrush(COLOR_BTNFACE));
    if (logo_)
        ImageList_Draw(logo_.get(), 0, dc, logoRect_.left, logoRect_.top, ILD_TRANSPARENT);
    {
        RECT link = PlacedRect(design::Part::WebSiteLink);
        const win32::DcSelection font(dc, linkFont_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, LinkColour());
        DrawTextA(dc, msg::kLinkText, -1, &link, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (buttons_)
        buttons_->Paint(dc, paint.rcPaint);
    EndPaint(hwnd(), &paint);
}

bool MainWindow::OverLink(POINT at) const {
    const RECT place = PlacedRect(design::Part::Logo);
    const RECT link = PlacedRect(design::Part::WebSiteLink);
    return PtInRect(&place, at) || PtInRect(&logoRect_, at) || PtInRect(&link, at);
}

void MainWindow::CheckFoldersLater() {
    if (!folderCheckPosted_)
        folderCheckPosted_ = PostMessageA(hwnd(), kCheckFoldersMessage, 0, 0) != FALSE;
}

void MainWindow::CheckFolders() {
    folderCheckPosted_ = false;
    if (!folderMarks_ || !rows_)
        return;
    for (int row = 0; row < list_->RowCount(); ++row)
        folderMarks_->Check(row, rows_->FolderOf(row));
}

void MainWindow::InfoTipOf(int row, const std::string& current, std::string& additional) const {
    // A folded tip shows nothing of its own; an unfolded one shows the caption.
    additional = current.empty() ? list_->Caption(row) : std::string();
    if (folderMarks_ && folderMarks_->Marked(row))
        additional += std::string("\r\n") + msg::kPlaceLeftOutByDialogs;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (buttons_ && buttons_->HandleMessage(message, wParam, lParam, result))
        return result;
    if (folderMarks_ && folderMarks_->HandleMessage(message, wParam, lParam))
        return 0;
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 && HIWORD(wParam) == kShortcutCode) {
            RunCommand(LOWORD(wParam));
            return 0;
        }
        if (RouteCommand(*this, kRoutes, LOWORD(wParam), HIWORD(wParam)))
            return 0;
        break;
    case kTranslateShortcutMessage:
        return TranslateShortcut(*reinterpret_cast<const MSG*>(lParam));
    case WM_DPICHANGED:
        ApplyDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_NOTIFY:
        if (list_ && list_->HandleNotify(reinterpret_cast<const NMHDR*>(lParam), result))
            return result;
        break;
    case WM_PAINT:
        Paint();
        return 0;
    case kShowIconsMessage:
        ShowIcons();
        CheckFolders();
        return 0;
    case kCheckFoldersMessage:
        CheckFolders();
        return 0;
    case WM_ACTIVATE:
        // Back from Explorer, a folder may have come or gone.
        if (LOWORD(wParam) != WA_INACTIVE)
            CheckFoldersLater();
        break;
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
            OnWebSiteLink();
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
        OnDestroy();
        return 0;
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
    default:
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace velbrook::ui
