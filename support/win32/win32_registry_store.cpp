#include "support/win32/win32_registry_store.h"

#include <optional>
#include <string>
#include <vector>

#include "support/win32/wide_text.h"
#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

HKEY ToHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

// The registry's longest value name.
constexpr std::size_t kLongestValueName = 16383;

// DWORD and std::uint32_t are distinct types on mingw; pass through a local.
class DwordOut {
  public:
    explicit DwordOut(std::uint32_t* target) : target_(target) {
        if (target_ != nullptr)
            value_ = *target_;
    }
    ~DwordOut() {
        if (target_ != nullptr)
            *target_ = value_;
    }
    DwordOut(const DwordOut&) = delete;
    DwordOut& operator=(const DwordOut&) = delete;
    DWORD* Get() { return target_ != nullptr ? &value_ : nullptr; }

  private:
    std::uint32_t* target_;
    DWORD value_ = 0;
};

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The value as RegQueryValueExW gives it, read at once into room for most values.
LONG QueryWide(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data) {
    data.resize(1024);
    for (int attempt = 0;; ++attempt) {
        DWORD size = static_cast<DWORD>(data.size());
        const LONG result = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
        // The value may grow between calls.
        if (result == ERROR_MORE_DATA && attempt < 4) {
            data.resize(size);
            continue;
        }
        if (result == ERROR_SUCCESS)
            data.resize(size);
        return result;
    }
}

} // namespace

long Win32RegistryStore::OpenKey(RegKey base, const char* subkey, std::uint32_t access,
                                 RegKey* key) {
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(ToHkey(base), subkey, 0, access, &opened);
    if (result == ERROR_SUCCESS)
        *key = reinterpret_cast<RegKey>(opened);
    return result;
}

long Win32RegistryStore::CreateKey(RegKey base, const char* subkey, std::uint32_t access,
                                   RegKey* key) {
    HKEY created = nullptr;
    const LONG result = RegCreateKeyExA(ToHkey(base), subkey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        access, nullptr, &created, nullptr);
    if (result == ERROR_SUCCESS)
        *key = reinterpret_cast<RegKey>(created);
    return result;
}

long Win32RegistryStore::CloseKey(RegKey key) {
    return RegCloseKey(ToHkey(key));
}

// One wide read, converted here as RegQueryValueExA converts, except that text
// the code page cannot hold exactly is refused: the A function would hand it
// over with question marks, which a later write would store.
long Win32RegistryStore::QueryValue(RegKey key, const char* name, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
    if (data != nullptr && size == nullptr)
        return ERROR_INVALID_PARAMETER;
    DWORD valueType = 0;
    std::vector<BYTE> wide;
    const LONG result =
        QueryWide(ToHkey(key), win32::WideFromAnsi(name != nullptr ? name : ""), valueType, wide);
    if (result != ERROR_SUCCESS)
        return result;
    std::string text;
    const BYTE* bytes = wide.data();
    std::size_t count = wide.size();
    if (IsText(valueType)) {
        const std::wstring_view characters(reinterpret_cast<const wchar_t*>(wide.data()),
                                           wide.size() / sizeof(wchar_t));
        std::optional<std::string> exact = win32::AnsiFromWide(characters);
        if (!exact && data != nullptr)
            return ERROR_NO_UNICODE_TRANSLATION;
        text = exact ? std::move(*exact) : win32::AnsiFromWideLossy(characters);
        bytes = reinterpret_cast<const BYTE*>(text.data());
        count = text.size();
    }
    if (type != nullptr)
        *type = valueType;
    return HandOutData(bytes, count, data, size);
}

long Win32RegistryStore::QueryValueW(RegKey key, const char* name, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
    const std::wstring wideName = win32::WideFromAnsi(name != nullptr ? name : "");
    DwordOut typeOut(type);
    DwordOut sizeOut(size);
    return RegQueryValueExW(ToHkey(key), wideName.c_str(), nullptr, typeOut.Get(), data,
                            sizeOut.Get());
}

long Win32RegistryStore::SetValueW(RegKey key, const char* name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
    const std::wstring wideName = win32::WideFromAnsi(name != nullptr ? name : "");
    return RegSetValueExW(ToHkey(key), wideName.c_str(), 0, type, data, size);
}

long Win32RegistryStore::SetValue(RegKey key, const char* name, std::uint32_t type,
                                  const std::uint8_t* data, std::uint32_t size) {
    return RegSetValueExA(ToHkey(key), name, 0, type, data, size);
}

long Win32RegistryStore::DeleteValue(RegKey key, const char* name) {
    return RegDeleteValueA(ToHkey(key), name);
}

long Win32RegistryStore::DeleteKey(RegKey base, const char* subkey) {
    return RegDeleteKeyA(ToHkey(base), subkey);
}

long Win32RegistryStore::RenameKey(RegKey key, const char* subkey, const char* newName) {
    return RegRenameKey(ToHkey(key), win32::WideFromAnsi(subkey).c_str(),
                        win32::WideFromAnsi(newName).c_str());
}

long Win32RegistryStore::QueryInfoKey(RegKey key, std::uint32_t* subkeys,
                                      std::uint32_t* maxSubkeyLen, std::uint32_t* values) {
    DwordOut subkeysOut(subkeys);
    DwordOut maxLenOut(maxSubkeyLen);
    DwordOut valuesOut(values);
    return RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, subkeysOut.Get(),
                            maxLenOut.Get(), nullptr, valuesOut.Get(), nullptr, nullptr, nullptr,
                            nullptr);
}

long Win32RegistryStore::EnumKey(RegKey key, std::uint32_t index, char* name,
                                 std::uint32_t* nameLen) {
    DwordOut nameLenOut(nameLen);
    return RegEnumKeyExA(ToHkey(key), index, name, nameLenOut.Get(), nullptr, nullptr, nullptr,
                         nullptr);
}

long Win32RegistryStore::EnumValueW(RegKey key, std::uint32_t index, char* name,
                                    std::uint32_t* nameLen, std::uint32_t* type, std::uint8_t* data,
                                    std::uint32_t* size) {
    if (name == nullptr || nameLen == nullptr)
        return ERROR_INVALID_PARAMETER;
    std::wstring wideName(kLongestValueName + 1, L'\0');
    DWORD wideLength = static_cast<DWORD>(wideName.size());
    DwordOut typeOut(type);
    DwordOut sizeOut(size);
    const LONG result = RegEnumValueW(ToHkey(key), index, wideName.data(), &wideLength, nullptr,
                                      typeOut.Get(), data, sizeOut.Get());
    if (result != ERROR_SUCCESS)
        return result;
    const std::optional<std::string> text =
        win32::AnsiFromWide(std::wstring_view(wideName.data(), wideLength));
    if (!text)
        return ERROR_NO_UNICODE_TRANSLATION;
    if (text->size() >= *nameLen) {
        *nameLen = static_cast<std::uint32_t>(text->size() + 1);
        return ERROR_MORE_DATA;
    }
    CopyMemory(name, text->c_str(), text->size() + 1);
    *nameLen = static_cast<std::uint32_t>(text->size());
    return ERROR_SUCCESS;
}

RegistryStore& PlatformRegistryStore() {
    static Win32RegistryStore store;
    return store;
}

} // namespace velbrook
