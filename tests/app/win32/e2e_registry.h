#pragma once
// Direct access to the real registry for the end-to-end tests: saving and
// restoring whole keys, and writing and reading the values the program uses.
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/win32/windows_ansi.h"

namespace velbrook::e2e {

// A value as the wide registry functions give it: text in UTF-16.
struct WideValue {
    DWORD type = 0;
    std::vector<BYTE> data;

    bool operator==(const WideValue&) const = default;
};

inline void PrintTo(const WideValue& value, std::ostream* out) {
    *out << "type " << value.type << " data";
    for (const BYTE b : value.data)
        *out << ' ' << std::hex << static_cast<int>(b) << std::dec;
}

// REG_SZ or REG_EXPAND_SZ text with its NUL, and a REG_DWORD.
WideValue WideText(DWORD type, const std::wstring& text);
WideValue DwordValue(DWORD value);

struct KeySnapshot {
    struct Value {
        std::wstring name;
        WideValue value;
    };
    bool exists = false;
    std::vector<Value> values;
    std::vector<std::pair<std::string, KeySnapshot>> subkeys;
};

// Under HKEY_CURRENT_USER.
KeySnapshot CaptureKey(const std::string& path);
void DeleteKeyTree(const std::string& path);
// Deletes the key and puts back what the snapshot held.
void RestoreKey(const std::string& path, const KeySnapshot& snapshot);

bool KeyExists(const std::string& path);
void WriteStringValue(const std::string& path, const std::string& name, const std::string& value);
void WriteDwordValue(const std::string& path, const std::string& name, DWORD value);
// The REG_SZ text of a value; nothing when missing or of another type.
std::optional<std::string> ReadStringValue(const std::string& path, const std::string& name);
std::optional<DWORD> ReadDwordValue(const std::string& path, const std::string& name);
std::optional<WideValue> ReadWideValue(const std::string& path, const std::string& name);
void WriteWideValue(const std::string& path, const std::string& name, const WideValue& value);

// Saves a key for the life of the object and restores it afterwards.
class KeyGuard {
  public:
    explicit KeyGuard(std::string path) : path_(std::move(path)), saved_(CaptureKey(path_)) {}
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;
    ~KeyGuard() { RestoreKey(path_, saved_); }

  private:
    std::string path_;
    KeySnapshot saved_;
};

} // namespace velbrook::e2e
