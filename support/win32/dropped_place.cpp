#include "support/win32/dropped_place.h"

#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/handles.h"
#include "support/win32/shell.h"
#include "support/win32/wide_text.h"

namespace velbrook::win32 {
namespace {

bool IsShortcut(const std::wstring& name) {
    return name.size() > 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".lnk") == 0;
}

// The target of a shell link, without resolving it (which may search the
// disks or ask the user); empty when it has no path.
std::wstring ShortcutTarget(const std::wstring& name) {
    PrepareShell();
    IShellLinkW* linkObject = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&linkObject))))
        return {};
    const ComRef<IShellLinkW> link(linkObject);
    IPersistFile* fileObject = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&fileObject))))
        return {};
    const ComRef<IPersistFile> file(fileObject);
    std::wstring target(32768, L'\0');
    if (FAILED(file->Load(name.c_str(), STGM_READ)) ||
        link->GetPath(target.data(), static_cast<int>(target.size()), nullptr, 0) != S_OK)
        return {};
    target.resize(target.find(L'\0'));
    return target;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring LastPart(const std::wstring& name) {
    const std::size_t slash = name.find_last_of(L"\\/");
    return slash == std::wstring::npos || slash + 1 == name.size() ? name : name.substr(slash + 1);
}

} // namespace

DroppedPlace PlaceOfDroppedName(const std::wstring& name) {
    DroppedPlace place;
    place.name = AnsiFromWideLossy(LastPart(name));
    const std::wstring folder = IsFolder(name)     ? name
                                : IsShortcut(name) ? ShortcutTarget(name)
                                                   : L"";
    if (folder.empty() || !IsFolder(folder))
        return place;
    place.path = AnsiFromWide(folder);
    if (!place.path)
        throw Error(FormatText(msg::kTextNotInCodePage, AnsiFromWideLossy(folder)));
    return place;
}

} // namespace velbrook::win32
