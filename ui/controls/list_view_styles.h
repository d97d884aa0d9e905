#pragma once
// The list view's extended styles as a typed set, and their flags.
#include <cstdint>
#include <initializer_list>

namespace velbrook::ui {

enum class TLVExtendedStyle : std::uint8_t {
    lvxGridLines,
    lvxSubItemImages,
    lvxCheckboxes,
    lvxTrackSelect,
    lvxHeaderDragDrop,
    lvxFullRowSelect,
    lvxOneClickActivate,
    lvxTwoClickActivate,
    lvxFlatScrollBar,
    lvxInfoTip,
    lvxUnderlineHot,
    lvxUnderlineCold,
    lvxLabelTip,
};

inline constexpr int kExtendedStyleCount = 13;

// The LVS_EX_ flag of one member.
std::uint32_t ExtendedStyleFlag(TLVExtendedStyle style);

// A set of TLVExtendedStyle, bit n for member n.
class TLVExtendedStyles {
  public:
    constexpr TLVExtendedStyles() = default;
    constexpr TLVExtendedStyles(std::initializer_list<TLVExtendedStyle> styles) {
        for (auto s : styles)
            bits_ |= Bit(s);
    }
    constexpr bool Has(TLVExtendedStyle s) const { return (bits_ & Bit(s)) != 0; }
    constexpr void Add(TLVExtendedStyle s) { bits_ |= Bit(s); }
    constexpr void Remove(TLVExtendedStyle s) { bits_ &= static_cast<std::uint16_t>(~Bit(s)); }
    constexpr std::uint16_t Bits() const { return bits_; }
    constexpr bool operator==(const TLVExtendedStyles&) const = default;

    // OR of the members' flags.
    std::uint32_t Flags() const;
    // Members of the flags that have one; other flags are dropped.
    static TLVExtendedStyles FromFlags(std::uint32_t flags);

  private:
    static constexpr std::uint16_t Bit(TLVExtendedStyle s) {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(s));
    }
    std::uint16_t bits_ = 0;
};

// Underlining needs an activation style: UnderlineCold brings OneClickActivate,
// UnderlineHot brings it unless TwoClickActivate is there.
TLVExtendedStyles WithActivationForUnderline(TLVExtendedStyles styles);

} // namespace velbrook::ui
