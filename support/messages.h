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
inline constexpr char kNotPlacesFile[] =
    "The file \"%s\" is not a places file: it has no [Places] section.";
// %s: what could not be read.
inline constexpr char kSchemesDamaged[] =
    "Some quick adjust schemes could not be read:\n%s\n\nThey stay in the registry as they "
    "are. Schemes that you add or delete now cannot be saved this time.";
inline constexpr char kSchemesNotSavedThisTime[] =
    "Schemes cannot be saved this time, because some stored schemes could not be read. This "
    "change lasts until Velbrook closes.";
// %s: the places, one per line.
inline constexpr char kPlacesLeftOutOfFile[] =
    "The places file was saved without these places, which have no folder path:\n\n%s";
inline constexpr char kPlacesLeftOutOfScheme[] =
    "The scheme was added without these places, which have no folder path:\n\n%s";
inline constexpr char kPlacesWithControlCharacters[] =
    "The places file was saved without these places, whose paths hold line breaks or other "
    "control characters:\n\n%s";
// %s: the name the folder browser shows.
inline constexpr char kFolderCannotBePlace[] =
    "\"%s\" cannot be a place: it is neither a folder with a path nor a special folder.";
// The info tip of a row whose folder is missing.
inline constexpr char kPlaceLeftOutByDialogs[] =
    "The file dialogs leave this button out: the folder does not exist or cannot be reached.";
// %d: the number stored for the place.
inline constexpr char kSpecialFolderNumber[] = "Special folder %d";

// Changes of the places bar by several processes at once (%d: seconds waited,
// or the system's error code).
inline constexpr char kPlacesBarBusy[] =
    "The places bar was not changed: another Velbrook run has been changing it for %d "
    "seconds. Try again when it has finished.";
inline constexpr char kCannotLockPlacesBar[] =
    "The places bar was not changed: Velbrook cannot keep other runs from changing it at the "
    "same time (system error %d).";
// %s: the key below HKEY_CURRENT_USER.
inline constexpr char kPlacesBarSetByPolicy[] =
    "The places bar was not changed: the registry key HKEY_CURRENT_USER\\%s is set by the "
    "administrator's policy, and this user may not change it (access denied).";
inline constexpr char kPlacesBarLockTaken[] =
    "The places bar was not changed: the lock that keeps Velbrook's runs from changing it at "
    "the same time was made by another user's program, which Velbrook does not trust.";
// The one window of the user's (%d: the system's error code).
inline constexpr char kWindowLockTaken[] =
    "Velbrook's window was not opened: the name by which it finds its own open window was "
    "taken by another user's program, which Velbrook does not trust.";
inline constexpr char kCannotFindOpenWindow[] =
    "Velbrook cannot tell whether its window is open already (system error %d).";
inline constexpr char kWindowOpenElsewhere[] =
    "Velbrook's window is open already for this user, in another session or still starting, "
    "and cannot be brought to the front here.";
inline constexpr char kCannotReadProcessUser[] =
    "Cannot tell which user this process runs as (system error %d).";

// Undo of the last change of the places bar.
inline constexpr char kNothingToUndo[] = "There is no change of the places bar to undo.";
// -save: of a places bar that holds no places of its own.
inline constexpr char kSavedDefaultPlacesBar[] =
    "The places bar shows the system-default buttons, which a places file cannot hold: the "
    "file was saved without places.";

// Checks that change nothing, and runs as an account that is no person's.
inline constexpr char kLogSame[] = "same";
inline constexpr char kLogDiffers[] = "differs";
inline constexpr char kCheckNeedsAction[] =
    "The option -check needs an action to check: -load:<scheme_name>, -file:<file_name>, "
    "default or -undo.";
// %s: the account.
inline constexpr char kRunsAsServiceAccount[] =
    "Nothing was done: Velbrook runs as %s, whose places bar no person sees. The places bar "
    "belongs to a person: run Velbrook as that person, from a logon script, a scheduled task "
    "that runs as the user, or with the deployment tool's setting to run as the logged-on user.";
inline constexpr char kLocalSystemAccount[] = "the local system account";
inline constexpr char kLocalServiceAccount[] = "the local service account";
inline constexpr char kNetworkServiceAccount[] = "the network service account";

// Runs without a window (%s: the option's name, twice).
inline constexpr char kOptionNeedsFileName[] = "The option -%s needs a file name: -%s:<file_name>";
inline constexpr char kNoActionGiven[] = "No action was given, so nothing was done.";
// The outcome of an action in the log.
inline constexpr char kLogDone[] = "done";
// %s: the file name, then the reason.
inline constexpr char kCannotWriteLog[] = "Cannot write to the log file \"%s\": %s.";
inline constexpr char kCannotSavePlacesFile[] = "Cannot save the places file \"%s\": %s.";
inline constexpr char kCannotReadPlacesFile[] = "Cannot read the places file \"%s\": %s.";
// Why a file cannot be written or read.
inline constexpr char kReasonIsDevice[] = "the name is that of a device, not of a file";
inline constexpr char kReasonFolderMissing[] = "its folder does not exist";
inline constexpr char kReasonIsFolder[] = "it is a folder";
inline constexpr char kReasonReadOnly[] = "it is read-only";
inline constexpr char kReasonAccessDenied[] = "access is denied";
inline constexpr char kReasonLocked[] = "another program keeps it locked";
inline constexpr char kReasonTooLarge[] =
    "it is larger than a megabyte, far too large to be a places file";
// %d: the system's error code.
inline constexpr char kReasonSystemError[] = "system error %d";

// Text that the process's ANSI code page cannot hold (%s: the text, with the
// code page's stand-ins).
inline constexpr char kTextNotInCodePage[] =
    "Nothing was done: \"%s\" holds characters that this system's code page cannot hold, "
    "and a look-alike would name another file or folder.";

// velbrook.com without its velbrook.exe (%d: the system's error code).
inline constexpr char kCannotStartWindowsProgram[] =
    "Cannot start velbrook.exe from the folder of velbrook.com (system error %d).";

// A system DLL or one of its functions that this Windows lacks (%s: the DLL, the function).
inline constexpr char kMissingSystemFunction[] =
    "Velbrook cannot run on this version of Windows: %s lacks %s.";

// Common controls check.
inline constexpr char kOldComCtl[] = "COMCTL32.DLL is older than required version";

// The window and its controls that could not be made (%s: the window class).
inline constexpr char kCannotRegisterWindowClass[] = "RegisterClassExA failed for %s";
inline constexpr char kCannotCreateWindow[] = "CreateWindowExA failed for %s";
inline constexpr char kCannotCreatePlacesList[] = "Cannot create the places list";
// %s: the scheme's name.
inline constexpr char kCannotAddScheme[] = "Cannot add the scheme \"%s\" to the list";
// Design table faults (%d: the command).
inline constexpr char kNoCommandForImageButton[] = "No command for an image button of the design";
inline constexpr char kNoImageButtonForCommand[] = "No image button for the command %d";
inline constexpr char kNoSuchWindowPart[] = "No such part of the window";

// The command-line syntax, lines joined by a carriage return only, the way the
// message box shows them: the first eleven as they always were, then one line
// per option that came later.
inline constexpr char kCommandLineSyntax[] =
    "COMMAND LINE SYNTAX\r"
    "\r"
    "velbrook.exe [-load:<scheme_name>]| [-file:<file_name>] | [default]\r"
    "  -load:<scheme_name> - load <scheme_name> and exit\r"
    "                        <scheme_name> - is an exact (case insensitive)\r"
    "                        name of any existing sheme.\r"
    "  -file:<file_name> - setup buttons using external file\r"
    "                      (see sample.ini for sample)\r"
    "                      If path to file contain spaces, don't forget\r"
    "                      to quote it!\r"
    "  -default - restore system-default settings\r"
    "  -undo - take back the last change of the places bar\r"
    "  -save:<file_name> - save the places bar to a places file\r"
    "  -check - change nothing; exit code 0: already so, 2: would change it, 1: error\r"
    "  -quiet - show no window or message; exit code 0: done, 1: not done\r"
    "  -log:<file_name> - append one line about the run to <file_name>";

// Main window: captions, hints and the texts of the dialogs it shows.
inline constexpr char kCaptionUseDefault[] = "Use &default buttons";
inline constexpr char kCaptionCustom[] = "&Custom places bar buttons (double-click to change):";
inline constexpr char kCaptionSchemeLabel[] = "Load quick adjust &scheme:";
inline constexpr char kCaptionHelp[] = "?";
inline constexpr char kCaptionOk[] = "Ok";
inline constexpr char kCaptionCancel[] = "Cancel";
inline constexpr char kHintChange[] = "Change selected item";
inline constexpr char kHintClear[] = "Clear selected item";
inline constexpr char kHintAddScheme[] = "Add to quick adjust scheme";
inline constexpr char kHintDeleteScheme[] = "Delete quick adjust scheme";
inline constexpr char kHintSaveScheme[] = "Save scheme";
inline constexpr char kHintMoveDown[] = "Move down";
inline constexpr char kHintMoveUp[] = "Move up";
inline constexpr char kLinkText[] = "Visit our web site for more software";
inline constexpr char kPathColumn[] = "Path";
inline constexpr char kNumberColumn[] = "#";
inline constexpr char kBrowseTitle[] = "Select a folder";
inline constexpr char kSchemeQueryCaption[] = "Quick adjust scheme";
inline constexpr char kSchemeQueryPrompt[] = "Enter a name of the scheme";
inline constexpr char kSchemeQueryPreset[] = "New scheme";
inline constexpr char kInputOk[] = "OK";
inline constexpr char kInputCancel[] = "Cancel";

// A hint with its shortcut: "%s (%s)" (hint, shortcut), and the shortcuts' key names.
inline constexpr char kHintWithShortcut[] = "%s (%s)";
inline constexpr char kKeyCtrl[] = "Ctrl+";
inline constexpr char kKeyDelete[] = "Del";
inline constexpr char kKeyInsert[] = "Ins";
inline constexpr char kKeyUp[] = "Up";
inline constexpr char kKeyDown[] = "Down";
// What a screen reader offers to do with an image button.
inline constexpr char kPressAction[] = "Press";

} // namespace velbrook::msg
