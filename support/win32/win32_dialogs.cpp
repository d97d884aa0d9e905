// The real dialogs of the program on Windows.
#include "support/dialogs.h"
#include "support/win32/input_query.h"
#include "support/win32/shell.h"
#include "support/win32/visual_styles_context.h"
#include "support/win32/windows_ansi.h"

#include <commdlg.h>

// UserDialogs::MessageBox is a method, not the Windows macro.
#undef MessageBox

namespace velbrook {

namespace {

// Long paths must fit; the dialog itself caps nothing below this.
constexpr DWORD kFileNameBufferSize = 32 * 1024;

HWND OwnerOf(WindowRef owner) {
    return owner != 0 ? reinterpret_cast<HWND>(owner) : win32::DefaultOwnerWindow();
}

class Win32Dialogs : public UserDialogs {
  public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags,
                   WindowRef owner) override {
        win32::UseVisualStyles();
        return MessageBoxA(OwnerOf(owner), text.c_str(), caption.c_str(), flags);
    }

    BrowsedFolder BrowseForFolder(const std::string& title,
                                  const std::string& initialFolder) override {
        return win32::BrowseForFolder(title, initialFolder);
    }

    bool AskPlacesFileName(std::string& fileName) override {
        std::string buffer(kFileNameBufferSize, '\0');
        OPENFILENAMEA dialog{};
        dialog.lStructSize = sizeof(dialog);
        dialog.hwndOwner = win32::MainWindowHandle();
        dialog.lpstrFile = buffer.data();
        dialog.nMaxFile = kFileNameBufferSize;
        dialog.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER;
        if (!GetOpenFileNameA(&dialog))
            return false;
        buffer.resize(buffer.find('\0'));
        fileName = buffer;
        return true;
    }

    bool InputQuery(const std::string& caption, const std::string& prompt,
                    std::string& value) override {
        return win32::InputQueryBox(win32::MainWindowHandle(), caption, prompt, value);
    }

    std::intptr_t OpenDocument(const std::string& fileName, const std::string& verb,
                               const std::string& parameters, const std::string& directory,
                               bool wait) override {
        return win32::OpenDocument(fileName, verb, parameters, directory, wait);
    }
};

} // namespace

UserDialogs& PlatformDialogs() {
    static Win32Dialogs dialogs;
    return dialogs;
}

} // namespace velbrook
