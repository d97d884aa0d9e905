#pragma once
// A registry key with everything below it, exactly as stored, so that it can be
// kept elsewhere and put back.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/registry.h"

namespace velbrook {

struct RegSubkey;

struct RegTree {
    std::vector<std::pair<std::string, RegValue>> values;
    std::vector<RegSubkey> subkeys;
};

struct RegSubkey {
    std::string name;
    RegTree tree;
};

// Equal for a reader of the registry: names compare without regard to case,
// order does not count, and text values compare up to their first NUL.
bool SameValue(const RegValue& a, const RegValue& b);
bool SameTree(const RegTree& a, const RegTree& b);

// The value of that name (case ignored), or nullptr.
const RegValue* FindValue(const RegTree& tree, const std::string& name);
// Sets or, with nullptr, removes a value of the tree.
void SetTreeValue(RegTree& tree, const std::string& name, const RegValue* value);

// A tree as one run of bytes, to be kept in a single binary value, and back;
// nullopt for bytes that are not such a run.
std::vector<std::uint8_t> PackTree(const RegTree& tree);
std::optional<RegTree> UnpackTree(const std::vector<std::uint8_t>& bytes);

// Reads the cursor's current key and all below it. Raises RegistryError when a
// part that is there cannot be read.
RegTree ReadTree(RegistryCursor& registry);
// Makes the cursor's current key hold exactly the tree: values that differ are
// written, values and subkeys it lacks are deleted. Raises on the first part
// that cannot be changed.
void PutTree(RegistryCursor& registry, const RegTree& tree);
// As above, where what the key holds was just read.
void PutTree(RegistryCursor& registry, const RegTree& tree, const RegTree& present);

} // namespace velbrook
