#pragma once
// Every text that the program shows or raises, in one place.

namespace velbrook::msg {

inline constexpr char kAppTitle[] = "Velbrook";

// Registry errors (%s: the value name).
inline constexpr char kRegGetDataFailed[] = "Failed to get data for '%s'";
inline constexpr char kRegInvalidDataType[] = "Invalid data type for '%s'";
inline constexpr char kRegSetDataFailed[] = "Failed to set data for '%s'";

// INI file errors (%s: the file name).
inline constexpr char kCannotOpenFile[] = "Cannot open file %s";
inline constexpr char kCannotCreateFile[] = "Cannot create file %s";

// Registry keys that cannot be changed (%s: the key path below HKEY_CURRENT_USER).
inline constexpr char kCannotOpenOrCreateKey[] =
    "Cannot open or create the registry key HKEY_CURRENT_USER\\%s";
inline constexpr char kCannotDeleteKey[] = "Cannot delete the registry key HKEY_CURRENT_USER\\%s";

// List errors (%d: the index).
inline constexpr char kListIndexOutOfBounds[] = "List index out of bounds (%d)";

// Message box captions.
inline constexpr char kCaptionError[] = "Error";
inline constexpr char kCaptionConfirmation[] = "Confirmation";
inline constexpr char kCaptionInformation[] = "Information";

// User-level messages (%s: the name as given).
inline constexpr char kSchemeNotFound[] = "Scheme \"%s\" not found";
inline constexpr char kFileNotFound[] = "File \"%s\" not found";
inline constexpr char kOverwriteFile[] = "Do you wish to overwrite \"%s\"?";
inline constexpr char kDeleteScheme[] = "Delete scheme \"%s\"?";

// Common controls check.
inline constexpr char kOldComCtl[] = "COMCTL32.DLL is older than required version";

} // namespace velbrook::msg
