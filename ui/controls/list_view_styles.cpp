#include "ui/controls/list_view_styles.h"

#include <array>

namespace velbrook::ui {
namespace {

constexpr std::array<std::uint32_t, kExtendedStyleCount> kFlags{
    0x0001, 0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040,
    0x0080, 0x0100, 0x0400, 0x0800, 0x1000, 0x4000,
};

} // namespace

std::uint32_t ExtendedStyleFlag(TLVExtendedStyle style) {
    return kFlags[static_cast<std::size_t>(style)];
}

std::uint32_t TLVExtendedStyles::Flags() const {
    std::uint32_t flags = 0;
    for (int i = 0; i < kExtendedStyleCount; ++i) {
        const auto style = static_cast<TLVExtendedStyle>(i);
        if (Has(style))
            flags |= ExtendedStyleFlag(style);
    }
    return flags;
}

TLVExtendedStyles TLVExtendedStyles::FromFlags(std::uint32_t flags) {
    TLVExtendedStyles styles;
    for (int i = 0; i < kExtendedStyleCount; ++i) {
        const auto style = static_cast<TLVExtendedStyle>(i);
        if (flags & ExtendedStyleFlag(style))
            styles.Add(style);
    }
    return styles;
}

TLVExtendedStyles WithActivationForUnderline(TLVExtendedStyles styles) {
    using enum TLVExtendedStyle;
    if (styles.Has(lvxUnderlineCold) && !styles.Has(lvxOneClickActivate))
        styles.Add(lvxOneClickActivate);
    if (styles.Has(lvxUnderlineHot) && !styles.Has(lvxOneClickActivate) &&
        !styles.Has(lvxTwoClickActivate))
        styles.Add(lvxOneClickActivate);
    return styles;
}

} // namespace velbrook::ui
