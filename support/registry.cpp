#include "support/registry.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "support/locale_text.h"
#include "support/messages.h"
#include "support/strings.h"

namespace velbrook {

namespace {

// Room for a place, a scheme name and the values beside them, in UTF-16.
constexpr std::uint32_t kFirstReadBytes = 1024;

// Splits off the leading backslash of an absolute path.
bool StripAbsolute(std::string_view& path) {
    if (!path.empty() && path.front() == '\\') {
        path.remove_prefix(1);
        return true;
    }
    return false;
}

[[noreturn]] void Raise(const char* format, const std::string& name) {
    throw RegistryError(FormatText(format, name));
}

} // namespace

RegistryCursor::RegistryCursor() : RegistryCursor(ActiveRegistryStore()) {}

RegistryCursor::RegistryCursor(RegistryStore& store) : store_(&store) {}

RegistryCursor::~RegistryCursor() = default;

RegKey RegistryCursor::BaseKeyFor(bool absolute) const {
    return (currentKey_ && !absolute) ? currentKey_.Get() : rootKey_;
}

long RegistryCursor::OpenKeyHandle(const std::string& path, KeyMode mode, RegKeyHandle& handle,
                                   std::string& newPath) const {
    std::string_view relative = path;
    const bool absolute = StripAbsolute(relative);
    const std::string subkey(relative);
    RegKey opened = 0;
    const RegKey base = BaseKeyFor(absolute);
    const std::uint32_t access = mode == KeyMode::Read ? kKeyRead : kKeyReadWrite;
    const long result = (mode == KeyMode::Create && !subkey.empty())
                            ? store_->CreateKey(base, subkey.c_str(), access, &opened)
                            : store_->OpenKey(base, subkey.c_str(), access, &opened);
    if (result != kRegSuccess)
        return result;
    handle = RegKeyHandle(*store_, opened);
    newPath = (!absolute && currentKey_) ? currentPath_ + "\\" + subkey : subkey;
    return kRegSuccess;
}

long RegistryCursor::TryOpenKey(const std::string& path, KeyMode mode) {
    RegKeyHandle handle;
    std::string newPath;
    const long result = OpenKeyHandle(path, mode, handle, newPath);
    if (result != kRegSuccess)
        return result;
    currentKey_ = std::move(handle);
    currentPath_ = std::move(newPath);
    return kRegSuccess;
}

bool RegistryCursor::OpenExistingKey(const std::string& path, KeyMode mode) {
    const long result = TryOpenKey(path, mode);
    if (result == kRegFileNotFound)
        return false;
    if (result != kRegSuccess)
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, path));
    return true;
}

RegistryCursor::SubkeyScope::SubkeyScope(RegistryCursor& cursor, const std::string& path,
                                         KeyMode mode)
    : cursor_(cursor) {
    RegKeyHandle handle;
    std::string newPath;
    if (cursor_.OpenKeyHandle(path, mode, handle, newPath) != kRegSuccess)
        return;
    previousKey_ = std::exchange(cursor_.currentKey_, std::move(handle));
    previousPath_ = std::exchange(cursor_.currentPath_, std::move(newPath));
    opened_ = true;
}

RegistryCursor::SubkeyScope::~SubkeyScope() {
    if (!opened_)
        return;
    cursor_.currentKey_ = std::move(previousKey_);
    cursor_.currentPath_ = std::move(previousPath_);
}

void RegistryCursor::CloseKey() {
    currentKey_.Reset();
    currentPath_.clear();
}

bool RegistryCursor::RenameKey(const std::string& subkey, const std::string& newName) {
    return store_->RenameKey(CurrentKey(), subkey.c_str(), newName.c_str()) == kRegSuccess;
}

bool RegistryCursor::DeleteKey(const std::string& path) {
    std::string_view relative = path;
    const bool absolute = StripAbsolute(relative);
    // An empty path names the base key itself; for the root that would be
    // the whole of HKEY_CURRENT_USER.
    if (relative.empty())
        return false;
    return DeleteKeyTree(BaseKeyFor(absolute), std::string(relative));
}

namespace {

// The names that an enumeration function of the store gives for indexes 0 to count - 1.
template <class Enumerate>
bool EnumeratedNames(std::uint32_t count, std::size_t longest, Enumerate enumerate,
                     std::vector<std::string>& names) {
    std::string name(longest + 1, '\0');
    for (std::uint32_t index = 0; index < count; ++index) {
        auto length = static_cast<std::uint32_t>(name.size());
        if (enumerate(index, name.data(), &length) != kRegSuccess)
            return false;
        names.push_back(name.substr(0, length));
    }
    return true;
}

// The registry's longest value name.
constexpr std::size_t kLongestValueName = 16383;

} // namespace

bool RegistryCursor::GetKeyNames(std::vector<std::string>& names) {
    names.clear();
    std::uint32_t count = 0;
    std::uint32_t longest = 0;
    if (!currentKey_ ||
        store_->QueryInfoKey(currentKey_.Get(), &count, &longest, nullptr) != kRegSuccess)
        return false;
    return EnumeratedNames(
        count, longest,
        [&](std::uint32_t i, char* name, std::uint32_t* length) {
            return store_->EnumKey(currentKey_.Get(), i, name, length);
        },
        names);
}

bool RegistryCursor::ReadContent(std::vector<std::pair<std::string, RegValue>>& values,
                                 std::vector<std::string>& subkeys) {
    values.clear();
    subkeys.clear();
    std::uint32_t subkeyCount = 0;
    std::uint32_t longest = 0;
    std::uint32_t valueCount = 0;
    if (!currentKey_ ||
        store_->QueryInfoKey(currentKey_.Get(), &subkeyCount, &longest, &valueCount) != kRegSuccess)
        return false;
    std::string name(256, '\0');
    std::vector<std::uint8_t> data(kFirstReadBytes);
    int retries = 0;
    for (std::uint32_t index = 0; index < valueCount;) {
        auto nameLength = static_cast<std::uint32_t>(name.size());
        auto size = static_cast<std::uint32_t>(data.size());
        RegValue value;
        const long result = store_->EnumValueW(currentKey_.Get(), index, name.data(), &nameLength,
                                               &value.type, data.data(), &size);
        if (result == kRegMoreData) {
            // The data (which may have grown) or the name needs more room: the same again.
            if (++retries > 8)
                return false;
            if (size > data.size())
                data.resize(size);
            else
                name.resize(std::min<std::size_t>(name.size() * 4, kLongestValueName + 1));
            continue;
        }
        retries = 0;
        ++index;
        if (result == kRegNoUnicodeTranslation)
            continue;
        // Values deleted since they were counted end the list early.
        if (result == kRegNoMoreItems)
            break;
        if (result != kRegSuccess)
            return false;
        value.data.assign(data.begin(), data.begin() + size);
        values.emplace_back(name.substr(0, nameLength), std::move(value));
    }
    return EnumeratedNames(
        subkeyCount, longest,
        [&](std::uint32_t i, char* subkey, std::uint32_t* length) {
            return store_->EnumKey(currentKey_.Get(), i, subkey, length);
        },
        subkeys);
}

bool RegistryCursor::DeleteKeyTree(RegKey base, const std::string& subkey) {
    // A key without subkeys goes in one call; the registry refuses one with
    // subkeys, which are taken apart first.
    const long result = store_->DeleteKey(base, subkey.c_str());
    if (result == kRegSuccess || result == kRegFileNotFound)
        return result == kRegSuccess;
    RegKey opened = 0;
    if (store_->OpenKey(base, subkey.c_str(), kKeyRead, &opened) == kRegSuccess) {
        RegKeyHandle key(*store_, opened);
        std::uint32_t count = 0;
        std::uint32_t longest = 0;
        if (store_->QueryInfoKey(key.Get(), &count, &longest, nullptr) != kRegSuccess)
            count = 0;
        std::string name(longest + 1, '\0');
        for (std::uint32_t index = count; index-- > 0;) {
            auto length = static_cast<std::uint32_t>(name.size());
            if (store_->EnumKey(key.Get(), index, name.data(), &length) == kRegSuccess)
                DeleteKeyTree(key.Get(), name.substr(0, length));
        }
    }
    return store_->DeleteKey(base, subkey.c_str()) == kRegSuccess;
}

bool RegistryCursor::ValueExists(const std::string& name) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    return store_->QueryValue(CurrentKey(), name.c_str(), &type, nullptr, &size) == kRegSuccess;
}

RegDataType RegistryCursor::GetDataType(const std::string& name) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (store_->QueryValue(CurrentKey(), name.c_str(), &type, nullptr, &size) != kRegSuccess)
        return RegDataType::Unknown;
    switch (type) {
    case kRegSz:
        return RegDataType::String;
    case kRegExpandSz:
        return RegDataType::ExpandString;
    case kRegDword:
        return RegDataType::Integer;
    case kRegBinary:
        return RegDataType::Binary;
    default:
        return RegDataType::Unknown;
    }
}

std::string RegistryCursor::ReadString(const std::string& name) {
    return ReadStringIfExists(name).value_or(std::string());
}

std::optional<std::string> RegistryCursor::ReadStringIfExists(const std::string& name) {
    bool untranslatable = false;
    std::optional<std::string> text = ReadText(name, untranslatable);
    if (untranslatable)
        Raise(msg::kRegGetDataFailed, name);
    return text;
}

std::optional<std::string> RegistryCursor::ReadStringIfFaithful(const std::string& name) {
    bool untranslatable = false;
    return ReadText(name, untranslatable);
}

std::optional<std::string> RegistryCursor::ReadText(const std::string& name, bool& untranslatable) {
    untranslatable = false;
    // Most values fit the small buffer, which saves sizing them first.
    std::uint8_t small[256];
    std::vector<std::uint8_t> large;
    std::uint8_t* data = small;
    std::uint32_t capacity = sizeof small;
    std::uint32_t type = 0;
    std::uint32_t size = capacity;
    long result = store_->QueryValue(CurrentKey(), name.c_str(), &type, data, &size);
    if (result == kRegFileNotFound)
        return std::nullopt;
    if (result == kRegMoreData && size > capacity) {
        large.resize(size);
        data = large.data();
        capacity = size;
        result = store_->QueryValue(CurrentKey(), name.c_str(), &type, data, &size);
    }
    if (result == kRegNoUnicodeTranslation) {
        untranslatable = true;
        return std::nullopt;
    }
    if (result != kRegSuccess)
        Raise(msg::kRegGetDataFailed, name);
    if (size == 0)
        return std::string();
    if (type != kRegSz && type != kRegExpandSz)
        Raise(msg::kRegInvalidDataType, name);
    // The data need not end in a NUL; never look past what the store returned.
    const std::uint8_t* begin = data;
    const std::uint8_t* end = begin + std::min(size, capacity);
    return std::string(begin, std::find(begin, end, std::uint8_t{0}));
}

std::optional<RegValue> RegistryCursor::ReadValueIfExists(const std::string& name) {
    RegValue value;
    // Read at once into room for any place: each call is a round trip to the
    // registry. A larger value says its size, and the value may grow between calls.
    std::uint32_t size = kFirstReadBytes;
    long result = kRegSuccess;
    for (int attempt = 0; result == kRegSuccess && attempt < 5; ++attempt) {
        value.data.resize(size);
        std::uint32_t got = size;
        result =
            store_->QueryValueW(CurrentKey(), name.c_str(), &value.type, value.data.data(), &got);
        if (result == kRegSuccess) {
            value.data.resize(std::min(got, size));
            return value;
        }
        if (result == kRegMoreData) {
            size = got;
            result = kRegSuccess;
        }
    }
    if (result == kRegFileNotFound)
        return std::nullopt;
    Raise(msg::kRegGetDataFailed, name);
}

void RegistryCursor::WriteValue(const std::string& name, const RegValue& value) {
    if (store_->SetValueW(CurrentKey(), name.c_str(), value.type, value.data.data(),
                          static_cast<std::uint32_t>(value.data.size())) != kRegSuccess)
        Raise(msg::kRegSetDataFailed, name);
}

std::int32_t RegistryCursor::ReadInteger(const std::string& name) {
    const std::optional<std::int32_t> value = ReadIntegerIfExists(name);
    if (!value)
        Raise(msg::kRegGetDataFailed, name);
    return *value;
}

std::optional<std::int32_t> RegistryCursor::ReadIntegerIfExists(const std::string& name) {
    // Zero-filled, so a shorter value reads as its bytes extended with zeros.
    std::uint8_t data[4] = {0, 0, 0, 0};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    const long result = store_->QueryValue(CurrentKey(), name.c_str(), &type, data, &size);
    if (result == kRegFileNotFound)
        return std::nullopt;
    if (result != kRegSuccess)
        Raise(msg::kRegGetDataFailed, name);
    if (type != kRegDword)
        Raise(msg::kRegInvalidDataType, name);
    const std::uint32_t value =
        data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    return static_cast<std::int32_t>(value);
}

void RegistryCursor::WriteString(const std::string& name, const std::string& value) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(value.c_str());
    const auto size = static_cast<std::uint32_t>(value.size() + 1);
    if (store_->SetValue(CurrentKey(), name.c_str(), kRegSz, bytes, size) != kRegSuccess)
        Raise(msg::kRegSetDataFailed, name);
}

void RegistryCursor::WriteInteger(const std::string& name, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const std::uint8_t data[4] = {
        static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
        static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
    if (store_->SetValue(CurrentKey(), name.c_str(), kRegDword, data, sizeof data) != kRegSuccess)
        Raise(msg::kRegSetDataFailed, name);
}

bool RegistryCursor::DeleteValue(const std::string& name) {
    return store_->DeleteValue(CurrentKey(), name.c_str()) == kRegSuccess;
}

std::vector<std::uint8_t> Utf16Bytes(std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (const char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes;
}

std::u16string TextOf(const RegValue& value) {
    std::u16string text = Utf16Text(value.data);
    return text.substr(0, text.find(u'\0'));
}

RegValue DwordValue(std::uint32_t number) {
    return {kRegDword,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

std::optional<std::uint32_t> DwordOf(const RegValue& value) {
    if (value.type != kRegDword || value.data.size() != 4)
        return std::nullopt;
    const auto& d = value.data;
    return d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<std::uint32_t>(d[3]) << 24);
}

std::u16string Utf16Text(const std::vector<std::uint8_t>& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

bool KeyMayExist(RegistryStore& store, const char* path) {
    RegKey key = 0;
    const long result = store.OpenKey(kHkeyCurrentUser, path, kKeyRead, &key);
    RegKeyHandle handle(store, result == kRegSuccess ? key : 0);
    return result != kRegFileNotFound;
}

bool ListRegistryCursor::WriteStringList(const std::string& key, const StringList* list) {
    if (list == nullptr)
        return true;
    const SubkeyScope listKey(*this, key, true);
    if (!listKey)
        return false;
    for (std::size_t k = 0; k < list->size(); ++k)
        WriteString(std::to_string(k), (*list)[k]);
    // Remove the tail of a longer earlier list, up to the first gap. A refused
    // delete of a value that is there does not end the tail.
    for (std::size_t k = list->size();; ++k) {
        const std::string name = std::to_string(k);
        const long result = Store().DeleteValue(CurrentKey(), name.c_str());
        if (result == kRegFileNotFound || (result != kRegSuccess && !ValueExists(name)))
            break;
    }
    // A list written whole replaces the edits that were pending for the list
    // that was there; left behind, they would change the new one on reading.
    std::uint32_t subkeys = 0;
    if (Store().QueryInfoKey(CurrentKey(), &subkeys, nullptr, nullptr) != kRegSuccess ||
        subkeys > 0) {
        DeleteKey("Add");
        DeleteKey("Delete");
    }
    return true;
}

void ListRegistryCursor::ReadStringList(const std::string& key, StringList* list,
                                        PendingEdits pending) {
    if (list == nullptr)
        return;
    const SubkeyScope listKey(*this, key, false);
    if (!listKey)
        return;
    // With the key's counts known, sub-lists that cannot exist are not opened
    // and the value that would end the list is not asked for.
    std::uint32_t subkeys = 0;
    std::uint32_t values = 0;
    const bool counted =
        Store().QueryInfoKey(CurrentKey(), &subkeys, nullptr, &values) == kRegSuccess;
    const bool mayHaveSubLists = !counted || subkeys > 0;
    bool deleteRead = false;
    bool addRead = false;
    const StringList dropped = mayHaveSubLists ? ReadSubList("Delete", &deleteRead) : StringList();
    list->clear();
    for (std::size_t k = 0;; ++k) {
        if (counted && k == values)
            break;
        std::optional<std::string> text = ReadStringIfExists(std::to_string(k));
        if (!text)
            break;
        const bool drop = std::any_of(dropped.begin(), dropped.end(), [&](const std::string& d) {
            return SameTextIgnoreCase(d, *text);
        });
        if (!drop)
            list->push_back(std::move(*text));
    }
    const StringList added = mayHaveSubLists ? ReadSubList("Add", &addRead) : StringList();
    list->insert(list->end(), added.begin(), added.end());
    // Only edits that were merged are removed: a subkey that could not be
    // opened stays for a later reader.
    if (pending == PendingEdits::Consume) {
        if (addRead)
            DeleteKey("Add");
        if (deleteRead)
            DeleteKey("Delete");
    }
}

std::optional<std::string> ListRegistryCursor::ReadFirstListItem(const std::string& key) {
    {
        const SubkeyScope listKey(*this, key, false);
        if (!listKey)
            return std::nullopt;
        std::uint32_t subkeys = 0;
        std::uint32_t values = 0;
        // No "Add" or "Delete" list: the first stored item is the first item.
        if (Store().QueryInfoKey(CurrentKey(), &subkeys, nullptr, &values) == kRegSuccess &&
            subkeys == 0)
            return values > 0 ? ReadStringIfExists("0") : std::nullopt;
    }
    StringList list;
    ReadStringList(key, &list, PendingEdits::Keep);
    if (list.empty())
        return std::nullopt;
    return std::move(list.front());
}

void ListRegistryCursor::OpenParentKey() {
    const std::string path = CurrentPath();
    const std::int32_t pos = StrLastPos(path, "\\");
    const std::string parent = pos > 0 ? path.substr(0, static_cast<std::size_t>(pos - 1)) : "";
    CloseKey();
    OpenKey(parent, false);
}

StringList ListRegistryCursor::ReadSubList(const std::string& name, bool* opened) {
    StringList items;
    const SubkeyScope listKey(*this, name, false);
    *opened = static_cast<bool>(listKey);
    if (!*opened)
        return items;
    for (std::size_t k = 0;; ++k) {
        std::optional<std::string> text = ReadStringIfExists(std::to_string(k));
        if (!text)
            break;
        items.push_back(std::move(*text));
    }
    return items;
}

} // namespace velbrook
