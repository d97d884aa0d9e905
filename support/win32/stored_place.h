#pragma once
// How the places list shows a place that is kept exactly as stored.
#include <optional>
#include <string>

#include "support/registry.h"

namespace velbrook::win32 {

struct PlaceLook {
    std::string caption;
    int icon = -1; // index into the system image list
    // The folder's path, where it has one that the code page can hold.
    std::optional<std::string> path;
};

// A special-folder number (REG_DWORD) shows the folder's display name and icon;
// text (REG_EXPAND_SZ, or REG_SZ that the code page cannot hold) shows as it is
// stored, with the icon of the folder that it names.
PlaceLook DescribeStoredPlace(const RegValue& value);
// The value that stands for a special folder in the places bar.
RegValue SpecialFolderValue(int csidl);

} // namespace velbrook::win32
