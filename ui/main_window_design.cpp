#include "ui/main_window_design.h"

#include <cstring>
#include <string>

#include "support/errors.h"
#include "support/messages.h"

namespace velbrook::ui::design {

namespace {

using namespace layout;

constexpr Anchors kTopRight = kAnchorTop | kAnchorRight;
constexpr Anchors kRightBottom = kAnchorRight | kAnchorBottom;
constexpr Anchors kLeftBottom = kAnchorLeft | kAnchorBottom;
constexpr Anchors kLeftRightBottom = kAnchorLeft | kAnchorRight | kAnchorBottom;

// Windowed controls in tab order (Label6 right before cbScheme, whose accelerator
// it carries), then the windowless ones.
constexpr Control kControls[] = {
    {"rbDef",
     Kind::RadioButton,
     kIdDef,
     {88, 68, 389, 17},
     kAnchorLeftTop,
     msg::kCaptionUseDefault},
    {"rbCustom",
     Kind::RadioButton,
     kIdCustom,
     {88, 88, 385, 17},
     kAnchorLeftTop,
     msg::kCaptionCustom},
    {"lv", Kind::List, kIdList, {88, 112, 403, 141}, kAnchorAll, ""},
    {"Label6", Kind::Label, kIdLabel6, {88, 270, 126, 13}, kLeftBottom, msg::kCaptionSchemeLabel},
    {"cbScheme", Kind::ComboBox, kIdScheme, {88, 288, 382, 21}, kLeftRightBottom, ""},
    {"btHelp", Kind::PushButton, kIdHelp, {12, 327, 30, 25}, kLeftBottom, msg::kCaptionHelp},
    {"btOk", Kind::PushButton, kIdOk, {341, 327, 90, 25}, kRightBottom, msg::kCaptionOk},
    {"btCancel",
     Kind::PushButton,
     kIdCancel,
     {433, 327, 90, 25},
     kRightBottom,
     msg::kCaptionCancel},
    {"btChange", Kind::ImageButton, kCmdChange, {498, 116, 23, 22}, kTopRight, "", kGlyphChange},
    {"CSTButton2", Kind::ImageButton, kCmdClear, {498, 140, 23, 22}, kTopRight, "", kGlyphClear},
    {"CSTButton3",
     Kind::ImageButton,
     kCmdAddScheme,
     {474, 287, 23, 22},
     kRightBottom,
     "",
     kGlyphAdd},
    {"btDelete",
     Kind::ImageButton,
     kCmdDeleteScheme,
     {498, 287, 23, 22},
     kRightBottom,
     "",
     kGlyphClear},
    {"Shape1", Kind::Band, kNoId, {0, 319, 534, 40}, kLeftRightBottom, ""},
    {"CSTButton1",
     Kind::ImageButton,
     kCmdSavePlacesFile,
     {498, 236, 23, 22},
     kTopRight,
     "",
     kGlyphSave},
    {"Image1", Kind::Picture, kNoId, {16, 12, 48, 48}, kAnchorLeftTop, ""},
    {"Label1", Kind::Link, kNoId, {80, 24, 351, 18}, kAnchorLeftTop, msg::kLinkText},
    {"cbDown", Kind::ImageButton, kCmdMoveDown, {498, 200, 23, 22}, kTopRight, "", kGlyphDown},
    {"cbUp", Kind::ImageButton, kCmdMoveUp, {498, 176, 23, 22}, kTopRight, "", kGlyphUp},
};

} // namespace

std::span<const Control> Controls() {
    return kControls;
}

const Control& ControlNamed(const char* name) {
    for (const Control& control : kControls) {
        if (std::strcmp(control.name, name) == 0)
            return control;
    }
    throw Error(std::string("No control named ") + name);
}

} // namespace velbrook::ui::design
