#include "support/win32/stored_place.h"
#include "support/stored_place_path.h"

#include "support/errors.h"
#include "support/messages.h"
#include "support/win32/shell.h"
#include "support/win32/wide_text.h"

namespace velbrook::win32 {

namespace {

constexpr UINT kIconFlags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON;

std::wstring StoredText(const RegValue& value) {
    std::wstring text(value.data.size() / sizeof(wchar_t), L'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(value.data[2 * i] | (value.data[2 * i + 1] << 8));
    return text.substr(0, text.find(L'\0'));
}

std::wstring Expanded(const std::wstring& text) {
    const DWORD size = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (size == 0)
        return text;
    std::wstring expanded(size, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size);
    if (written == 0 || written > size)
        return text;
    expanded.resize(written - 1);
    return expanded;
}

int IconOr(int icon) {
    return icon != 0 ? icon : GetUnknownFileIconIndex();
}

PlaceLook DescribeSpecialFolder(int csidl) {
    PlaceLook look;
    const ItemIdList folder = SpecialFolderLocation(csidl);
    if (folder.get() != nullptr) {
        SHFILEINFOW info{};
        SHGetFileInfoW(reinterpret_cast<const wchar_t*>(folder.get()), 0, &info, sizeof info,
                       SHGFI_PIDL | SHGFI_DISPLAYNAME | kIconFlags);
        look.caption = AnsiFromWideLossy(info.szDisplayName);
        look.icon = IconOr(info.iIcon);
        look.path = FolderPathOf(folder.get());
    }
    if (look.caption.empty())
        look.caption = FormatText(msg::kSpecialFolderNumber, static_cast<long long>(csidl));
    if (look.icon == -1)
        look.icon = GetUnknownFileIconIndex();
    return look;
}

PlaceLook DescribeText(const RegValue& value) {
    const std::wstring text = StoredText(value);
    std::wstring folder = value.type == REG_EXPAND_SZ ? Expanded(text) : text;
    PlaceLook look;
    look.caption = AnsiFromWideLossy(text);
    if (!folder.empty())
        look.path = AnsiFromWide(folder);
    // As for a typed path: the shell is asked about the folder without a final
    // backslash, except for a drive root.
    if (folder.size() > 3 && folder.back() == L'\\')
        folder.pop_back();
    SHFILEINFOW info{};
    SHGetFileInfoW(folder.c_str(), 0, &info, sizeof info, kIconFlags);
    look.icon = IconOr(info.iIcon);
    return look;
}

} // namespace

PlaceLook DescribeStoredPlace(const RegValue& value) {
    PrepareShell();
    if (value.type == REG_DWORD) {
        const int csidl =
            value.data.size() == 4
                ? static_cast<int>(value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                   (static_cast<unsigned>(value.data[3]) << 24))
                : -1;
        return DescribeSpecialFolder(csidl);
    }
    return DescribeText(value);
}

RegValue SpecialFolderValue(int csidl) {
    const auto bits = static_cast<std::uint32_t>(csidl);
    return {REG_DWORD,
            {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
             static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)}};
}

} // namespace velbrook::win32

namespace velbrook {

StoredPlacePath PathOfStoredPlace(const RegValue& value) {
    win32::PlaceLook look = win32::DescribeStoredPlace(value);
    return {std::move(look.caption), std::move(look.path)};
}

} // namespace velbrook
