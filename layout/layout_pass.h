// The layout pass: gives the fifteen labels of the main window their font
// size, colour, caption and bounds from one section of the layout text. It
// sees the labels only through the two small interfaces below, so the control
// layer adapts its own classes (win32/layout_win32.h) and the tests use fakes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "layout_reader.h"
#include "value_parsers.h"

namespace cpk {

class LayoutLabel {
public:
    virtual ~LayoutLabel() = default;
    virtual void SetFontSize(std::int32_t points) = 0;
    virtual void SetFontColor(TColor color) = 0;
    virtual void SetCaption(std::u16string_view caption) = 0;
    // Width and height as computed, also when 0 or negative.
    virtual void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) = 0;
};

// The title, whose caption is painted with a vertical colour gradient.
class LayoutGradientLabel {
public:
    virtual ~LayoutGradientLabel() = default;
    virtual void SetCaptionFontSize(std::int32_t points) = 0;
    virtual void SetCaptionColorStart(TColor color) = 0;
    virtual void SetCaptionColorEnd(TColor color) = 0;
    virtual void SetCaptionText(std::u16string_view text) = 0;
    virtual void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) = 0;
};

// The labels by their component names. A null entry still has its keys read
// and checked, its values just go nowhere.
struct LayoutLabelSet {
    LayoutLabel* le_SofewareCommendTitle = nullptr;
    LayoutLabel* le_SofewareCommend1 = nullptr;
    LayoutLabel* le_SofewareCommend2 = nullptr;
    LayoutLabel* le_SofewareCommend3 = nullptr;
    LayoutGradientLabel* advle_Title = nullptr;
    LayoutLabel* le_AMouse = nullptr;
    LayoutLabel* le_BMouse = nullptr;
    LayoutLabel* le_Bump = nullptr;
    LayoutLabel* lb_F1 = nullptr;
    LayoutLabel* lb_F2 = nullptr;
    LayoutLabel* lb_ESC = nullptr;
    LayoutLabel* le_UseCommend = nullptr;
    LayoutLabel* le_CollisionTimes = nullptr;
    LayoutLabel* le_Winner = nullptr;
    LayoutLabel* le_FasterBy = nullptr;
};

// A section is used only when it holds this key with a value other than "0".
inline constexpr std::u16string_view kLayoutProbeKey = u"le_SofewareCommendTitle->Font->Size";
inline constexpr std::u16string_view kLayoutFallbackSection = u"English";

// The section the pass reads for `languageName`: that name, or [English]
// when the probe key there reads "0" (or is missing).
[[nodiscard]] std::u16string ChooseLayoutSection(const LayoutTextReader& reader, std::u16string_view languageName);

// Reads and applies the labels' keys in their fixed order, each value at
// once. A malformed number throws ConversionError at that key; what was
// applied before it stays.
void ApplyLayoutText(const LayoutTextReader& reader, std::u16string_view languageName, const LayoutLabelSet& labels);

}  // namespace cpk
