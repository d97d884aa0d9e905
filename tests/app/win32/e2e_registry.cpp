#include "app/win32/e2e_registry.h"

#include "support/win32/handles.h"

namespace velbrook::e2e {

namespace {

using win32::RegistryKey;

// The key, or none when it cannot be opened (or made).
RegistryKey Open(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return {};
    return RegistryKey(key);
}

RegistryKey Create(const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return {};
    return RegistryKey(key);
}

std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}

void WriteValue(const std::string& path, const std::string& name, DWORD type, const void* data,
                DWORD size) {
    const RegistryKey key = Create(path);
    if (key)
        RegSetValueExA(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

} // namespace

// Values are kept in their wide form, so that text of any language comes back as it was.
KeySnapshot CaptureKey(const std::string& path) {
    KeySnapshot snapshot;
    const RegistryKey key = Open(path);
    if (!key)
        return snapshot;
    snapshot.exists = true;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        KeySnapshot::Value value{std::wstring(name, nameLength), {type, std::vector<BYTE>(size)}};
        nameLength = 16384;
        RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, value.value.data.data(),
                      &size);
        value.value.data.resize(size);
        snapshot.values.push_back(std::move(value));
    }
    for (const std::string& name : SubkeyNames(key.get()))
        snapshot.subkeys.emplace_back(name, CaptureKey(path + "\\" + name));
    return snapshot;
}

void DeleteKeyTree(const std::string& path) {
    {
        const RegistryKey key = Open(path);
        if (!key)
            return;
        for (const std::string& name : SubkeyNames(key.get()))
            DeleteKeyTree(path + "\\" + name);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
}

void RestoreKey(const std::string& path, const KeySnapshot& snapshot) {
    DeleteKeyTree(path);
    if (!snapshot.exists)
        return;
    const RegistryKey key = Create(path);
    if (!key)
        return;
    for (const auto& value : snapshot.values) {
        RegSetValueExW(key.get(), value.name.c_str(), 0, value.value.type, value.value.data.data(),
                       static_cast<DWORD>(value.value.data.size()));
    }
    for (const auto& [name, subkey] : snapshot.subkeys)
        RestoreKey(path + "\\" + name, subkey);
}

bool KeyExists(const std::string& path) {
    return static_cast<bool>(Open(path));
}

void WriteStringValue(const std::string& path, const std::string& name, const std::string& value) {
    WriteValue(path, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void WriteDwordValue(const std::string& path, const std::string& name, DWORD value) {
    WriteValue(path, name, REG_DWORD, &value, sizeof(value));
}

std::optional<std::string> ReadStringValue(const std::string& path, const std::string& name) {
    const RegistryKey key = Open(path);
    if (!key)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    std::string text(size, '\0');
    RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                     &size);
    text.resize(text.find('\0') == std::string::npos ? size : text.find('\0'));
    return text;
}

std::optional<DWORD> ReadDwordValue(const std::string& path, const std::string& name) {
    const RegistryKey key = Open(path);
    if (!key)
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

WideValue WideText(DWORD type, const std::wstring& text) {
    WideValue value{type, {}};
    for (const wchar_t c : text + L'\0') {
        value.data.push_back(static_cast<BYTE>(c & 0xFF));
        value.data.push_back(static_cast<BYTE>(c >> 8));
    }
    return value;
}

WideValue DwordValue(DWORD number) {
    return {REG_DWORD,
            {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
             static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)}};
}

std::optional<WideValue> ReadWideValue(const std::string& path, const std::string& name) {
    const RegistryKey key = Open(path);
    if (!key)
        return std::nullopt;
    const std::wstring wideName(name.begin(), name.end());
    WideValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &value.type, value.data.data(), &size);
    value.data.resize(size);
    return value;
}

void WriteWideValue(const std::string& path, const std::string& name, const WideValue& value) {
    const RegistryKey key = Create(path);
    const std::wstring wideName(name.begin(), name.end());
    if (key)
        RegSetValueExW(key.get(), wideName.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
}

} // namespace velbrook::e2e
