#pragma once
// An in-memory registry below HKEY_CURRENT_USER that behaves like the Win32
// registry functions, with controls for tests: injected failures, call
// counting and open-handle tracking. Text keeps the form it was written in and
// is converted in the process's ANSI code page when read in the other form.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/registry_store.h"

namespace velbrook {

enum class RegOp {
    Open,
    Create,
    Close,
    Query,
    Set,
    QueryW,
    SetW,
    DeleteValue,
    DeleteKey,
    RenameKey,
    QueryInfo,
    EnumKey,
    EnumValue
};

class MemoryRegistryStore : public RegistryStore {
  public:
    MemoryRegistryStore();
    ~MemoryRegistryStore() override;
    MemoryRegistryStore(const MemoryRegistryStore&) = delete;
    MemoryRegistryStore& operator=(const MemoryRegistryStore&) = delete;

    long OpenKey(RegKey base, const char* subkey, std::uint32_t access, RegKey* key) override;
    long CreateKey(RegKey base, const char* subkey, std::uint32_t access, RegKey* key) override;
    long CloseKey(RegKey key) override;
    long QueryValue(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long SetValue(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
    long QueryValueW(RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
                     std::uint32_t* size) override;
    long SetValueW(RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
                   std::uint32_t size) override;
    long DeleteValue(RegKey key, const char* name) override;
    long DeleteKey(RegKey base, const char* subkey) override;
    long RenameKey(RegKey key, const char* subkey, const char* newName) override;
    long QueryInfoKey(RegKey key, std::uint32_t* subkeys, std::uint32_t* maxSubkeyLen,
                      std::uint32_t* values) override;
    long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) override;
    long EnumValueW(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameLen,
                    std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) override;

    // The (skip+1)-th later call of op fails with error and changes nothing.
    void FailNext(RegOp op, long error = kRegAccessDenied, int skip = 0);
    // The next write (A or W) of a value of that name, in any key, fails with error.
    void FailWriteOf(const std::string& valueName, long error = kRegAccessDenied);
    // The n-th store call of any kind from now (1-based) fails with error.
    void FailOperation(int n, long error = kRegAccessDenied);
    void ClearFaults();
    // Store calls of all kinds since construction or ResetCounters().
    int OperationCount() const;
    void ResetCounters();
    // Handles handed out and not yet closed; the predefined root does not count.
    int OpenHandleCount() const;
    // Refuses deletion of the key at path (below HKEY_CURRENT_USER) with access denied.
    void ProtectKey(const std::string& path, bool on = true);
    // Gives the existing key at path the rights of a key that an administrator's
    // policy set: anyone may read it, nobody may open it for writing, set or delete
    // its values, create subkeys below it or delete it.
    void SetKeyReadOnly(const std::string& path, bool on = true);
    // Empties the tree; open handles to deleted keys report the key as deleted.
    void Clear();

    struct Node;

  private:
    struct Fault {
        bool anyOp;
        RegOp op;
        int remaining; // calls (of op, or of any kind) still to pass before failing
        long error;
    };

    long BeginCall(RegOp op);
    // The A and W forms of value reading and writing differ only in the form of text.
    long Query(RegOp op, RegKey key, const char* name, std::uint32_t* type, std::uint8_t* data,
               std::uint32_t* size);
    long Set(RegOp op, RegKey key, const char* name, std::uint32_t type, const std::uint8_t* data,
             std::uint32_t size);
    long Resolve(RegKey key, Node** node) const;
    // As Resolve, for a change of the key's values: the handle must allow it.
    long ResolveForWriting(RegKey key, Node** node) const;
    long Walk(Node* from, const char* subkey, bool create, Node** node);
    // The key a subkey path names below a handle (or HKEY_CURRENT_USER).
    long Locate(RegKey base, const char* subkey, bool create, Node** node);
    RegKey NewHandle(Node* node, std::uint32_t access);
    // The open and create operations differ only in whether missing keys are made.
    long OpenOrCreate(RegOp op, RegKey base, const char* subkey, std::uint32_t access, RegKey* key);

    struct OpenHandle {
        std::shared_ptr<Node> node;
        std::uint32_t access;
    };

    std::shared_ptr<Node> root_;
    std::map<RegKey, OpenHandle> handles_;
    RegKey nextHandle_ = 0x1000;
    std::vector<Fault> faults_;
    std::map<std::string, long> failingWrites_;
    std::vector<std::string> protected_;
    int operationCount_ = 0;
};

} // namespace velbrook
