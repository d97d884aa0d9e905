#pragma once
// What a file or folder dragged from Explorer gives as a place.
#include <optional>
#include <string>

namespace velbrook::win32 {

struct DroppedPlace {
    // The folder's path; for a shortcut to a folder, that folder's. None when
    // the name gives no folder (a file, a shortcut to a file or to nothing).
    std::optional<std::string> path;
    // The last part of the dropped name, as messages name it.
    std::string name;
};

// Raises Error when the folder's path holds what the code page cannot hold.
DroppedPlace PlaceOfDroppedName(const std::wstring& name);

} // namespace velbrook::win32
