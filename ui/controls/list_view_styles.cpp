#include "ui/controls/list_view_styles.h"

#include <array>

#include "support/win32/windows_ansi.h"
#include <commctrl.h>

namespace velbrook::ui {
namespace {

// In the order of the members.
constexpr std::array<std::uint32_t, kExtendedStyleCount> kFlags{
    LVS_EX_GRIDLINES,      LVS_EX_SUBITEMIMAGES, LVS_EX_CHECKBOXES,       LVS_EX_TRACKSELECT,
    LVS_EX_HEADERDRAGDROP, LVS_EX_FULLROWSELECT, LVS_EX_ONECLICKACTIVATE, LVS_EX_TWOCLICKACTIVATE,
    LVS_EX_FLATSB,         LVS_EX_INFOTIP,       LVS_EX_UNDERLINEHOT,     LVS_EX_UNDERLINECOLD,
    LVS_EX_LABELTIP,
};

} // namespace

std::uint32_t ExtendedStyleFlag(ListViewExtendedStyle style) {
    return kFlags[static_cast<std::size_t>(style)];
}

std::uint32_t ListViewExtendedStyles::Flags() const {
    std::uint32_t flags = 0;
    for (int i = 0; i < kExtendedStyleCount; ++i) {
        const auto style = static_cast<ListViewExtendedStyle>(i);
        if (Has(style))
            flags |= ExtendedStyleFlag(style);
    }
    return flags;
}

ListViewExtendedStyles ListViewExtendedStyles::FromFlags(std::uint32_t flags) {
    ListViewExtendedStyles styles;
    for (int i = 0; i < kExtendedStyleCount; ++i) {
        const auto style = static_cast<ListViewExtendedStyle>(i);
        if (flags & ExtendedStyleFlag(style))
            styles.Add(style);
    }
    return styles;
}

ListViewExtendedStyles WithActivationForUnderline(ListViewExtendedStyles styles) {
    using enum ListViewExtendedStyle;
    if (styles.Has(UnderlineCold) && !styles.Has(OneClickActivate))
        styles.Add(OneClickActivate);
    if (styles.Has(UnderlineHot) && !styles.Has(OneClickActivate) && !styles.Has(TwoClickActivate))
        styles.Add(OneClickActivate);
    return styles;
}

} // namespace velbrook::ui
