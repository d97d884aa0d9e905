#pragma once
// The program's keys in the real registry, as the end-to-end tests set and read them.
#include <array>
#include <optional>
#include <string>

#include "app/win32/e2e_registry.h"

namespace velbrook::e2e {

inline constexpr char kPolicyKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32";
inline constexpr char kPlacesBar[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\comdlg32\\Placesbar";
inline constexpr char kMakerKey[] = "Software\\Tarnwick";
inline constexpr char kSchemes[] = "Software\\Tarnwick\\Dorvane\\1.x\\Schemes";

using Places = std::array<std::optional<std::string>, 5>;

// What the places bar holds before a run that should leave it alone.
inline const Places kOldPlaces = {"C:\\Old", std::nullopt, std::nullopt, std::nullopt,
                                  std::nullopt};

inline Places ReadPlaces() {
    Places places;
    for (int i = 0; i < 5; ++i)
        places[i] = ReadStringValue(kPlacesBar, "Place" + std::to_string(i));
    return places;
}

inline void WritePlaces(const Places& places) {
    DeleteKeyTree(kPlacesBar);
    for (int i = 0; i < 5; ++i) {
        if (places[i])
            WriteStringValue(kPlacesBar, "Place" + std::to_string(i), *places[i]);
    }
    WriteDwordValue(kPlacesBar, "Count", 5);
}

// Replaces the stored schemes with this one.
inline void StoreScheme(const std::string& name, const std::array<std::string, 5>& places) {
    DeleteKeyTree(kSchemes);
    WriteDwordValue(kSchemes, "Count", 1);
    const std::string entry = std::string(kSchemes) + "\\0";
    WriteStringValue(entry, "0", name);
    for (int i = 0; i < 5; ++i)
        WriteStringValue(entry, std::to_string(i + 1), places[i]);
}

} // namespace velbrook::e2e
