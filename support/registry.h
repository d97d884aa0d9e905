#pragma once
// Registry cursor over HKEY_CURRENT_USER on top of the registry seam.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/errors.h"
#include "support/registry_store.h"

namespace velbrook {

enum class RegDataType { Unknown, String, ExpandString, Integer, Binary };

// A value exactly as the registry keeps it: its type and its data as the W
// functions give it (text in UTF-16), so that it can be written back unchanged.
struct RegValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;

    bool operator==(const RegValue&) const = default;
};

// Text as the W functions keep it, two bytes a character, low byte first; and
// the characters of such data, all of them (a NUL included).
std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text);
std::u16string Utf16Text(const std::vector<std::uint8_t>& bytes);

// A text value's characters up to its first NUL.
std::u16string TextOf(const RegValue& value);
// A REG_DWORD value, and the number of one (nullopt for any other value).
RegValue DwordValue(std::uint32_t number);
std::optional<std::uint32_t> DwordOf(const RegValue& value);

// What a key is opened for: reading only, reading and writing an existing key,
// or reading and writing a key that is created when missing.
enum class KeyMode { Read, Write, Create };

class RegistryCursor {
  public:
    RegistryCursor();
    explicit RegistryCursor(RegistryStore& store);
    virtual ~RegistryCursor();
    RegistryCursor(const RegistryCursor&) = delete;
    RegistryCursor& operator=(const RegistryCursor&) = delete;

    RegKey RootKey() const { return rootKey_; }
    RegKey CurrentKey() const { return currentKey_.Get(); }
    const std::string& CurrentPath() const { return currentPath_; }
    RegistryStore& Store() const { return *store_; }

    bool OpenKey(const std::string& path, bool canCreate) {
        return OpenKey(path, canCreate ? KeyMode::Create : KeyMode::Read);
    }
    bool OpenKey(const std::string& path, KeyMode mode) { return TryOpenKey(path, mode) == 0; }
    // The store's answer; the key is current only on success.
    long TryOpenKey(const std::string& path, KeyMode mode);
    // True when opened, false when the key does not exist; raises an Error naming
    // the key for any other failure (access denied included).
    bool OpenExistingKey(const std::string& path, KeyMode mode);
    void CloseKey();
    bool DeleteKey(const std::string& path);
    // Renames a subkey of the current key in one step; false when it cannot be
    // renamed (a key of the new name exists).
    bool RenameKey(const std::string& subkey, const std::string& newName);

    bool ValueExists(const std::string& name);
    RegDataType GetDataType(const std::string& name);
    std::string ReadString(const std::string& name);
    // As ReadString, but nullopt when the value does not exist; any other
    // failure raises.
    std::optional<std::string> ReadStringIfExists(const std::string& name);
    // As ReadStringIfExists, but nullopt also for text that the ANSI code page
    // cannot hold exactly.
    std::optional<std::string> ReadStringIfFaithful(const std::string& name);
    // nullopt when the value does not exist; any other failure raises.
    std::optional<RegValue> ReadValueIfExists(const std::string& name);
    void WriteValue(const std::string& name, const RegValue& value);
    std::int32_t ReadInteger(const std::string& name);
    // As ReadInteger, but nullopt when the value does not exist.
    std::optional<std::int32_t> ReadIntegerIfExists(const std::string& name);
    void WriteString(const std::string& name, const std::string& value);
    void WriteInteger(const std::string& name, std::int32_t value);
    bool DeleteValue(const std::string& name);
    // Names of the subkeys of the current key. False when no key is open or the
    // store could not list them all.
    bool GetKeyNames(std::vector<std::string>& names);
    // The current key's values with their data as stored, and its subkeys' names,
    // in one call for the counts and one per value and subkey. A value whose name
    // the code page cannot hold is left out, as a lookup by that name would not
    // find it either. False as above.
    bool ReadContent(std::vector<std::pair<std::string, RegValue>>& values,
                     std::vector<std::string>& subkeys);

    // Makes a subkey current for the scope's lifetime. However the scope ends,
    // returning or raising, the key that was current before is current again,
    // without reopening it by path.
    class [[nodiscard]] SubkeyScope {
      public:
        SubkeyScope(RegistryCursor& cursor, const std::string& path, bool canCreate)
            : SubkeyScope(cursor, path, canCreate ? KeyMode::Create : KeyMode::Read) {}
        SubkeyScope(RegistryCursor& cursor, const std::string& path, KeyMode mode);
        ~SubkeyScope();
        SubkeyScope(const SubkeyScope&) = delete;
        SubkeyScope& operator=(const SubkeyScope&) = delete;

        // False when the subkey could not be opened; the cursor has not moved.
        explicit operator bool() const { return opened_; }

      private:
        RegistryCursor& cursor_;
        RegKeyHandle previousKey_;
        std::string previousPath_;
        bool opened_ = false;
    };

  private:
    // nullopt with `untranslatable` set for text the code page cannot hold.
    std::optional<std::string> ReadText(const std::string& name, bool& untranslatable);
    RegKey BaseKeyFor(bool absolute) const;
    long OpenKeyHandle(const std::string& path, KeyMode mode, RegKeyHandle& handle,
                       std::string& newPath) const;
    bool DeleteKeyTree(RegKey base, const std::string& subkey);

    RegistryStore* store_;
    RegKey rootKey_ = kHkeyCurrentUser;
    RegKeyHandle currentKey_;
    std::string currentPath_;
};

// False only when the store says that the key (below HKEY_CURRENT_USER) does not
// exist; any other answer, access denied included, means that it may.
bool KeyMayExist(RegistryStore& store, const char* path);

using StringList = std::vector<std::string>;

// Whether reading a list merges and then removes its pending "Add" and "Delete"
// subkeys, or merges them and leaves them for a later reader.
enum class PendingEdits { Consume, Keep };

class ListRegistryCursor : public RegistryCursor {
  public:
    using RegistryCursor::RegistryCursor;

    // list == nullptr: nothing happens. False when the list key could be neither
    // opened nor created (nothing was written). Pending "Add" and "Delete" edits
    // of the list key are removed.
    bool WriteStringList(const std::string& key, const StringList* list);
    void ReadStringList(const std::string& key, StringList* list,
                        PendingEdits pending = PendingEdits::Consume);
    // The first item ReadStringList would give (pending edits kept), reading only
    // what that item depends on; nullopt when the list would be empty.
    std::optional<std::string> ReadFirstListItem(const std::string& key);
    void OpenParentKey();

  private:
    StringList ReadSubList(const std::string& name, bool* opened);
};

} // namespace velbrook
