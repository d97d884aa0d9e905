#include "core/places_undo.h"

#include "core/schemes.h"
#include "support/code_page.h"
#include "support/errors.h"
#include "support/messages.h"
#include "support/strings.h"

namespace velbrook {

namespace {

// Written last, so that an undo key without it holds nothing to undo.
constexpr char kKeyExistsValue[] = "KeyExists";
constexpr int kCountIndex = kPlaceSlots;

std::string UndoKeyPath() {
    return std::string(kProgramKey) + "\\" + kUndoSubkey;
}

RegValue DwordValue(std::uint32_t number) {
    return {kRegDword,
            {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
             static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

// Text as the wide registry functions store it, with its NUL.
RegValue TextValue(std::uint32_t type, std::u16string text) {
    text.push_back(u'\0');
    return {type, Utf16Bytes(text)};
}

// The text up to its first NUL.
std::u16string TextOf(const RegValue& value) {
    std::u16string text = Utf16Text(value.data);
    return text.substr(0, text.find(u'\0'));
}

bool SameValue(const std::optional<RegValue>& a, const std::optional<RegValue>& b) {
    if (!a || !b)
        return !a && !b;
    if (a->type != b->type)
        return false;
    if (a->type == kRegSz || a->type == kRegExpandSz)
        return TextOf(*a) == TextOf(*b);
    return a->data == b->data;
}

// True when the key was opened; false when it does not exist. Raises when it
// is there but cannot be opened.
bool OpenExistingKey(RegistryCursor& registry, const std::string& path) {
    if (registry.OpenKey(path, false))
        return true;
    if (KeyMayExist(registry.Store(), path.c_str()))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, path));
    return false;
}

void ReadContentValues(RegistryCursor& registry, PlacesBarContent& content) {
    for (int index = 0; index < PlacesBarContent::kValues; ++index)
        content.values[index] = registry.ReadValueIfExists(ContentValueName(index));
}

// Deletes a value of the open key; a value that is not there is no error.
void RemoveValue(RegistryCursor& registry, const std::string& name) {
    const long result = registry.Store().DeleteValue(registry.CurrentKey(), name.c_str());
    if (result != kRegSuccess && result != kRegFileNotFound)
        throw RegistryError(FormatText(msg::kRegSetDataFailed, name));
}

void StoreKept(const PlacesBarContent& content) {
    RegistryCursor registry;
    const std::string path = UndoKeyPath();
    if (!registry.OpenKey(path, true))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, path));
    RemoveValue(registry, kKeyExistsValue);
    PutContentValues(registry, content);
    registry.WriteValue(kKeyExistsValue, DwordValue(content.keyExists ? 1 : 0));
}

} // namespace

std::string ContentValueName(int index) {
    return index == kCountIndex ? "Count" : PlaceValueName(index);
}

PlacesBarContent ReadPlacesBarContent() {
    PlacesBarContent content;
    RegistryCursor registry;
    content.keyExists = OpenExistingKey(registry, kPlacesBarKey);
    if (content.keyExists)
        ReadContentValues(registry, content);
    return content;
}

PlacesBarContent ContentAfterWriting(const std::vector<PlaceSlot>& slots) {
    PlacesBarContent content;
    content.keyExists = true;
    for (int slot = 0; slot < kPlaceSlots && slot < static_cast<int>(slots.size()); ++slot) {
        const PlaceSlot& given = slots[slot];
        const std::string path = TrimControl(given.path);
        if (given.stored)
            content.values[slot] = given.stored;
        else if (!path.empty())
            content.values[slot] = TextValue(kRegSz, AnsiToUtf16(path));
    }
    content.values[kCountIndex] = DwordValue(kPlaceSlots);
    return content;
}

bool SameContent(const PlacesBarContent& a, const PlacesBarContent& b) {
    if (a.keyExists != b.keyExists)
        return false;
    for (int index = 0; index < PlacesBarContent::kValues; ++index) {
        if (!SameValue(a.values[index], b.values[index]))
            return false;
    }
    return true;
}

void PutContentValues(RegistryCursor& registry, const PlacesBarContent& content) {
    for (int index = 0; index < PlacesBarContent::kValues; ++index) {
        const std::string name = ContentValueName(index);
        if (content.values[index])
            registry.WriteValue(name, *content.values[index]);
        else
            RemoveValue(registry, name);
    }
}

void KeepForUndo(const PlacesBarContent& after) {
    const PlacesBarContent before = ReadPlacesBarContent();
    if (!SameContent(before, after))
        StoreKept(before);
}

std::optional<PlacesBarContent> KeptForUndo() {
    RegistryCursor registry;
    if (!OpenExistingKey(registry, UndoKeyPath()))
        return std::nullopt;
    const std::optional<RegValue> marker = registry.ReadValueIfExists(kKeyExistsValue);
    if (!marker || marker->type != kRegDword || marker->data.size() != 4)
        return std::nullopt;
    PlacesBarContent content;
    content.keyExists = marker->data != DwordValue(0).data;
    if (content.keyExists)
        ReadContentValues(registry, content);
    return content;
}

} // namespace velbrook
