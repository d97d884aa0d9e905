#include "app/win32/e2e_registry.h"

namespace velbrook::e2e {

namespace {

class Key {
  public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }
    HKEY Get() const { return key_; }
    HKEY* Out() { return &key_; }

  private:
    HKEY key_ = nullptr;
};

bool Open(const std::string& path, Key& key) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, key.Out()) ==
           ERROR_SUCCESS;
}

bool Create(const std::string& path, Key& key) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_ALL_ACCESS, nullptr, key.Out(), nullptr) == ERROR_SUCCESS;
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
    Key key;
    if (Create(path, key))
        RegSetValueExA(key.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

} // namespace

// Values are kept in their wide form, so that text of any language comes back as it was.
KeySnapshot CaptureKey(const std::string& path) {
    KeySnapshot snapshot;
    Key key;
    if (!Open(path, key))
        return snapshot;
    snapshot.exists = true;
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueW(key.Get(), i, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        KeySnapshot::Value value{std::wstring(name, nameLength), {type, std::vector<BYTE>(size)}};
        nameLength = 16384;
        RegEnumValueW(key.Get(), i, name, &nameLength, nullptr, &type, value.value.data.data(),
                      &size);
        value.value.data.resize(size);
        snapshot.values.push_back(std::move(value));
    }
    for (const std::string& name : SubkeyNames(key.Get()))
        snapshot.subkeys.emplace_back(name, CaptureKey(path + "\\" + name));
    return snapshot;
}

void DeleteKeyTree(const std::string& path) {
    {
        Key key;
        if (!Open(path, key))
            return;
        for (const std::string& name : SubkeyNames(key.Get()))
            DeleteKeyTree(path + "\\" + name);
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
}

void RestoreKey(const std::string& path, const KeySnapshot& snapshot) {
    DeleteKeyTree(path);
    if (!snapshot.exists)
        return;
    Key key;
    if (!Create(path, key))
        return;
    for (const auto& value : snapshot.values) {
        RegSetValueExW(key.Get(), value.name.c_str(), 0, value.value.type, value.value.data.data(),
                       static_cast<DWORD>(value.value.data.size()));
    }
    for (const auto& [name, subkey] : snapshot.subkeys)
        RestoreKey(path + "\\" + name, subkey);
}

bool KeyExists(const std::string& path) {
    Key key;
    return Open(path, key);
}

void WriteStringValue(const std::string& path, const std::string& name, const std::string& value) {
    WriteValue(path, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void WriteDwordValue(const std::string& path, const std::string& name, DWORD value) {
    WriteValue(path, name, REG_DWORD, &value, sizeof(value));
}

std::optional<std::string> ReadStringValue(const std::string& path, const std::string& name) {
    Key key;
    if (!Open(path, key))
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    std::string text(size, '\0');
    RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                     &size);
    text.resize(text.find('\0') == std::string::npos ? size : text.find('\0'));
    return text;
}

std::optional<DWORD> ReadDwordValue(const std::string& path, const std::string& name) {
    Key key;
    if (!Open(path, key))
        return std::nullopt;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
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
    Key key;
    if (!Open(path, key))
        return std::nullopt;
    const std::wstring wideName(name.begin(), name.end());
    WideValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &value.type, value.data.data(), &size);
    value.data.resize(size);
    return value;
}

void WriteWideValue(const std::string& path, const std::string& name, const WideValue& value) {
    Key key;
    const std::wstring wideName(name.begin(), name.end());
    if (Create(path, key))
        RegSetValueExW(key.Get(), wideName.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
}

} // namespace velbrook::e2e
