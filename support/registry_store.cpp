#include "support/registry_store.h"

namespace velbrook {

namespace {
RegistryStore* installedStore = nullptr;
}

RegistryStore& ActiveRegistryStore() {
    return installedStore != nullptr ? *installedStore : PlatformRegistryStore();
}

void SetActiveRegistryStore(RegistryStore* store) {
    installedStore = store;
}

} // namespace velbrook
