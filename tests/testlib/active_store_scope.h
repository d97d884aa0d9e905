#pragma once
// Makes a store the active registry store for a scope, so that code that opens
// its own cursor works on that store.
#include "support/registry_store.h"

namespace velbrook::testing {

class ActiveStoreScope {
  public:
    explicit ActiveStoreScope(RegistryStore& store) { SetActiveRegistryStore(&store); }
    ~ActiveStoreScope() { SetActiveRegistryStore(nullptr); }
    ActiveStoreScope(const ActiveStoreScope&) = delete;
    ActiveStoreScope& operator=(const ActiveStoreScope&) = delete;
};

} // namespace velbrook::testing
