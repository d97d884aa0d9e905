#include "ui/main_window_design.h"

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

// Windowed controls in tab order (the scheme label right before the scheme box, whose accelerator
// it carries), then the windowless ones.
constexpr Control kControls[] = {
    {Part::DefaultRadio,
     Kind::RadioButton,
     kIdDefaultRadio,
     {88, 68, 389, 17},
     kAnchorLeftTop,
     msg::kCaptionUseDefault},
    {Part::CustomRadio,
     Kind::RadioButton,
     kIdCustomRadio,
     {88, 88, 385, 17},
     kAnchorLeftTop,
     msg::kCaptionCustom},
    {Part::PlacesList, Kind::List, kIdPlacesList, {88, 112, 403, 141}, kAnchorAll, ""},
    {Part::SchemeLabel,
     Kind::Label,
     kIdSchemeLabel,
     {88, 270, 126, 13},
     kLeftBottom,
     msg::kCaptionSchemeLabel},
    {Part::SchemeBox, Kind::ComboBox, kIdSchemeBox, {88, 288, 382, 21}, kLeftRightBottom, ""},
    {Part::HelpButton,
     Kind::PushButton,
     kIdHelp,
     {12, 327, 30, 25},
     kLeftBottom,
     msg::kCaptionHelp},
    {Part::OkButton, Kind::PushButton, kIdOk, {341, 327, 90, 25}, kRightBottom, msg::kCaptionOk},
    {Part::CancelButton,
     Kind::PushButton,
     kIdCancel,
     {433, 327, 90, 25},
     kRightBottom,
     msg::kCaptionCancel},
    {Part::ChangeButton,
     Kind::ImageButton,
     kCmdChange,
     {498, 116, 23, 22},
     kTopRight,
     "",
     kGlyphChange},
    {Part::ClearButton,
     Kind::ImageButton,
     kCmdClear,
     {498, 140, 23, 22},
     kTopRight,
     "",
     kGlyphClear},
    {Part::AddSchemeButton,
     Kind::ImageButton,
     kCmdAddScheme,
     {474, 287, 23, 22},
     kRightBottom,
     "",
     kGlyphAdd},
    {Part::DeleteSchemeButton,
     Kind::ImageButton,
     kCmdDeleteScheme,
     {498, 287, 23, 22},
     kRightBottom,
     "",
     kGlyphClear},
    {Part::ButtonBand, Kind::Band, kNoId, {0, 319, 534, 40}, kLeftRightBottom, ""},
    {Part::SaveButton,
     Kind::ImageButton,
     kCmdSavePlacesFile,
     {498, 236, 23, 22},
     kTopRight,
     "",
     kGlyphSave},
    {Part::Logo, Kind::Picture, kNoId, {16, 12, 48, 48}, kAnchorLeftTop, ""},
    {Part::WebSiteLink, Kind::Link, kNoId, {80, 24, 351, 18}, kAnchorLeftTop, msg::kLinkText},
    {Part::MoveDownButton,
     Kind::ImageButton,
     kCmdMoveDown,
     {498, 200, 23, 22},
     kTopRight,
     "",
     kGlyphDown},
    {Part::MoveUpButton,
     Kind::ImageButton,
     kCmdMoveUp,
     {498, 176, 23, 22},
     kTopRight,
     "",
     kGlyphUp},
};

} // namespace

std::span<const Control> Controls() {
    return kControls;
}

const Control& ControlOf(Part part) {
    for (const Control& control : kControls) {
        if (control.part == part)
            return control;
    }
    throw Error(msg::kNoSuchWindowPart);
}

} // namespace velbrook::ui::design
