#pragma once
// The keys and values of the scheme store, for the code that reads and writes it.
#include <string>
#include <vector>

#include "support/registry.h"

namespace velbrook {

inline constexpr char kSchemeCountValue[] = "Count";

// "Software\...\Schemes", below HKEY_CURRENT_USER.
std::string SchemesKeyPath();
// Makes the scheme key current: false when it does not exist (created with
// KeyMode::Create); raises when it is there but cannot be opened.
bool OpenSchemesKey(RegistryCursor& registry, KeyMode mode);
// A missing "Count" means no schemes; a count that cannot be read, or that is
// negative (its high bit set), raises.
int StoredCount(RegistryCursor& registry);
// The indexes below `count` that name an existing entry key (canonical decimal
// names only), ascending. False when the keys cannot be listed.
bool ExistingEntries(RegistryCursor& registry, int count, std::vector<int>& indexes);

} // namespace velbrook
