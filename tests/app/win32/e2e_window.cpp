#include "app/win32/e2e_window.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "ui/main_window_design.h"

namespace velbrook::e2e {

namespace {

constexpr UINT kSendTimeoutMs = 10000;

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_BLOCK, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// True once the window's thread has answered, which it does between events.
bool Answers(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, kSendTimeoutMs, &ignored) != 0;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Memory in the program's process, for the messages that carry a pointer.
class RemoteBuffer {
  public:
    RemoteBuffer(HANDLE process, std::size_t size)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer() {
        if (address_ != nullptr)
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    char* Address() const { return static_cast<char*>(address_); }
    bool Write(const void* data, std::size_t size, std::size_t offset = 0) const {
        return WriteProcessMemory(process_, Address() + offset, data, size, nullptr) != FALSE;
    }
    bool Read(void* data, std::size_t size, std::size_t offset = 0) const {
        return ReadProcessMemory(process_, Address() + offset, data, size, nullptr) != FALSE;
    }

  private:
    HANDLE process_;
    void* address_;
};

} // namespace

ProgramWindow::ProgramWindow(const ChildProcess& process, DWORD timeoutMs) : process_(process) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
        const HWND window = FindProcessWindow(process.Id(), ui::design::kWindowClass);
        // Shown, and done with what it does on showing.
        if (window != nullptr && Answers(window)) {
            window_ = window;
            return;
        }
        if (WaitForSingleObject(process.Handle(), kPollMs) == WAIT_OBJECT_0)
            return;
    }
}

HWND ProgramWindow::List() const {
    return GetDlgItem(window_, ui::design::kIdPlacesList);
}

void ProgramWindow::SelectRow(int row) {
    Send(List(), WM_KEYDOWN, VK_HOME, 1);
    for (int i = 0; i < row; ++i)
        Send(List(), WM_KEYDOWN, VK_DOWN, 1);
}

bool ProgramWindow::Editing() const {
    const auto editor = reinterpret_cast<HWND>(Send(List(), LVM_GETEDITCONTROL, 0, 0));
    return editor != nullptr && IsWindowVisible(editor);
}

bool ProgramWindow::EditSelectedRow(const std::wstring& text) {
    Send(List(), WM_KEYDOWN, VK_F2, 1);
    const auto editor = reinterpret_cast<HWND>(Send(List(), LVM_GETEDITCONTROL, 0, 0));
    if (editor == nullptr)
        return false;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK,
                        kSendTimeoutMs, &ignored);
    return true;
}

// The image buttons have no windows of their own; their places are those of
// their tools in the window's tooltip control, which the first mouse move makes.
bool ProgramWindow::ClickImageButton(const char* hint) {
    Send(window_, WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    const HWND tooltip = FindProcessWindow(process_.Id(), TOOLTIPS_CLASSA, window_);
    if (tooltip == nullptr)
        return false;
    constexpr std::size_t kTextSize = 256;
    RemoteBuffer remote(process_.Handle(), sizeof(TOOLINFOA) + kTextSize);
    const int count = static_cast<int>(Send(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.lpszText = remote.Address() + sizeof tool;
        const char none = '\0';
        remote.Write(&tool, sizeof tool);
        remote.Write(&none, 1, sizeof tool);
        if (!Send(tooltip, TTM_ENUMTOOLSA, static_cast<WPARAM>(i),
                  reinterpret_cast<LPARAM>(remote.Address())))
            continue;
        char text[kTextSize] = {};
        remote.Read(&tool, sizeof tool);
        remote.Read(text, kTextSize - 1, sizeof tool);
        // The tooltip shows the hint and, after it in brackets, the shortcut.
        const std::size_t length = std::strlen(hint);
        if (std::strncmp(text, hint, length) != 0 ||
            (text[length] != '\0' && std::strncmp(text + length, " (", 2) != 0))
            continue;
        const LPARAM at = MAKELPARAM((tool.rect.left + tool.rect.right) / 2,
                                     (tool.rect.top + tool.rect.bottom) / 2);
        PostMessageA(window_, WM_MOUSEMOVE, 0, at);
        PostMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(window_, WM_LBUTTONUP, 0, at);
        return true;
    }
    return false;
}

void ProgramWindow::Click(int id) {
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window_, id)));
}

void ProgramWindow::ClickOk() {
    Click(IDOK);
}

void ProgramWindow::ClickCancel() {
    Click(IDCANCEL);
}

ShownDialog WaitForDialog(const ChildProcess& process, DWORD timeoutMs) {
    ShownDialog dialog;
    for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
        dialog.window = FindProcessWindow(process.Id(), "#32770");
        if (dialog.window != nullptr) {
            dialog.caption = TextOf(dialog.window);
            if (const HWND message = GetDlgItem(dialog.window, 0xFFFF))
                dialog.text = TextOf(message);
            return dialog;
        }
        if (WaitForSingleObject(process.Handle(), kPollMs) == WAIT_OBJECT_0)
            break;
    }
    return dialog;
}

bool WaitUntilClosed(const ShownDialog& dialog, DWORD timeoutMs) {
    for (DWORD waited = 0; waited <= timeoutMs; waited += kPollMs) {
        if (!IsWindow(dialog.window) || !IsWindowVisible(dialog.window))
            return true;
        Sleep(kPollMs);
    }
    return false;
}

void SetDialogText(const ShownDialog& dialog, int control, const std::wstring& text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(GetDlgItem(dialog.window, control), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK, kSendTimeoutMs,
                        &ignored);
}

void PressDialogButton(const ShownDialog& dialog, int button) {
    PostMessageA(dialog.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog.window, button)));
}

} // namespace velbrook::e2e
