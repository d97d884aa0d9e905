// Waits for a message box, prints its caption and text, and presses a button,
// so that a message box never hangs a test.
//   answer_box PID|any OK|YES|NO|CANCEL [TIMEOUT_MS]
// Output: the caption, a line feed, then the text exactly as shown.
// Exit code 0 when a box was answered, 1 when none came in time, 2 on bad usage.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kMessageTextId = 0xFFFF;

struct Search {
    DWORD processId; // 0: any process
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    char className[16] = {};
    GetClassNameA(window, className, sizeof(className));
    if (std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (search.processId != 0 && owner != search.processId)
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND FindMessageBox(DWORD processId) {
    Search search{processId, nullptr};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return text;
}

int ButtonId(const char* name) {
    const struct {
        const char* name;
        int id;
    } buttons[] = {{"OK", IDOK}, {"YES", IDYES}, {"NO", IDNO}, {"CANCEL", IDCANCEL}};
    for (const auto& button : buttons) {
        if (_stricmp(button.name, name) == 0)
            return button.id;
    }
    return 0;
}

void WriteOut(const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || ButtonId(argv[2]) == 0) {
        WriteOut("usage: answer_box PID|any OK|YES|NO|CANCEL [TIMEOUT_MS]\n");
        return 2;
    }
    const DWORD processId = _stricmp(argv[1], "any") == 0 ? 0 : std::strtoul(argv[1], nullptr, 10);
    const int button = ButtonId(argv[2]);
    const DWORD timeoutMs = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 20000;

    const DWORD start = GetTickCount();
    HWND box = nullptr;
    while ((box = FindMessageBox(processId)) == nullptr) {
        if (GetTickCount() - start > timeoutMs)
            return 1;
        Sleep(10);
    }
    WriteOut(WindowText(box) + "\n" + WindowText(GetDlgItem(box, kMessageTextId)));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    while (IsWindow(box) && GetTickCount() - start <= timeoutMs)
        Sleep(10);
    return IsWindow(box) ? 1 : 0;
}
