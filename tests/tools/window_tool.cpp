// Waits for, or closes, a visible top-level window with a given caption, so that
// scripts and tests can work with the program's window without a person.
//   window_tool wait  CAPTION [TIMEOUT_MS]   exit 0 once the window is up and painted
//   window_tool close CAPTION [TIMEOUT_MS]   posts WM_CLOSE, exit 0 once it is gone
//   window_tool show PROGRAM READY DONE [dropdown|add|delete|complete]
//       starts the program, waits for its visible main window ("Velbrook"),
//       optionally drops down its combo box, or presses Insert in its list (the
//       scheme name dialog), or chooses the first scheme and presses Delete in
//       the scheme box (the confirmation), creates the file READY, waits for the
//       file DONE, cancels a dialog, closes the window and exits with the
//       program's exit code. Lets a script on the host take a picture of a
//       window on a Wine desktop.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND FindVisible(const char* caption) {
    HWND hwnd = FindWindowA(nullptr, caption);
    return hwnd != nullptr && IsWindowVisible(hwnd) ? hwnd : nullptr;
}

bool WaitFor(const char* caption, bool present, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if ((FindVisible(caption) != nullptr) == present)
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char caption[64] = {};
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (pid == search->processId && IsWindowVisible(hwnd) &&
        std::strcmp(caption, "Velbrook") == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindProcessDialog(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char className[16] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (pid == search->processId && IsWindowVisible(hwnd) &&
        std::strcmp(className, "#32770") == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The program's dialog once it is up and painted; nullptr when none came.
HWND WaitForDialog(DWORD processId) {
    Search search{processId, nullptr};
    for (int i = 0; i < 400 && search.found == nullptr; ++i) {
        EnumWindows(FindProcessDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr)
            Sleep(10);
    }
    if (search.found != nullptr) {
        RedrawWindow(search.found, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
    }
    return search.found;
}

bool FileExists(const char* name) {
    return GetFileAttributesA(name) != INVALID_FILE_ATTRIBUTES;
}

int Show(char* program, const char* readyFile, const char* doneFile, const char* mode) {
    const bool dropDown = std::strcmp(mode, "dropdown") == 0;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, program, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 2;
    CloseHandle(process.hThread);
    Search search{process.dwProcessId, nullptr};
    for (int i = 0; i < 1200 && search.found == nullptr; ++i) {
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr)
            Sleep(10);
    }
    int exitCode = 1;
    if (search.found != nullptr) {
        // The rows' icons arrive just after the window shows.
        HWND list = FindWindowExA(search.found, nullptr, WC_LISTVIEWA, nullptr);
        for (int i = 0; list != nullptr && i < 400 &&
                        SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0) == 0;
             ++i)
            Sleep(10);
        HWND combo = FindWindowExA(search.found, nullptr, "ComboBox", nullptr);
        RedrawWindow(search.found, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
        // F4 drops the list down in the program's own thread, as the user's key would.
        if (dropDown && combo != nullptr) {
            PostMessageA(combo, WM_KEYDOWN, VK_F4, 1);
            for (int i = 0; i < 400 && !SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0); ++i)
                Sleep(10);
            // The dropped list is a window of its own: painted before the picture too.
            for (HWND box = FindWindowExA(nullptr, nullptr, "ComboLBox", nullptr); box != nullptr;
                 box = FindWindowExA(nullptr, box, "ComboLBox", nullptr)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(box, &pid);
                if (pid == process.dwProcessId && IsWindowVisible(box))
                    RedrawWindow(box, nullptr, nullptr,
                                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
            }
            SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
        }
        // The dialogs come from the program's own shortcuts, as a user would open them.
        HWND dialog = nullptr;
        if (std::strcmp(mode, "add") == 0 && list != nullptr) {
            PostMessageA(list, WM_KEYDOWN, VK_INSERT, 1);
            dialog = WaitForDialog(process.dwProcessId);
        } else if (std::strcmp(mode, "complete") == 0 && list != nullptr) {
            // F2 on the first row, then a path typed into its editor.
            PostMessageA(list, WM_KEYDOWN, VK_F2, 1);
            HWND editor = nullptr;
            for (int i = 0; i < 400 && editor == nullptr; ++i, Sleep(10))
                editor = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETEDITCONTROL, 0, 0));
            SendMessageA(editor, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
            for (const char* c = "C:\\windows\\sys"; *c != '\0'; ++c)
                PostMessageA(editor, WM_CHAR, static_cast<unsigned char>(*c), 1);
            SendMessageTimeoutA(search.found, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
            // The suggestions are a window of their own: painted before the picture too.
            HWND box = nullptr;
            for (int i = 0; i < 400 && box == nullptr; ++i, Sleep(10)) {
                for (HWND top = FindWindowExA(nullptr, nullptr, nullptr, nullptr); top != nullptr;
                     top = FindWindowExA(nullptr, top, nullptr, nullptr)) {
                    DWORD pid = 0;
                    GetWindowThreadProcessId(top, &pid);
                    if (pid == process.dwProcessId && IsWindowVisible(top) &&
                        FindWindowExA(top, nullptr, "ListBox", nullptr) != nullptr)
                        box = top;
                }
            }
            if (box != nullptr)
                RedrawWindow(box, nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        } else if (std::strcmp(mode, "delete") == 0 && combo != nullptr) {
            SendMessageA(combo, CB_SETCURSEL, 0, 0);
            SendMessageA(search.found, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(combo));
            PostMessageA(combo, WM_KEYDOWN, VK_DELETE, 1);
            dialog = WaitForDialog(process.dwProcessId);
        }
        CloseHandle(CreateFileA(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        for (int i = 0; i < 2400 && !FileExists(doneFile); ++i)
            Sleep(10);
        if (dropDown && combo != nullptr)
            SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        if (dialog != nullptr) {
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            for (int i = 0; i < 400 && IsWindow(dialog); ++i)
                Sleep(10);
        }
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        exitCode = search.found != nullptr ? static_cast<int>(code) : 1;
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hProcess);
    return exitCode;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_tool wait|close CAPTION [TIMEOUT_MS]\n");
        return 2;
    }
    const char* mode = argv[1];
    if (std::strcmp(mode, "show") == 0) {
        if (argc < 5)
            return 2;
        return Show(argv[2], argv[3], argv[4], argc > 5 ? argv[5] : "");
    }
    const char* caption = argv[2];
    const DWORD timeoutMs = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 30000;

    if (std::strcmp(mode, "wait") == 0) {
        if (!WaitFor(caption, true, timeoutMs))
            return 1;
        HWND hwnd = FindVisible(caption);
        RedrawWindow(hwnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_BLOCK, timeoutMs, &ignored);
        return 0;
    }
    if (std::strcmp(mode, "close") == 0) {
        HWND hwnd = FindVisible(caption);
        if (hwnd == nullptr)
            return 1;
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        return WaitFor(caption, false, timeoutMs) ? 0 : 1;
    }
    return 2;
}
