#include "support/win32/win32_registry_store.h"

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
    DwordOut typeOut(type);
    DwordOut sizeOut(size);
    return RegQueryValueExA(ToHkey(key), name, nullptr, typeOut.Get(), data, sizeOut.Get());
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

RegistryStore& PlatformRegistryStore() {
    static Win32RegistryStore store;
    return store;
}

} // namespace velbrook
