#pragma once
// The list view's extended styles as a typed set, and their flags.
#include <cstdint>
#include <initializer_list>

namespace velbrook::ui {

enum class ListViewExtendedStyle : std::uint8_t {
    GridLines,
    SubItemImages,
    Checkboxes,
    TrackSelect,
    HeaderDragDrop,
    FullRowSelect,
    OneClickActivate,
    TwoClickActivate,
    FlatScrollBar,
    InfoTip,
    UnderlineHot,
    UnderlineCold,
    LabelTip,
};

inline constexpr int kExtendedStyleCount = 13;

// The LVS_EX_ flag of one member.
std::uint32_t ExtendedStyleFlag(ListViewExtendedStyle style);

// A set of ListViewExtendedStyle, bit n for member n.
class ListViewExtendedStyles {
  public:
    constexpr ListViewExtendedStyles() = default;
    constexpr ListViewExtendedStyles(std::initializer_list<ListViewExtendedStyle> styles) {
        for (auto s : styles)
            bits_ |= Bit(s);
    }
    constexpr bool Has(ListViewExtendedStyle s) const { return (bits_ & Bit(s)) != 0; }
    constexpr void Add(ListViewExtendedStyle s) { bits_ |= Bit(s); }
    constexpr void Remove(ListViewExtendedStyle s) { bits_ &= static_cast<std::uint16_t>(~Bit(s)); }
    constexpr std::uint16_t Bits() const { return bits_; }
    constexpr bool operator==(const ListViewExtendedStyles&) const = default;

    // OR of the members' flags.
    std::uint32_t Flags() const;
    // Members of the flags that have one; other flags are dropped.
    static ListViewExtendedStyles FromFlags(std::uint32_t flags);

  private:
    static constexpr std::uint16_t Bit(ListViewExtendedStyle s) {
        return static_cast<std::uint16_t>(1u << static_cast<unsigned>(s));
    }
    std::uint16_t bits_ = 0;
};

// Underlining needs an activation style: UnderlineCold brings OneClickActivate,
// UnderlineHot brings it unless TwoClickActivate is there.
ListViewExtendedStyles WithActivationForUnderline(ListViewExtendedStyles styles);

} // namespace velbrook::ui
