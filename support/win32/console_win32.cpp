#include "support/console.h"

#include "support/win32/handles.h"
#include "support/win32/wide_text.h"
#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

// The console of the process that started this one, attached on first use;
// empty when that process has none.
HANDLE ParentConsole() {
    static const win32::File console = [] {
        if (!AttachConsole(ATTACH_PARENT_PROCESS))
            return win32::File();
        return win32::File(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
    }();
    return console.get();
}

// A console shows wide text whatever its code page; false for anything that
// is not a console.
bool WriteConsoleText(HANDLE console, std::string_view text) {
    const std::wstring wide = win32::WideFromAnsi(text);
    DWORD written = 0;
    return WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written,
                         nullptr) != FALSE;
}

// A file or pipe takes the bytes as they are.
bool WriteBytes(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written == 0)
            return false;
        text.remove_prefix(written);
    }
    return true;
}

void WriteStandard(DWORD which, std::string_view text) {
    const HANDLE inherited = GetStdHandle(which);
    if (inherited != nullptr && inherited != INVALID_HANDLE_VALUE &&
        (WriteConsoleText(inherited, text) || WriteBytes(inherited, text)))
        return;
    const HANDLE console = ParentConsole();
    if (console != INVALID_HANDLE_VALUE)
        WriteConsoleText(console, text);
}

} // namespace

void WriteStandardOutput(std::string_view text) {
    WriteStandard(STD_OUTPUT_HANDLE, text);
}

void WriteStandardError(std::string_view text) {
    WriteStandard(STD_ERROR_HANDLE, text);
}

void SuppressSystemDialogs() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
}

} // namespace velbrook
