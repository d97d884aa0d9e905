#include "tests/doubles/memory_registry_store.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "support/code_page.h"
#include "support/locale_text.h"
#include "support/registry.h"

namespace velbrook {

namespace {

constexpr long kRegBadPathname = 161; // a subkey path that starts with a backslash
// KEY_SET_VALUE, KEY_CREATE_SUB_KEY, DELETE, WRITE_DAC and WRITE_OWNER: the rights
// that a key an administrator's policy set grants nobody.
constexpr std::uint32_t kWritingRights = 0x2 | 0x4 | 0x10000 | 0x40000 | 0x80000;
constexpr std::uint32_t kSetValueRight = 0x2;

// Predefined roots other than HKEY_CURRENT_USER are not modelled.
bool IsPredefinedRoot(RegKey key) {
    return key >= 0x80000000u && key <= 0x80000006u;
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

// Key of a subkey in its parent: the name with ASCII letters folded to lower
// case. Ordering these keys bytewise is the registry's enumeration order.
std::string FoldedName(const std::string& name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return folded;
}

bool IsText(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

bool HasNonAscii(const std::string& name) {
    return std::any_of(name.begin(), name.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

} // namespace

struct MemoryRegistryStore::Node {
    struct Value {
        std::string name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        // Written by SetValueW: text in UTF-16, as the registry keeps all text.
        bool wide = false;

        // The data as the A (wide false) or W functions give it; nullopt for text
        // that the ANSI code page cannot hold.
        std::optional<std::vector<std::uint8_t>> DataAs(bool wideForm) const {
            if (!IsText(type) || wide == wideForm)
                return data;
            if (wideForm) {
                const std::string text(data.begin(), data.end());
                return Utf16Bytes(AnsiToUtf16(text));
            }
            const std::optional<std::string> text = Utf16ToAnsi(Utf16Text(data));
            if (!text)
                return std::nullopt;
            return std::vector<std::uint8_t>(text->begin(), text->end());
        }
    };
    using Children = std::map<std::string, std::shared_ptr<Node>>; // by FoldedName

    std::string name;
    Node* parent = nullptr;
    bool deleted = false;
    bool readOnly = false;
    Children children;
    std::vector<Value> values;
    // Position of the last enumerated child, so that walking the children by
    // index costs O(1) per step.
    std::size_t cursorIndex = 0;
    Children::iterator cursor;
    bool cursorValid = false;

    std::shared_ptr<Node> FindChild(const std::string& childName) const {
        const auto found = children.find(FoldedName(childName));
        if (found != children.end())
            return found->second;
        // Letters beyond ASCII match under the locale's case rules only.
        if (!HasNonAscii(childName))
            return nullptr;
        for (const auto& [key, child] : children)
            if (SameTextIgnoreCase(child->name, childName))
                return child;
        return nullptr;
    }
    void AddChild(const std::shared_ptr<Node>& child) {
        children.emplace(FoldedName(child->name), child);
        cursorValid = false;
    }
    void RemoveChild(const Node* child) {
        children.erase(FoldedName(child->name));
        cursorValid = false;
    }
    const Node* ChildAt(std::size_t index) {
        if (index >= children.size())
            return nullptr;
        // Start again from the first child only when that is nearer than the
        // cursor; a walk forward goes on from the cursor.
        if (!cursorValid || (index < cursorIndex && index < cursorIndex - index)) {
            cursor = children.begin();
            cursorIndex = 0;
            cursorValid = true;
        }
        for (; cursorIndex < index; ++cursorIndex)
            ++cursor;
        for (; cursorIndex > index; --cursorIndex)
            --cursor;
        return cursor->second.get();
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
        for (auto& [key, child] : children)
            child->MarkDeleted();
        children.clear();
        cursorValid = false;
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
    if (found->second.node->deleted)
        return kRegKeyDeleted;
    *node = found->second.node.get();
    return kRegSuccess;
}

long MemoryRegistryStore::ResolveForWriting(RegKey key, Node** node) const {
    if (const long error = Resolve(key, node))
        return error;
    const auto found = handles_.find(key);
    const bool allowed =
        found == handles_.end() ? !(*node)->readOnly : (found->second.access & kSetValueRight);
    return allowed ? kRegSuccess : kRegAccessDenied;
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
            if (current->readOnly)
                return kRegAccessDenied;
            child = std::make_shared<Node>();
            child->name = part;
            child->parent = current;
            current->AddChild(child);
        }
        current = child.get();
    }
    *node = current;
    return kRegSuccess;
}

RegKey MemoryRegistryStore::NewHandle(Node* node, std::uint32_t access) {
    std::shared_ptr<Node> owner;
    if (node == root_.get()) {
        owner = root_;
    } else {
        owner = node->parent->FindChild(node->name);
    }
    const RegKey handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = {std::move(owner), access};
    return handle;
}

long MemoryRegistryStore::OpenKey(RegKey base, const char* subkey, std::uint32_t access,
                                  RegKey* key) {
    return OpenOrCreate(RegOp::Open, base, subkey, access, key);
}

long MemoryRegistryStore::CreateKey(RegKey base, const char* subkey, std::uint32_t access,
                                    RegKey* key) {
    return OpenOrCreate(RegOp::Create, base, subkey, access, key);
}

long MemoryRegistryStore::Locate(RegKey base, const char* subkey, bool create, Node** node) {
    if (IsPredefinedRoot(base) && base != kHkeyCurrentUser)
        return kRegAccessDenied;
    Node* from = nullptr;
    if (const long error = Resolve(base, &from))
        return error;
    return Walk(from, subkey, create, node);
}

long MemoryRegistryStore::OpenOrCreate(RegOp op, RegKey base, const char* subkey,
                                       std::uint32_t access, RegKey* key) {
    if (const long fault = BeginCall(op))
        return fault;
    if (key == nullptr)
        return kRegInvalidParameter;
    Node* node = nullptr;
    if (const long error = Locate(base, subkey, op == RegOp::Create, &node))
        return error;
    if (node->readOnly && (access & kWritingRights) != 0)
        return kRegAccessDenied;
    *key = NewHandle(node, access);
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
    return Query(RegOp::Query, key, name, type, data, size);
}

long MemoryRegistryStore::QueryValueW(RegKey key, const char* name, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t* size) {
    return Query(RegOp::QueryW, key, name, type, data, size);
}

long MemoryRegistryStore::Query(RegOp op, RegKey key, const char* name, std::uint32_t* type,
                                std::uint8_t* data, std::uint32_t* size) {
    if (const long fault = BeginCall(op))
        return fault;
    Node* node = nullptr;
    if (const long error = Resolve(key, &node))
        return error;
    if (data != nullptr && size == nullptr)
        return kRegInvalidParameter;
    const Node::Value* value = node->FindValue(name == nullptr ? "" : name);
    if (value == nullptr)
        return kRegFileNotFound;
    const std::optional<std::vector<std::uint8_t>> form = value->DataAs(op == RegOp::QueryW);
    if (!form && data != nullptr)
        return kRegNoUnicodeTranslation;
    if (type != nullptr)
        *type = value->type;
    const std::vector<std::uint8_t>& bytes = form ? *form : value->data;
    return HandOutData(bytes.data(), bytes.size(), data, size);
}

long MemoryRegistryStore::SetValue(RegKey key, const char* name, std::uint32_t type,
                                   const std::uint8_t* data, std::uint32_t size) {
    return Set(RegOp::Set, key, name, type, data, size);
}

long MemoryRegistryStore::SetValueW(RegKey key, const char* name, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t size) {
    return Set(RegOp::SetW, key, name, type, data, size);
}

long MemoryRegistryStore::Set(RegOp op, RegKey key, const char* name, std::uint32_t type,
                              const std::uint8_t* data, std::uint32_t size) {
    if (const long fault = BeginCall(op))
        return fault;
    if (const auto failing = failingWrites_.find(name != nullptr ? name : "");
        failing != failingWrites_.end()) {
        const long error = failing->second;
        failingWrites_.erase(failing);
        return error;
    }
    Node* node = nullptr;
    if (const long error = ResolveForWriting(key, &node))
        return error;
    if (data == nullptr && size != 0)
        return kRegInvalidParameter;
    Node::Value value{name == nullptr ? "" : name, type,
                      std::vector<std::uint8_t>(data, data + size), op == RegOp::SetW};
    if (Node::Value* existing = node->FindValue(value.name)) {
        value.name = existing->name;
        *existing = std::move(value);
    } else {
        node->values.push_back(std::move(value));
    }
    return kRegSuccess;
}

long MemoryRegistryStore::DeleteValue(RegKey key, const char* name) {
    if (const long fault = BeginCall(RegOp::DeleteValue))
        return fault;
    Node* node = nullptr;
    if (const long error = ResolveForWriting(key, &node))
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
    Node* node = nullptr;
    if (const long error = Locate(base, subkey, false, &node))
        return error;
    if (node == root_.get() || !node->children.empty() || node->readOnly)
        return kRegAccessDenied;
    const std::string path = node->Path();
    for (const std::string& protectedPath : protected_)
        if (SameTextIgnoreCase(protectedPath, path))
            return kRegAccessDenied;
    const std::shared_ptr<Node> keep = node->parent->FindChild(node->name);
    node->parent->RemoveChild(node);
    keep->MarkDeleted();
    return kRegSuccess;
}

long MemoryRegistryStore::RenameKey(RegKey key, const char* subkey, const char* newName) {
    if (const long fault = BeginCall(RegOp::RenameKey))
        return fault;
    Node* node = nullptr;
    if (const long error = Locate(key, subkey, false, &node))
        return error;
    const std::string name = newName == nullptr ? "" : newName;
    if (node == root_.get() || node->readOnly || name.empty() ||
        name.find('\\') != std::string::npos || node->parent->FindChild(name))
        return kRegAccessDenied;
    Node* parent = node->parent;
    const std::shared_ptr<Node> keep = parent->FindChild(node->name);
    parent->RemoveChild(node);
    keep->name = name;
    parent->AddChild(keep);
    return kRegSuccess;
}

long MemoryRegistryStore::QueryInfoKey(RegKey key, std::uint32_t* subkeys,
                                       std::uint32_t* maxSubkeyLen, std::uint32_t* values) {
    if (const long fault = BeginCall(RegOp::QueryInfo))
        return fault;
    Node* node = nullptr;
    if (const long error = Resolve(key, &node))
        return error;
    std::size_t longest = 0;
    for (const auto& [key, child] : node->children)
        longest = std::max(longest, child->name.size());
    if (subkeys != nullptr)
        *subkeys = static_cast<std::uint32_t>(node->children.size());
    if (maxSubkeyLen != nullptr)
        *maxSubkeyLen = static_cast<std::uint32_t>(longest);
    if (values != nullptr)
        *values = static_cast<std::uint32_t>(node->values.size());
    return kRegSuccess;
}

namespace {

// Hands out an enumerated name as RegEnumKeyExA and RegEnumValueW do.
long CopyName(const std::string& found, char* name, std::uint32_t* nameLen) {
    if (found.size() >= *nameLen)
        return kRegMoreData;
    std::memcpy(name, found.c_str(), found.size() + 1);
    *nameLen = static_cast<std::uint32_t>(found.size());
    return kRegSuccess;
}

} // namespace

long MemoryRegistryStore::EnumKey(RegKey key, std::uint32_t index, char* name,
                                  std::uint32_t* nameLen) {
    if (const long fault = BeginCall(RegOp::EnumKey))
        return fault;
    Node* node = nullptr;
    if (const long error = Resolve(key, &node))
        return error;
    if (name == nullptr || nameLen == nullptr)
        return kRegInvalidParameter;
    const Node* child = node->ChildAt(index);
    return child == nullptr ? kRegNoMoreItems : CopyName(child->name, name, nameLen);
}

long MemoryRegistryStore::EnumValueW(RegKey key, std::uint32_t index, char* name,
                                     std::uint32_t* nameLen, std::uint32_t* type,
                                     std::uint8_t* data, std::uint32_t* size) {
    if (const long fault = BeginCall(RegOp::EnumValue))
        return fault;
    Node* node = nullptr;
    if (const long error = Resolve(key, &node))
        return error;
    if (name == nullptr || nameLen == nullptr || (data != nullptr && size == nullptr))
        return kRegInvalidParameter;
    if (index >= node->values.size())
        return kRegNoMoreItems;
    const Node::Value& value = node->values[index];
    const std::optional<std::vector<std::uint8_t>> form = value.DataAs(true);
    if (type != nullptr)
        *type = value.type;
    const std::vector<std::uint8_t>& bytes = form ? *form : value.data;
    if (const long result = HandOutData(bytes.data(), bytes.size(), data, size))
        return result;
    return CopyName(value.name, name, nameLen);
}

void MemoryRegistryStore::FailNext(RegOp op, long error, int skip) {
    faults_.push_back({false, op, std::max(skip, 0), error});
}

void MemoryRegistryStore::FailWriteOf(const std::string& valueName, long error) {
    failingWrites_[valueName] = error;
}

void MemoryRegistryStore::FailOperation(int n, long error) {
    faults_.push_back({true, RegOp::Open, std::max(n - 1, 0), error});
}

void MemoryRegistryStore::ClearFaults() {
    faults_.clear();
    failingWrites_.clear();
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

void MemoryRegistryStore::SetKeyReadOnly(const std::string& path, bool on) {
    Node* node = nullptr;
    if (Walk(root_.get(), path.c_str(), false, &node) == kRegSuccess)
        node->readOnly = on;
}

void MemoryRegistryStore::Clear() {
    for (auto& [key, child] : root_->children)
        child->MarkDeleted();
    root_->children.clear();
    root_->cursorValid = false;
    root_->values.clear();
}

} // namespace velbrook
