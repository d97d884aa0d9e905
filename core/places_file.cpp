#include "core/places_file.h"

#include <algorithm>

#include "support/dialogs.h"
#include "support/errors.h"
#include "support/files.h"
#include "support/ini_file.h"
#include "support/messages.h"
#include "support/stored_place_path.h"
#include "support/strings.h"

namespace velbrook {

namespace {

constexpr char kPlacesSection[] = "Places";

} // namespace

bool LoadPlacesFile(const std::string& fileName) {
    if (NamesDevice(fileName))
        throw IniFileError(FormatText(msg::kCannotReadPlacesFile, fileName, msg::kReasonIsDevice));
    if (!FileExists(fileName)) {
        ShowMessageBoxFmt(msg::kFileNotFound, fileName, msg::kCaptionError,
                          kMbOk | kMbIconExclamation);
        return false;
    }
    const EditedIniFile ini(fileName);
    // An empty file is five empty places; anything else must be a places file.
    if (!ini.LoadedNothing() && !ini.HasSection(kPlacesSection))
        throw IniFileError(FormatText(msg::kNotPlacesFile, fileName));
    PlacesList places;
    for (int slot = 0; slot < kPlaceSlots; ++slot) {
        // A blank default: the places bar trims it to an empty slot. No path holds
        // a quote, so quotes around a path with blanks are no part of it.
        places.push_back(WithoutEnclosingQuotes(
            TrimControl(ini.ReadString(kPlacesSection, PlaceValueName(slot), " "))));
    }
    return WritePlacesBar(&places);
}

void WritePlaceEntry(EditedIniFile& ini, const std::string& key, const std::string& value) {
    if (value.empty())
        ini.DeleteKey(kPlacesSection, key);
    else
        ini.WriteString(kPlacesSection, key, value);
}

void WritePlacesFile(const std::string& fileName, const PlacesList& rows) {
    // The old content is never read: the file is replaced whole, and only once
    // the new content is on disk, so a failed write keeps the old file.
    EditedIniFile ini(fileName, IniStart::Empty);
    // A line break in a path would end its line and start another key.
    std::vector<std::string> leftOut;
    for (int slot = 0; slot < kPlaceSlots; ++slot) {
        std::string path = slot < static_cast<int>(rows.size()) ? rows[slot] : std::string();
        if (VisibleControls(path) != path) {
            leftOut.push_back(VisibleControls(path));
            path.clear();
        }
        WritePlaceEntry(ini, PlaceValueName(slot), path);
    }
    ini.Close();
    TellPlacesLeftOut(msg::kPlacesWithControlCharacters, leftOut);
}

PlacesList PlacesForFile(const PlacesBarState& state, std::vector<std::string>& leftOut) {
    PlacesList places;
    for (int slot = 0; slot < kPlaceSlots; ++slot) {
        if (state.Slots[slot]) {
            places.push_back(*state.Slots[slot]);
        } else if (state.Stored[slot]) {
            StoredPlacePath stored = PathOfStoredPlace(*state.Stored[slot]);
            if (!stored.path)
                leftOut.push_back(std::move(stored.caption));
            places.push_back(stored.path.value_or(std::string()));
        } else {
            places.emplace_back();
        }
    }
    return places;
}

bool SavePlacesBarToFile(const std::string& fileName) {
    const std::string refusal = WriteRefusal(fileName);
    if (!refusal.empty())
        throw IniFileError(FormatText(msg::kCannotSavePlacesFile, fileName, refusal));
    const PlacesBarState state = ReadPlacesBar();
    std::vector<std::string> leftOut;
    WritePlacesFile(fileName, PlacesForFile(state, leftOut));
    if (!state.KeyExists)
        ShowMessageBox(msg::kSavedDefaultPlacesBar, msg::kCaptionInformation,
                       kMbOk | kMbIconInformation);
    TellPlacesLeftOut(msg::kPlacesLeftOutOfFile, leftOut);
    return true;
}

bool SavePlacesFileInteractive(const PlacesList& rows) {
    std::string fileName;
    if (!ActiveDialogs().AskPlacesFileName(fileName))
        return false;
    if (FileExists(fileName) &&
        ShowMessageBoxFmt(msg::kOverwriteFile, fileName, msg::kCaptionConfirmation,
                          kMbYesNo | kMbIconExclamation) != kIdYes)
        return false;
    WritePlacesFile(fileName, rows);
    return true;
}

} // namespace velbrook
