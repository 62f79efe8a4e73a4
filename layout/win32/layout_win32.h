// Start-up's entry to the layout pass: the labels of the control layer
// behind the pass's label interfaces, read through the profile-string
// service.
#pragma once

#include <string>
#include <string_view>

#include "controls.h"
#include "layout_pass.h"

namespace cpk {

// A plain label of the control layer as the pass sees it.
class TLabelLayout final : public LayoutLabel {
public:
    explicit TLabelLayout(TLabel& label) : label_(label) {}
    void SetFontSize(std::int32_t points) override;
    void SetFontColor(TColor color) override;
    void SetCaption(std::u16string_view caption) override;
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;

private:
    TLabel& label_;
};

// The gradient title label as the pass sees it, for a control class with
// Caption.Font (a TFont), Caption.ColorStart, Caption.ColorEnd, Caption.Text
// (std::wstring) and SetBounds. A control may instead implement
// LayoutGradientLabel itself.
template <typename GradientLabel>
class GradientLabelLayout final : public LayoutGradientLabel {
public:
    explicit GradientLabelLayout(GradientLabel& label) : label_(label) {}
    void SetCaptionFontSize(std::int32_t points) override { label_.Caption.Font.SetSize(points); }
    void SetCaptionColorStart(TColor color) override { label_.Caption.ColorStart = color; }
    void SetCaptionColorEnd(TColor color) override { label_.Caption.ColorEnd = color; }
    void SetCaptionText(std::u16string_view text) override
    {
        label_.Caption.Text.assign(reinterpret_cast<const wchar_t*>(text.data()), text.size());
    }
    void SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override
    {
        label_.SetBounds(left, top, width, height);
    }

private:
    GradientLabel& label_;
};

// The fifteen labels by their component names; a null entry is skipped
// (its keys are still read and checked).
struct LayoutTargets {
    TLabel* le_SofewareCommendTitle = nullptr;
    TLabel* le_SofewareCommend1 = nullptr;
    TLabel* le_SofewareCommend2 = nullptr;
    TLabel* le_SofewareCommend3 = nullptr;
    LayoutGradientLabel* advle_Title = nullptr;
    TLabel* le_AMouse = nullptr;
    TLabel* le_BMouse = nullptr;
    TLabel* le_Bump = nullptr;
    TLabel* lb_F1 = nullptr;
    TLabel* lb_F2 = nullptr;
    TLabel* lb_ESC = nullptr;
    TLabel* le_UseCommend = nullptr;
    TLabel* le_CollisionTimes = nullptr;
    TLabel* le_Winner = nullptr;
    TLabel* le_FasterBy = nullptr;
};

// Lays the labels out from the section of `languageName` in the layout text
// file (or [English] when that section is not filled). A malformed number
// raises cpk::Exception with the conversion message, after the labels and
// properties before it have taken their values.
void LoadLanguageLayout(const std::wstring& layoutTextPath, std::u16string_view languageName,
                        const LayoutTargets& targets);

// The same pass through any reader (the tests use the portable one).
void LoadLanguageLayout(const LayoutTextReader& reader, std::u16string_view languageName,
                        const LayoutTargets& targets);

}  // namespace cpk
