#include "support/win32/win32_registry_store.h"

#include <string>

#include "support/win32/wide_text.h"
#include "support/win32/windows_ansi.h"

namespace velbrook {

namespace {

HKEY ToHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

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

// Where the ANSI code page is not UTF-8, a text value may hold characters that it
// has no form for; the A function would hand them over as question marks, which
// a later write would store.
bool HoldsUntranslatableText(HKEY key, const char* name) {
    if (GetACP() == CP_UTF8)
        return false;
    const std::wstring wideName = win32::WideFromAnsi(name != nullptr ? name : "");
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        !IsText(type))
        return false;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &got) != ERROR_SUCCESS)
        return false;
    text.resize(got / sizeof(wchar_t));
    return !win32::AnsiFromWide(text);
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

long Win32RegistryStore::QueryValue(RegKey key, const char* name, std::uint32_t* type,
                                    std::uint8_t* data, std::uint32_t* size) {
    if (data != nullptr && HoldsUntranslatableText(ToHkey(key), name))
        return ERROR_NO_UNICODE_TRANSLATION;
    DwordOut typeOut(type);
    DwordOut sizeOut(size);
    return RegQueryValueExA(ToHkey(key), name, nullptr, typeOut.Get(), data, sizeOut.Get());
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

long Win32RegistryStore::EnumValue(RegKey key, std::uint32_t index, char* name,
                                   std::uint32_t* nameLen) {
    DwordOut nameLenOut(nameLen);
    return RegEnumValueA(ToHkey(key), index, name, nameLenOut.Get(), nullptr, nullptr, nullptr,
                         nullptr);
}

RegistryStore& PlatformRegistryStore() {
    static Win32RegistryStore store;
    return store;
}

} // namespace velbrook
