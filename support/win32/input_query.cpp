#include "support/win32/input_query.h"

#include <vector>

#include "support/messages.h"
#include "support/win32/centring.h"
#include "support/win32/handles.h"
#include "support/win32/message_font.h"
#include "support/win32/wide_text.h"

namespace velbrook::win32 {

namespace {

constexpr int kPromptId = 100;
constexpr int kEditId = 101;
constexpr int kMaxLength = 255;

// Builds an in-memory dialog template (DLGTEMPLATE with DS_SETFONT and its items).
class TemplateWriter {
  public:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Text(const char* ansi) {
        const int count = MultiByteToWideChar(CP_ACP, 0, ansi, -1, nullptr, 0);
        std::vector<wchar_t> wide(count > 0 ? count : 1, L'\0');
        if (count > 0)
            MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide.data(), count);
        for (wchar_t c : wide)
            Word(static_cast<WORD>(c));
    }
    void AlignDword() {
        if (words_.size() % 2 != 0)
            Word(0);
    }
    // The text of the prompt is set at WM_INITDIALOG; button titles are written here.
    void Item(DWORD style, short x, short y, short cx, short cy, int id, WORD classAtom,
              const char* title = "") {
        AlignDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0); // extended style
        for (short v : {x, y, cx, cy})
            Word(static_cast<WORD>(v));
        Word(static_cast<WORD>(id));
        Word(0xFFFF);
        Word(classAtom);
        Text(title);
        Word(0); // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    std::vector<WORD> words_;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

int PointSize(const LOGFONTA& font) {
    if (font.lfHeight >= 0)
        return font.lfHeight > 0 ? font.lfHeight : 8;
    WindowDc screen(GetDC(nullptr));
    return MulDiv(-font.lfHeight, 72, GetDeviceCaps(screen.get(), LOGPIXELSY));
}

TemplateWriter BuildTemplate() {
    const LOGFONTA font = SystemMessageFont();
    TemplateWriter t;
    t.Dword(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.Dword(0);
    t.Word(4); // items
    for (short v : {0, 0, 180, 63})
        t.Word(static_cast<WORD>(v));
    t.Word(0); // no menu
    t.Word(0); // default class
    t.Word(0); // caption: set at WM_INITDIALOG
    t.Word(static_cast<WORD>(PointSize(font)));
    t.Text(font.lfFaceName);
    t.Item(SS_LEFT | SS_NOPREFIX, 6, 8, 168, 9, kPromptId, kStaticAtom);
    t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 6, 20, 168, 12, kEditId, kEditAtom);
    t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 70, 42, 50, 14, IDOK, kButtonAtom, msg::kInputOk);
    t.Item(BS_PUSHBUTTON | WS_TABSTOP, 124, 42, 50, 14, IDCANCEL, kButtonAtom, msg::kInputCancel);
    return t;
}

struct QueryState {
    const std::string& caption;
    const std::string& prompt;
    std::string& value;
};

// On a visible owner, otherwise on the work area; inside the work area either way.
void CenterOnOwner(HWND dialog) {
    const HWND owner = GetWindow(dialog, GW_OWNER);
    const RECT work =
        WorkAreaOf(MonitorFromWindow(owner != nullptr ? owner : dialog, MONITOR_DEFAULTTOPRIMARY));
    RECT area{};
    if (owner == nullptr || !IsWindowVisible(owner) || !GetWindowRect(owner, &area))
        area = work;
    MoveCentred(dialog, area, work);
}

// Read as wide text: the A length of a window's text need not count the bytes
// that the code page needs for it.
std::string EditText(HWND edit) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    const int copied = GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
    text.resize(copied > 0 ? copied : 0);
    return AnsiFromWideLossy(text);
}

INT_PTR CALLBACK QueryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* state = reinterpret_cast<QueryState*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        SetWindowTextA(dialog, state->caption.c_str());
        SetDlgItemTextA(dialog, kPromptId, state->prompt.c_str());
        const HWND edit = GetDlgItem(dialog, kEditId);
        SendMessageA(edit, EM_LIMITTEXT, kMaxLength, 0);
        SetWindowTextA(edit, state->value.c_str());
        CenterOnOwner(dialog);
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        return FALSE; // focus set here
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            auto* state = reinterpret_cast<QueryState*>(GetWindowLongPtrA(dialog, DWLP_USER));
            state->value = EditText(GetDlgItem(dialog, kEditId));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

bool InputQueryBox(HWND owner, const std::string& caption, const std::string& prompt,
                   std::string& value) {
    const TemplateWriter dialog = BuildTemplate();
    QueryState state{caption, prompt, value};
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), owner,
                                                   &QueryProc, reinterpret_cast<LPARAM>(&state));
    return result == IDOK;
}

} // namespace velbrook::win32
