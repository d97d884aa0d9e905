#pragma once
// A place that the places bar keeps as stored (a special-folder number, a path
// with variables, text that the code page cannot hold), as a places file can
// take it.
#include <optional>
#include <string>

#include "support/registry.h"

namespace velbrook {

struct StoredPlacePath {
    std::string caption; // as the window shows it
    // The folder's path, when it has one that the code page can hold.
    std::optional<std::string> path;
};

// On Windows a special folder gives its display name and folder path, and a
// path with variables its expanded form; elsewhere stored text is taken as it
// is and a special folder has no path.
StoredPlacePath PathOfStoredPlace(const RegValue& value);

} // namespace velbrook
