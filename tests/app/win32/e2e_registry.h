#pragma once
// Direct access to the real registry for the end-to-end tests: saving and
// restoring whole keys, and writing and reading the values the program uses.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/win32/windows_ansi.h"

namespace velbrook::e2e {

struct KeySnapshot {
    struct Value {
        std::string name;
        DWORD type = 0;
        std::string data;
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
