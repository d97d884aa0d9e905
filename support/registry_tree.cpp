#include "support/registry_tree.h"

#include <algorithm>
#include <map>
#include <string_view>

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

// The entries of a key by name, without regard to case, so that comparing or
// writing keys of thousands of values takes n log n, not n squared. The first
// of equal names is found, as FindEntry finds it.
template <class Entry> class NameIndex {
  public:
    explicit NameIndex(const std::vector<Entry>& entries) {
        for (const Entry& entry : entries)
            byName_.emplace(NameOf(entry), &entry);
    }
    const Entry* Find(const std::string& name) const {
        const auto found = byName_.find(name);
        return found == byName_.end() ? nullptr : found->second;
    }

  private:
    struct Less {
        bool operator()(std::string_view a, std::string_view b) const {
            return CompareTextIgnoreCase(a, b) < 0;
        }
    };
    std::map<std::string_view, const Entry*, Less> byName_;
};

using ValueIndex = NameIndex<std::pair<std::string, RegValue>>;
using SubkeyIndex = NameIndex<RegSubkey>;

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
    const ValueIndex values(b.values);
    for (const auto& [name, value] : a.values) {
        const auto* other = values.Find(name);
        if (other == nullptr || !SameValue(value, other->second))
            return false;
    }
    const SubkeyIndex subkeys(b.subkeys);
    for (const auto& [name, subtree] : a.subkeys) {
        const RegSubkey* other = subkeys.Find(name);
        if (other == nullptr || !SameTree(subtree, other->tree))
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

namespace {

void PackNumber(std::vector<std::uint8_t>& out, std::size_t number) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(number >> shift));
}

template <class Bytes> void PackBytes(std::vector<std::uint8_t>& out, const Bytes& bytes) {
    PackNumber(out, bytes.size());
    out.insert(out.end(), bytes.begin(), bytes.end());
}

void PackInto(std::vector<std::uint8_t>& out, const RegTree& tree) {
    PackNumber(out, tree.values.size());
    for (const auto& [name, value] : tree.values) {
        PackBytes(out, name);
        PackNumber(out, value.type);
        PackBytes(out, value.data);
    }
    PackNumber(out, tree.subkeys.size());
    for (const auto& [name, subtree] : tree.subkeys) {
        PackBytes(out, name);
        PackInto(out, subtree);
    }
}

// Reads what PackInto wrote; every read checks what is left.
class Unpacker {
  public:
    explicit Unpacker(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    bool AtEnd() const { return at_ == bytes_.size(); }

    bool Tree(RegTree& tree, int depth) {
        std::uint32_t values = 0;
        std::uint32_t subkeys = 0;
        if (depth > 512 || !Number(values))
            return false;
        for (std::uint32_t i = 0; i < values; ++i) {
            std::pair<std::string, RegValue> value;
            if (!Text(value.first) || !Number(value.second.type) || !Bytes(value.second.data))
                return false;
            tree.values.push_back(std::move(value));
        }
        if (!Number(subkeys))
            return false;
        for (std::uint32_t i = 0; i < subkeys; ++i) {
            RegSubkey subkey;
            if (!Text(subkey.name) || !Tree(subkey.tree, depth + 1))
                return false;
            tree.subkeys.push_back(std::move(subkey));
        }
        return true;
    }

  private:
    bool Number(std::uint32_t& number) {
        if (bytes_.size() - at_ < 4)
            return false;
        number = 0;
        for (int shift = 0; shift < 32; shift += 8)
            number |= static_cast<std::uint32_t>(bytes_[at_++]) << shift;
        return true;
    }
    template <class Out> bool Run(Out& out) {
        std::uint32_t size = 0;
        if (!Number(size) || bytes_.size() - at_ < size)
            return false;
        out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                   bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + size));
        at_ += size;
        return true;
    }
    bool Text(std::string& text) { return Run(text); }
    bool Bytes(std::vector<std::uint8_t>& bytes) { return Run(bytes); }

    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
};

} // namespace

std::vector<std::uint8_t> PackTree(const RegTree& tree) {
    std::vector<std::uint8_t> bytes;
    PackInto(bytes, tree);
    return bytes;
}

std::optional<RegTree> UnpackTree(const std::vector<std::uint8_t>& bytes) {
    Unpacker unpacker(bytes);
    RegTree tree;
    if (!unpacker.Tree(tree, 0) || !unpacker.AtEnd())
        return std::nullopt;
    return tree;
}

RegTree ReadTree(RegistryCursor& registry) {
    RegTree tree;
    std::vector<std::string> names;
    if (!registry.ReadContent(tree.values, names))
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
    PutTree(registry, tree, ReadTree(registry));
}

void PutTree(RegistryCursor& registry, const RegTree& tree, const RegTree& present) {
    const ValueIndex wanted(tree.values);
    for (const auto& [name, value] : present.values) {
        if (wanted.Find(name) == nullptr && !registry.DeleteValue(name) &&
            registry.ValueExists(name))
            throw RegistryError(FormatText(msg::kRegSetDataFailed, name));
    }
    const ValueIndex stored(present.values);
    for (const auto& [name, value] : tree.values) {
        const auto* old = stored.Find(name);
        if (old == nullptr || !SameValue(old->second, value))
            registry.WriteValue(name, value);
    }
    const SubkeyIndex wantedKeys(tree.subkeys);
    for (const auto& [name, subtree] : present.subkeys) {
        if (wantedKeys.Find(name) == nullptr && !registry.DeleteKey(name))
            throw Error(FormatText(msg::kCannotDeleteKey, registry.CurrentPath() + "\\" + name));
    }
    const SubkeyIndex presentKeys(present.subkeys);
    for (const auto& [name, subtree] : tree.subkeys) {
        const RegistryCursor::SubkeyScope subkey(registry, name, true);
        if (!subkey)
            throw Error(
                FormatText(msg::kCannotOpenOrCreateKey, registry.CurrentPath() + "\\" + name));
        if (const RegSubkey* known = presentKeys.Find(name))
            PutTree(registry, subtree, known->tree);
        else
            PutTree(registry, subtree);
    }
}

} // namespace velbrook
