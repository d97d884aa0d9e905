#include "support/win32/shell.h"

#include <utility>

#include "support/strings.h"
#include "support/win32/dll_safety.h"
#include "support/win32/handles.h"
#include "support/win32/wide_text.h"

namespace velbrook::win32 {

namespace {

constexpr int kPathBufferSize = 2601;
constexpr char kUnknownFileName[] = "file.withunknownextension";

struct ShellState {
    HWND mainWindow = nullptr;
    bool oleInitialized = false;
    ComRef<IMalloc> allocator;
    std::string initialFolder;
    int unknownFileIcon = -1;
};

ShellState& State() {
    static ShellState state;
    return state;
}

// Shows the application-starting cursor and puts the previous one back.
class BusyCursor {
  public:
    BusyCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_APPSTARTING))) {}
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor() { SetCursor(previous_); }

  private:
    HCURSOR previous_;
};

} // namespace

void PrepareShell() {
    ShellState& state = State();
    if (!state.oleInitialized)
        state.oleInitialized = SUCCEEDED(OleInitialize(nullptr));
    if (state.allocator.get() == nullptr) {
        IMalloc* allocator = nullptr;
        if (SUCCEEDED(SHGetMalloc(&allocator)))
            state.allocator = ComRef<IMalloc>(allocator);
    }
}

namespace {

int CALLBACK PreselectInitialFolder(HWND browser, UINT message, LPARAM, LPARAM) {
    if (message == BFFM_INITIALIZED) {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                     reinterpret_cast<LPARAM>(State().initialFolder.c_str()));
    }
    return 0;
}

// The number of the special folder that the item is, or -1.
int SpecialFolderOf(LPCITEMIDLIST item) {
    constexpr int kLastSpecialFolder = 0x3F;
    for (int csidl = 0; csidl <= kLastSpecialFolder; ++csidl) {
        const ItemIdList special = SpecialFolderLocation(csidl);
        if (special.get() != nullptr && ILIsEqual(special.get(), item))
            return csidl;
    }
    return -1;
}

int AskIconIndex(const std::string& path, UINT flags) {
    PrepareShell();
    SHFILEINFOA info{};
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, flags);
    return info.iIcon;
}

DWORD ExitCodeOf(HANDLE process) {
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process, &exitCode);
    return exitCode;
}

// Pumps messages until the process ends; a WM_QUIT is put back for the main loop.
// The end is told by the process's handle, not by its exit code: a process may
// end with the code that means "still running" (259).
DWORD WaitForProcess(HANDLE process) {
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(message.wParam));
                return ExitCodeOf(process);
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1)
            return ExitCodeOf(process);
    }
}

} // namespace

void ItemIdListTraits::Close(LPITEMIDLIST list) {
    if (IMalloc* allocator = State().allocator.get())
        allocator->Free(list);
    else
        CoTaskMemFree(list);
}

ItemIdList SpecialFolderLocation(int csidl) {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)))
        list = nullptr;
    return ItemIdList(list);
}

void SetMainWindowHandle(HWND window) {
    State().mainWindow = window;
}

HWND MainWindowHandle() {
    return State().mainWindow;
}

HWND DefaultOwnerWindow() {
    return State().mainWindow != nullptr ? State().mainWindow : GetDesktopWindow();
}

void ShellStartup() {
    ShellState& state = State();
    state.initialFolder.clear();
    state.unknownFileIcon = -1;
}

void ShellShutdown() {
    ShellState& state = State();
    state.initialFolder.clear();
    state.allocator.reset();
    if (state.oleInitialized)
        OleUninitialize();
    state.oleInitialized = false;
}

BrowsedFolder BrowseForFolder(const std::string& title, const std::string& initialFolder) {
    PrepareShell();
    State().initialFolder = initialFolder;
    std::string displayName(kPathBufferSize, '\0');

    BROWSEINFOA info{};
    info.hwndOwner = DefaultOwnerWindow();
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName.data();
    info.lpszTitle = title.c_str();
    // Folders without a path may be chosen too: the places bar takes some of them.
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    info.lpfn = initialFolder.empty() ? nullptr : PreselectInitialFolder;
    info.lParam = 0;

    BrowsedFolder result;
    const ItemIdList chosen(SHBrowseForFolderA(&info));
    if (chosen.get() == nullptr)
        return result;
    if (std::optional<std::string> path = FolderPathOf(chosen.get())) {
        result.path = std::move(*path);
        return result;
    }
    result.specialFolder = SpecialFolderOf(chosen.get());
    if (result.specialFolder < 0)
        result.unusableName = displayName.substr(0, displayName.find('\0'));
    return result;
}

std::optional<std::string> FolderPathOf(LPCITEMIDLIST folder) {
    wchar_t path[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListW(folder, path))
        return std::nullopt;
    const std::wstring_view text(path);
    // Wine answers for some virtual folders with their parsing name.
    if (text.empty() || text.starts_with(L"::"))
        return std::nullopt;
    return AnsiFromWide(text);
}

Icon WarningIcon(int size) {
    using StockIconInfo = HRESULT(WINAPI*)(SHSTOCKICONID, UINT, SHSTOCKICONINFO*);
    PrepareShell();
    const auto stockIconInfo =
        ProcAddress<StockIconInfo>(GetModuleHandleA("shell32.dll"), "SHGetStockIconInfo");
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof info;
    if (stockIconInfo != nullptr &&
        SUCCEEDED(stockIconInfo(SIID_WARNING, SHGSI_ICON | SHGSI_SMALLICON, &info)) &&
        info.hIcon != nullptr) {
        const Icon stock(info.hIcon);
        return Icon(static_cast<HICON>(CopyImage(stock.get(), IMAGE_ICON, size, size, 0)));
    }
    // Wine's shell has no stock icons: the system's own warning icon.
    const HANDLE shared = LoadImageA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING), IMAGE_ICON,
                                     size, size, LR_SHARED);
    return Icon(static_cast<HICON>(CopyImage(shared, IMAGE_ICON, size, size, 0)));
}

int GetSystemIconIndex(const std::string& path, unsigned request) {
    UINT flags = SHGFI_SYSICONINDEX;
    if (request & kIconByNameOnly)
        flags |= SHGFI_USEFILEATTRIBUTES;
    if (request & kOpenIcon)
        flags |= SHGFI_OPENICON;
    if (!(request & kLargeIcon))
        flags |= SHGFI_SMALLICON;
    const int index = AskIconIndex(RemoveTrailingBackslash(path), flags);
    return index != 0 ? index : GetUnknownFileIconIndex();
}

int GetUnknownFileIconIndex() {
    int& cached = State().unknownFileIcon;
    if (cached == -1) {
        cached = AskIconIndex(kUnknownFileName,
                              SHGFI_SYSICONINDEX | SHGFI_USEFILEATTRIBUTES | SHGFI_SMALLICON);
    }
    return cached;
}

namespace {

HIMAGELIST SystemImages(UINT size) {
    PrepareShell();
    SHFILEINFOA info{};
    static_assert(sizeof info == (sizeof(void*) == 8 ? 360 : 352));
    return reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | size));
}

} // namespace

HIMAGELIST SystemSmallImages() {
    return SystemImages(SHGFI_SMALLICON);
}

HIMAGELIST SystemLargeImages() {
    return SystemImages(SHGFI_LARGEICON);
}

std::intptr_t ExecuteShell(const std::string& fileName, LPCITEMIDLIST itemList, bool useItemList,
                           const std::string& verb, const std::string& parameters,
                           const std::string& directory, bool wait) {
    const BusyCursor busy;
    PrepareShell();

    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.hwnd = DefaultOwnerWindow();
    info.lpVerb = verb.c_str();
    if (useItemList) {
        info.fMask |= SEE_MASK_IDLIST;
        info.lpIDList = const_cast<LPITEMIDLIST>(itemList);
    } else {
        info.lpFile = fileName.c_str();
    }
    info.lpParameters = parameters.c_str();
    info.lpDirectory = directory.c_str();
    info.nShow = SW_SHOWNORMAL;

    if (!ShellExecuteExA(&info))
        return -1;
    const KernelObject process(info.hProcess);
    // Without a process handle (the document went to a running program) there is
    // nothing to wait for.
    if (!wait || !process)
        return reinterpret_cast<std::intptr_t>(info.hInstApp);
    return static_cast<std::intptr_t>(WaitForProcess(process.get()));
}

std::intptr_t OpenDocument(const std::string& fileName, const std::string& verb,
                           const std::string& parameters, const std::string& directory, bool wait) {
    return ExecuteShell(fileName, nullptr, false, verb, parameters, directory, wait);
}

} // namespace velbrook::win32
