#pragma once
// Places files: INI text with a section "Places" and keys Place0 to Place4.
#include <string>
#include <vector>

#include "core/places_bar.h"

namespace velbrook {

class EditedIniFile;

// Applies the file's five places to the places bar. False after telling the
// user when the file does not exist. A file that holds text but no "Places"
// section raises and changes nothing; an empty one is five empty places.
bool LoadPlacesFile(const std::string& fileName);

// One key of a places file being written: a value is written as it stands, an
// empty one removes the key.
void WritePlaceEntry(EditedIniFile& ini, const std::string& key, const std::string& value);

// Writes five rows to a places file, replacing whatever was there.
void WritePlacesFile(const std::string& fileName, const PlacesList& rows);

// The places bar's slots as a places file takes them, as the window's rows
// would give them: a slot kept as stored gives its folder's path, and one
// without a path is left empty and its caption added to leftOut.
PlacesList PlacesForFile(const PlacesBarState& state, std::vector<std::string>& leftOut);
// Writes the places bar to a places file (the command line's -save:), then
// names the places that were left out. Raises, writing nothing, when the file
// cannot be written, with the reason where it is known.
bool SavePlacesBarToFile(const std::string& fileName);

// The window's "Save scheme": asks for a file name, asks before overwriting and
// writes the rows. False, with nothing written, when the user cancels or declines.
bool SavePlacesFileInteractive(const PlacesList& rows);

} // namespace velbrook
