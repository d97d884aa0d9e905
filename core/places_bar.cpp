#include "core/places_bar.h"

#include "support/errors.h"
#include "support/messages.h"
#include "support/registry.h"
#include "support/strings.h"

namespace velbrook {

namespace {

constexpr char kCountValue[] = "Count";

// Only "not found" proves the key is gone; any other answer (access denied
// included) means it may still be there.
bool KeyMayExist(RegistryStore& store, const char* path) {
    RegKey key = 0;
    const long result = store.OpenKey(kHkeyCurrentUser, path, kKeyAllAccess, &key);
    RegKeyHandle handle(store, result == kRegSuccess ? key : 0);
    return result != kRegFileNotFound;
}

void RestoreDefaults(TExRegistry& registry) {
    registry.DeleteKey(kPlacesBarKey);
    if (KeyMayExist(registry.Store(), kPlacesBarKey))
        throw Error(FormatText(msg::kCannotDeleteKey, kPlacesBarKey));
}

void StorePlaces(TExRegistry& registry, const PlacesList& places) {
    if (!registry.OpenKey(kPlacesBarKey, true))
        throw Error(FormatText(msg::kCannotOpenOrCreateKey, kPlacesBarKey));
    for (int slot = 0; slot < kPlaceSlots; ++slot) {
        // A shorter list leaves its missing slots empty.
        const std::string path =
            slot < static_cast<int>(places.size()) ? TrimControl(places[slot]) : std::string();
        if (path.empty())
            registry.DeleteValue(PlaceValueName(slot));
        else
            registry.WriteString(PlaceValueName(slot), path);
    }
    registry.WriteInteger(kCountValue, kPlaceSlots);
    registry.CloseKey();
}

} // namespace

std::string PlaceValueName(int slot) {
    return "Place" + std::to_string(slot);
}

bool WritePlacesBar(const PlacesList* places) {
    TExRegistry registry;
    if (places == nullptr)
        RestoreDefaults(registry);
    else
        StorePlaces(registry, *places);
    return true;
}

PlacesBarState ReadPlacesBar() {
    PlacesBarState state;
    TExRegistry registry;
    if (!registry.OpenKey(kPlacesBarKey, false))
        return state;
    state.KeyExists = true;
    for (int slot = 0; slot < kPlaceSlots; ++slot) {
        const std::string name = PlaceValueName(slot);
        if (registry.GetDataType(name) != TRegDataType::rdString)
            continue;
        try {
            state.Slots[slot] = registry.ReadString(name);
        } catch (const ERegistryException&) {
            // Changed by another program between the type check and the read.
        }
    }
    registry.CloseKey();
    return state;
}

} // namespace velbrook
