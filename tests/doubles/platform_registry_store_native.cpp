#include "tests/doubles/memory_registry_store.h"

namespace velbrook {

RegistryStore& PlatformRegistryStore() {
    static MemoryRegistryStore store;
    return store;
}

} // namespace velbrook
