#include "support/registry_tree.h"

#include <algorithm>

#include "support/errors.h"
#include "support/locale_text.h"
#include "support/messages.h"
#include "support/strings.h"

namespace velbrook {

namespace {

bool IsText(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz;
}

const std::string& NameOf(const std::pair<std::string, RegValue>& value) {
    return value.first;
}

const std::string& NameOf(const RegSubkey& subkey) {
    return subkey.name;
}

template <class Entries> auto FindEntry(Entries& entries, const std::string& name) {
    return std::find_if(entries.begin(), entries.end(),
                        [&](const auto& entry) { return SameTextIgnoreCase(NameOf(entry), name); });
}

} // namespace

bool SameValue(const RegValue& a, const RegValue& b) {
    if (a.type != b.type)
        return false;
    if (IsText(a.type))
        return TextOf(a) == TextOf(b);
    return a.data == b.data;
}

bool SameTree(const RegTree& a, const RegTree& b) {
    if (a.values.size() != b.values.size() || a.subkeys.size() != b.subkeys.size())
        return false;
    for (const auto& [name, value] : a.values) {
        const RegValue* other = FindValue(b, name);
        if (other == nullptr || !SameValue(value, *other))
            return false;
    }
    for (const auto& [name, subtree] : a.subkeys) {
        const auto other = FindEntry(b.subkeys, name);
        if (other == b.subkeys.end() || !SameTree(subtree, other->tree))
            return false;
    }
    return true;
}

const RegValue* FindValue(const RegTree& tree, const std::string& name) {
    const auto found = FindEntry(tree.values, name);
    return found == tree.values.end() ? nullptr : &found->second;
}

void SetTreeValue(RegTree& tree, const std::string& name, const RegValue* value) {
    const auto found = FindEntry(tree.values, name);
    if (value == nullptr) {
        if (found != tree.values.end())
            tree.values.erase(found);
    } else if (found != tree.values.end()) {
        found->second = *value;
    } else {
        tree.values.emplace_back(name, *value);
    }
}

RegTree ReadTree(RegistryCursor& registry) {
    RegTree tree;
    std::vector<std::string> names;
    if (!registry.GetValueNames(names))
        throw RegistryError(FormatText(msg::kRegGetDataFailed, registry.CurrentPath()));
    for (const std::string& name : names) {
        // A value deleted since it was listed is no longer part of the key.
        if (std::optional<RegValue> value = registry.ReadValueIfExists(name))
            tree.values.emplace_back(name, std::move(*value));
    }
    if (!registry.GetKeyNames(names))
        throw RegistryError(FormatText(msg::kRegGetDataFailed, registry.CurrentPath()));
    for (const std::string& name : names) {
        const RegistryCursor::SubkeyScope subkey(registry, name, false);
        if (!subkey)
            throw RegistryError(FormatText(msg::kRegGetDataFailed, name));
        tree.subkeys.push_back({name, ReadTree(registry)});
    }
    return tree;
}

void PutTree(RegistryCursor& registry, const RegTree& tree) {
    const RegTree present = ReadTree(registry);
    for (const auto& [name, value] : present.values) {
        if (FindValue(tree, name) == nullptr && !registry.DeleteValue(name) &&
            registry.ValueExists(name))
            throw RegistryError(FormatText(msg::kRegSetDataFailed, name));
    }
    for (const auto& [name, value] : tree.values) {
        const RegValue* stored = FindValue(present, name);
        if (stored == nullptr || !SameValue(*stored, value))
            registry.WriteValue(name, value);
    }
    for (const auto& [name, subtree] : present.subkeys) {
        if (FindEntry(tree.subkeys, name) == tree.subkeys.end() && !registry.DeleteKey(name))
            throw Error(FormatText(msg::kCannotDeleteKey, registry.CurrentPath() + "\\" + name));
    }
    for (const auto& [name, subtree] : tree.subkeys) {
        const RegistryCursor::SubkeyScope subkey(registry, name, true);
        if (!subkey)
            throw Error(
                FormatText(msg::kCannotOpenOrCreateKey, registry.CurrentPath() + "\\" + name));
        PutTree(registry, subtree);
    }
}

} // namespace velbrook
