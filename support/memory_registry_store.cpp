#include "support/memory_registry_store.h"

#include <algorithm>
#include <cstring>

#include "support/locale_text.h"

namespace velbrook {

namespace {

constexpr long kRegBadPathname = 161; // a subkey path that starts with a backslash

// Predefined roots other than HKEY_CURRENT_USER are not modelled.
bool IsPredefinedRoot(RegKey key) {
    return key >= 0x80000000u && key <= 0x80000006u;
}

// Subkeys are kept in the order the registry enumerates them: compared
// without regard to case, with ASCII letters folded to lower case, so that
// "a_b" sorts before "Ab".
bool NameLess(const std::string& a, const std::string& b) {
    const auto fold = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
    };
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [&](char x, char y) { return fold(x) < fold(y); });
}

// Splits a subkey path at backslashes; runs of backslashes count as one and a
// trailing one is ignored, as the registry does.
std::vector<std::string> SplitPath(const char* subkey) {
    std::vector<std::string> parts;
    std::string part;
    for (const char* p = subkey; *p != '\0'; ++p) {
        if (*p != '\\') {
            part += *p;
        } else if (!part.empty()) {
            parts.push_back(std::move(part));
            part.clear();
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

} // namespace

struct MemoryRegistryStore::Node {
    struct Value {
        std::string name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };

    std::string name;
    Node* parent = nullptr;
    bool deleted = false;
    std::vector<std::shared_ptr<Node>> children; // sorted by NameLess
    std::vector<Value> values;

    std::shared_ptr<Node> FindChild(const std::string& childName) const {
        for (const auto& child : children)
            if (SameTextIgnoreCase(child->name, childName))
                return child;
        return nullptr;
    }
    Value* FindValue(const std::string& valueName) {
        for (auto& value : values)
            if (SameTextIgnoreCase(value.name, valueName))
                return &value;
        return nullptr;
    }
    std::string Path() const {
        if (parent == nullptr)
            return {};
        const std::string above = parent->Path();
        return above.empty() ? name : above + "\\" + name;
    }
    void MarkDeleted() {
        deleted = true;
        parent = nullptr;
        for (auto& child : children)
            child->MarkDeleted();
        children.clear();
    }
};

MemoryRegistryStore::MemoryRegistryStore() : root_(std::make_shared<Node>()) {}

MemoryRegistryStore::~MemoryRegistryStore() {
    root_->MarkDeleted();
}

long MemoryRegistryStore::BeginCall(RegOp op) {
    ++operationCount_;
    long error = kRegSuccess;
    for (auto it = faults_.begin(); it != faults_.end();) {
        if (!it->anyOp && it->op != op) {
            ++it;
        } else if (it->remaining == 0 && error == kRegSuccess) {
            error = it->error;
            it = faults_.erase(it);
        } else {
            if (it->remaining > 0)
                --it->remaining;
            ++it;
        }
    }
    return error;
}

long MemoryRegistryStore::Resolve(RegKey key, Node** node) const {
    if (key == kHkeyCurrentUser) {
        *node = root_.get();
        return kRegSuccess;
    }
    const auto found = handles_.find(key);
    if (found == handles_.end())
        return kRegInvalidHandle;
    if (found->second->deleted)
        return kRegKeyDeleted;
    *node = found->second.get();
    return kRegSuccess;
}

long MemoryRegistryStore::Walk(Node* from, const char* subkey, bool create, Node** node) {
    if (subkey == nullptr)
        subkey = "";
    if (subkey[0] == '\\')
        return kRegBadPathname;
    Node* current = from;
    for (const std::string& part : SplitPath(subkey)) {
        std::shared_ptr<Node> child = current->FindChild(part);
        if (!child) {
            if (!create)
                return kRegFileNotFound;
            child = std::make_shared<Node>();
            child->name = part;
            child->parent = current;
            auto& siblings = current->children;
            const auto at =
                std::lower_bound(siblings.begin(), siblings.end(), part,
                                 [](const std::shared_ptr<Node>& n, const std::string& s) {
                                     return NameLess(n->name, s);
                                 });
            siblings.insert(at, child);
        }
        current = child.get();
    }
    *node = current;
    return kRegSuccess;
}

RegKey MemoryRegistryStore::NewHandle(Node* node) {
    std::shared_ptr<Node> owner;
    if (node == root_.get()) {
        owner = root_;
    } else {
        owner = node->parent->FindChild(node->name);
    }
    const RegKey handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = std::move(owner);
    return handle;
}

long MemoryRegistryStore::OpenKey(RegKey base, const char* subkey, std::uint32_t /*access*/,
                                  RegKey* key) {
    if (const long fault = BeginCall(RegOp::Open))
        return fault;
    if (key == nullptr)
        return kRegInvalidParameter;
    if (IsPredefinedRoot(base) && base != kHkeyCurrentUser)
        return kRegAccessDenied;
    Node* from = nullptr;
    Node* node = nullptr;
    if (const long error = Resolve(base, &from))
        return error;
    if (const long error = Walk(from, subkey, false, &node))
        return error;
    *key = NewHandle(node);
    return kRegSuccess;
}

long MemoryRegistryStore::CreateKey(RegKey base, const char* subkey, std::uint32_t /*access*/,
                                    RegKey* key) {
    if (const long fault = BeginCall(RegOp::Create))
        return fault;
    if (key == nullptr)
        return kRegInvalidParameter;
    if (IsPredefinedRoot(base) && base != kHkeyCurrentUser)
        return kRegAccessDenied;
    Node* from = nullptr;
    Node* node = nullptr;
    if (const long error = Resolve(base, &from))
        return error;
    if (const long error = Walk(from, subkey, true, &node))
        return error;
    *key = NewHandle(node);
    return kRegSuccess;
}

long MemoryRegistryStore::CloseKey(RegKey key) {
    if (const long fault = BeginCall(RegOp::Close))
        return fault;
    if (key == kHkeyCurrentUser)
        return kRegSuccess;
    return handles_.erase(key) == 1 ? kRegSuccess : kRegInvalidHandle;
}

long MemoryRegistryStore::QueryValue(RegKey key, const char* name, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
    if (const long fault = BeginCall(RegOp::Query))
        return fault;
    Node* node = nullptr;
    if (const long error = Resolve(key, &node))
        return error;
    if (data != nullptr && size == nullptr)
        return kRegInvalidParameter;
    const Node::Value* value = node->FindValue(name == nullptr ? "" : name);
    if (value == nullptr)
        return kRegFileNotFound;
    if (type != nullptr)
        *type = value->type;
    if (size == nullptr)
        return kRegSuccess;
    const auto needed = static_cast<std::uint32_t>(value->data.size());
    if (data != nullptr) {
        if (*size < needed) {
            *size = needed;
            return kRegMoreData;
        }
        std::copy(value->data.begin(), value->data.end(), data);
    }
    *size = needed;
    return kRegSuccess;
}

long MemoryRegistryStore::SetValue(RegKey key, const char* name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
    if (const long fault = BeginCall(RegOp::Set))
        return fault;
    Node* node = nullptr;
    if (const long error = Resolve(key, &node))
        return error;
    if (data == nullptr && size != 0)
        return kRegInvalidParameter;
    std::vector<std::uint8_t> bytes(data, data + size);
    const std::string valueName = name == nullptr ? "" : name;
    if (Node::Value* existing = node->FindValue(valueName)) {
        existing->type = type;
        existing->data = std::move(bytes);
    } else {
        node->values.push_back({valueName, type, std::move(bytes)});
    }
    return kRegSuccess;
}

long MemoryRegistryStore::DeleteValue(RegKey key, const char* name) {
    if (const long fault = BeginCall(RegOp::DeleteValue))
        return fault;
    Node* node = nullptr;
    if (const long error = Resolve(key, &node))
        return error;
    const std::string valueName = name == nullptr ? "" : name;
    auto& values = node->values;
    const auto it = std::find_if(values.begin(), values.end(), [&](const Node::Value& v) {
        return SameTextIgnoreCase(v.name, valueName);
    });
    if (it == values.end())
        return kRegFileNotFound;
    values.erase(it);
    return kRegSuccess;
}

long MemoryRegistryStore::DeleteKey(RegKey base, const char* subkey) {
    if (const long fault = BeginCall(RegOp::DeleteKey))
        return fault;
    if (IsPredefinedRoot(base) && base != kHkeyCurrentUser)
        return kRegAccessDenied;
    Node* from = nullptr;
    Node* node = nullptr;
    if (const long error = Resolve(base, &from))
        return error;
    if (const long error = Walk(from, subkey, false, &node))
        return error;
    if (node == root_.get() || !node->children.empty())
        return kRegAccessDenied;
    const std::string path = node->Path();
    for (const std::string& protectedPath : protected_)
        if (SameTextIgnoreCase(protectedPath, path))
            return kRegAccessDenied;
    auto& siblings = node->parent->children;
    const auto it = std::find_if(siblings.begin(), siblings.end(),
                                 [&](const std::shared_ptr<Node>& n) { return n.get() == node; });
    const std::shared_ptr<Node> keep = *it;
    siblings.erase(it);
    keep->MarkDeleted();
    return kRegSuccess;
}

long MemoryRegistryStore::QueryInfoKey(RegKey key, std::uint32_t* subkeys,
                                       std::uint32_t* maxSubkeyLen) {
    if (const long fault = BeginCall(RegOp::QueryInfo))
        return fault;
    Node* node = nullptr;
    if (const long error = Resolve(key, &node))
        return error;
    std::size_t longest = 0;
    for (const auto& child : node->children)
        longest = std::max(longest, child->name.size());
    if (subkeys != nullptr)
        *subkeys = static_cast<std::uint32_t>(node->children.size());
    if (maxSubkeyLen != nullptr)
        *maxSubkeyLen = static_cast<std::uint32_t>(longest);
    return kRegSuccess;
}

long MemoryRegistryStore::EnumKey(RegKey key, std::uint32_t index, char* name,
                                  std::uint32_t* nameLen) {
    if (const long fault = BeginCall(RegOp::EnumKey))
        return fault;
    Node* node = nullptr;
    if (const long error = Resolve(key, &node))
        return error;
    if (name == nullptr || nameLen == nullptr)
        return kRegInvalidParameter;
    if (index >= node->children.size())
        return kRegNoMoreItems;
    const std::string& childName = node->children[index]->name;
    if (childName.size() >= *nameLen)
        return kRegMoreData;
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    *nameLen = static_cast<std::uint32_t>(childName.size());
    return kRegSuccess;
}

void MemoryRegistryStore::FailNext(RegOp op, long error, int skip) {
    faults_.push_back({false, op, std::max(skip, 0), error});
}

void MemoryRegistryStore::FailOperation(int n, long error) {
    faults_.push_back({true, RegOp::Open, std::max(n - 1, 0), error});
}

void MemoryRegistryStore::ClearFaults() {
    faults_.clear();
}

int MemoryRegistryStore::OperationCount() const {
    return operationCount_;
}

void MemoryRegistryStore::ResetCounters() {
    operationCount_ = 0;
}

int MemoryRegistryStore::OpenHandleCount() const {
    return static_cast<int>(handles_.size());
}

void MemoryRegistryStore::ProtectKey(const std::string& path, bool on) {
    const std::string normalized = [&] {
        std::string joined;
        for (const std::string& part : SplitPath(path.c_str()))
            joined += (joined.empty() ? "" : "\\") + part;
        return joined;
    }();
    std::erase_if(protected_,
                  [&](const std::string& p) { return SameTextIgnoreCase(p, normalized); });
    if (on)
        protected_.push_back(normalized);
}

void MemoryRegistryStore::Clear() {
    for (auto& child : root_->children)
        child->MarkDeleted();
    root_->children.clear();
    root_->values.clear();
}

} // namespace velbrook
