#pragma once
// The registry seam: the registry functions the program needs. On Windows they
// are the ANSI advapi32 functions, and the wide ones for values kept exactly as
// stored; elsewhere an in-memory store that behaves like them.
#include <cstddef>
#include <cstdint>
#include <utility>

namespace velbrook {

using RegKey = std::uintptr_t; // an HKEY, as an integer
inline constexpr RegKey kHkeyCurrentUser = 0x80000001u;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
// KEY_READ, and KEY_READ | KEY_WRITE: what a reader and a writer of a key ask for.
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyReadWrite = 0x2001F;
// KEY_READ | KEY_WRITE | DELETE: what a change that may also delete the key asks for.
inline constexpr std::uint32_t kKeyChange = 0x3001F;

// Win32 error codes that the callers look at.
enum : long {
    kRegSuccess = 0,
    kRegFileNotFound = 2,
    kRegAccessDenied = 5,
    kRegInvalidHandle = 6,
    kRegInvalidParameter = 87,
    kRegMoreData = 234,
    kRegNoMoreItems = 259,
    kRegKeyDeleted = 1018,
    // A text value that the process's ANSI code page cannot hold exactly.
    kRegNoUnicodeTranslation = 1113,
};

// Registry value types.
enum : std::uint32_t {
    kRegNone = 0,
    kRegSz = 1,
    kRegExpandSz = 2,
    kRegBinary = 3,
    kRegDword = 4,
    kRegMultiSz = 7,
};

class RegistryStore {
  public:
    virtual ~RegistryStore() = default;

    // RegOpenKeyExA(base, subkey, 0, access, key)
    virtual long OpenKey(RegKey base, const char* subkey, std::uint32_t access, RegKey* key) = 0;
    // RegCreateKeyExA(base, subkey, 0, NULL, REG_OPTION_NON_VOLATILE, access, NULL, key, NULL)
    virtual long CreateKey(RegKey base, const char* subkey, std::uint32_t access, RegKey* key) = 0;
    // RegCloseKey(key)
    virtual long CloseKey(RegKey key) = 0;
    // RegQueryValueExA(key, name, NULL, type, data, size); type, data and size may be null.
    // Text that the ANSI code page cannot hold exactly fails with kRegNoUnicodeTranslation
    // instead of arriving altered.
    virtual long QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                            std::uint32_t* size) = 0;
    // RegSetValueExA(key, name, 0, type, data, size)
    virtual long SetValue(RegKey key, const char* name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) = 0;
    // RegQueryValueExW and RegSetValueExW: the data as stored, text in UTF-16; the
    // value name is ANSI text as above.
    virtual long QueryValueW(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* size) = 0;
    virtual long SetValueW(RegKey key, const char* name, std::uint32_t type,
                           const std::uint8_t* data, std::uint32_t size) = 0;
    // RegDeleteValueA(key, name)
    virtual long DeleteValue(RegKey key, const char* name) = 0;
    // RegDeleteKeyA(base, subkey)
    virtual long DeleteKey(RegKey base, const char* subkey) = 0;
    // RegRenameKey(key, subkey, newName): one step, refused when newName exists.
    virtual long RenameKey(RegKey key, const char* subkey, const char* newName) = 0;
    // RegQueryInfoKeyA(key, ...): number of subkeys, longest subkey name (without NUL) and
    // number of values; each may be null
    virtual long QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* maxSubkeyLen,
                              std::uint32_t* values) = 0;
    // RegEnumKeyExA(key, index, name, nameLen, ...): nameLen in/out, in characters
    virtual long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) = 0;
    // RegEnumValueW(key, index, name, nameLen, NULL, type, data, size): the value's
    // name, in the ANSI code page as above (nameLen in/out, in characters), with its
    // type and its data as stored (text in UTF-16), in one call; type, data and size
    // may be null. kRegMoreData when the name or the data does not fit (size then
    // says how much data there is); kRegNoUnicodeTranslation when the code page
    // cannot hold the name.
    virtual long EnumValueW(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                            std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) = 0;
};

// Hands out a value's bytes as the query functions do: their size always (when
// size is not null), the bytes where they fit, kRegMoreData where they do not.
long HandOutData(const std::uint8_t* bytes, std::size_t count, std::uint8_t* data,
                 std::uint32_t* size);

// The store that registry objects use: the platform's store unless a test
// installed another one.
RegistryStore& ActiveRegistryStore();
// Installs a store for the rest of the process (tests); nullptr restores the
// platform's store. The caller keeps ownership.
void SetActiveRegistryStore(RegistryStore* store);
// The platform's own store: the Win32 registry on Windows, a process-wide
// in-memory store elsewhere.
RegistryStore& PlatformRegistryStore();

// An open key handle of a store, closed when the owner goes away.
class RegKeyHandle {
  public:
    RegKeyHandle() = default;
    RegKeyHandle(RegistryStore& store, RegKey key) : store_(&store), key_(key) {}
    RegKeyHandle(RegKeyHandle&& other) noexcept
        : store_(other.store_), key_(std::exchange(other.key_, 0)) {}
    RegKeyHandle& operator=(RegKeyHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            store_ = other.store_;
            key_ = std::exchange(other.key_, 0);
        }
        return *this;
    }
    RegKeyHandle(const RegKeyHandle&) = delete;
    RegKeyHandle& operator=(const RegKeyHandle&) = delete;
    ~RegKeyHandle() { Reset(); }

    RegKey Get() const { return key_; }
    explicit operator bool() const { return key_ != 0; }
    RegKey Release() { return std::exchange(key_, 0); }
    void Reset() {
        if (key_ != 0 && store_ != nullptr)
            store_->CloseKey(key_);
        key_ = 0;
    }

  private:
    RegistryStore* store_ = nullptr;
    RegKey key_ = 0;
};

} // namespace velbrook
