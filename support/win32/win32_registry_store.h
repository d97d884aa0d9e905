#pragma once
// The registry seam on the registry functions of advapi32.
#include "support/registry_store.h"

namespace velbrook {

class Win32RegistryStore : public RegistryStore {
  public:
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
};

} // namespace velbrook
