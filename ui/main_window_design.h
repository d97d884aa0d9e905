#pragma once
// The design of the main window: every control with its design rectangle (pixels
// of a 534 x 359 client area at text height 13), anchors, text and image, and the
// window's own texts. Windowed controls are created in table order, which is also
// their tab order. Portable: the layout tests check it natively.
#include <span>

#include "ui/layout/layout.h"

namespace velbrook::ui::design {

enum class Kind {
    Label,
    ImageButton,
    Band,
    Picture,
    Link,
    PushButton,
    ComboBox,
    RadioButton,
    List
};

// Control ids; the OK and Cancel buttons carry the dialog ids 1 (IDOK) and 2 (IDCANCEL)
// so that Enter and Esc reach them through the dialog keyboard handling.
enum ControlId : int {
    kNoId = 0,
    kIdOk = 1,
    kIdCancel = 2,
    kIdDefaultRadio = 100,
    kIdCustomRadio,
    kIdPlacesList,
    kIdSchemeLabel,
    kIdSchemeBox,
    kIdHelp,
};

// The window's commands (ui/main_window_commands.h); each image button carries
// the id of the command it runs.
enum CommandId : int {
    kCmdChange = 200,
    kCmdClear,
    kCmdMoveUp,
    kCmdMoveDown,
    kCmdSavePlacesFile,
    kCmdAddScheme,
    kCmdDeleteScheme,
};

// The glyphs of the image buttons, in the order of their strip (ui/art/art_drawing.h).
enum Glyph : int { kGlyphClear = 0, kGlyphChange, kGlyphAdd, kGlyphSave, kGlyphDown, kGlyphUp };

// The parts of the window, by role.
enum class Part {
    DefaultRadio,
    CustomRadio,
    PlacesList,
    SchemeLabel,
    SchemeBox,
    HelpButton,
    OkButton,
    CancelButton,
    ChangeButton,
    ClearButton,
    AddSchemeButton,
    DeleteSchemeButton,
    ButtonBand,
    SaveButton,
    Logo,
    WebSiteLink,
    MoveDownButton,
    MoveUpButton,
};

struct Control {
    Part part;
    Kind kind;
    int id;
    layout::Rect rect;
    layout::Anchors anchors;
    const char* text; // caption; an image button's hint is its command's
    int imageIndex = -1;
};

inline constexpr layout::Size kClient{534, 359};
inline constexpr layout::Size kMinimumOuter{550, 395};

inline constexpr char kWindowClass[] = "TfrSMain";
inline constexpr char kMakerWebSite[] = "https://velbrook.example/";
inline constexpr char kLinkFontFace[] = "Arial";
inline constexpr int kLinkFontHeight = -16;
inline constexpr char kHelpDocument[] = "How to use.txt";
inline constexpr char kOpenVerb[] = "open";

// The scheme box drops down eight rows of 13 pixels (and its border).
inline constexpr int kSchemeDropDownHeight = 8 * 13 + 2;

inline constexpr int kPathColumnWidth = 350;
inline constexpr int kNumberColumnWidth = 25;

// Resource name of the logo's 48-pixel bitmap (res/art.rc).
inline constexpr char kLogoResource[] = "LOGO";

std::span<const Control> Controls();
const Control& ControlOf(Part part);

} // namespace velbrook::ui::design
