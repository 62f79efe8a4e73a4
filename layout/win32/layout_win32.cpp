#include "layout_win32.h"

#include <array>
#include <optional>

#include "exception.h"
#include "profile_reader.h"

namespace cpk {

void TLabelLayout::SetFontSize(std::int32_t points)
{
    label_.Font.SetSize(points);
    label_.Invalidate();
}

void TLabelLayout::SetFontColor(TColor color) { label_.SetFontColor(color); }

void TLabelLayout::SetCaption(std::u16string_view caption)
{
    label_.SetCaption(std::wstring(reinterpret_cast<const wchar_t*>(caption.data()), caption.size()));
}

void TLabelLayout::SetBounds(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height)
{
    label_.SetBounds(left, top, width, height);
}

void LoadLanguageLayout(const LayoutTextReader& reader, std::u16string_view languageName,
                        const LayoutTargets& targets)
{
    // One adapter per plain label that is present, alive for the pass.
    std::array<std::optional<TLabelLayout>, 14> adapters;
    std::size_t used = 0;
    auto adapt = [&](TLabel* label) -> LayoutLabel* {
        if (!label)
            return nullptr;
        return &adapters[used++].emplace(*label);
    };
    LayoutLabelSet set;
    set.le_SofewareCommendTitle = adapt(targets.le_SofewareCommendTitle);
    set.le_SofewareCommend1 = adapt(targets.le_SofewareCommend1);
    set.le_SofewareCommend2 = adapt(targets.le_SofewareCommend2);
    set.le_SofewareCommend3 = adapt(targets.le_SofewareCommend3);
    set.advle_Title = targets.advle_Title;
    set.le_AMouse = adapt(targets.le_AMouse);
    set.le_BMouse = adapt(targets.le_BMouse);
    set.le_Bump = adapt(targets.le_Bump);
    set.lb_F1 = adapt(targets.lb_F1);
    set.lb_F2 = adapt(targets.lb_F2);
    set.lb_ESC = adapt(targets.lb_ESC);
    set.le_UseCommend = adapt(targets.le_UseCommend);
    set.le_CollisionTimes = adapt(targets.le_CollisionTimes);
    set.le_Winner = adapt(targets.le_Winner);
    set.le_FasterBy = adapt(targets.le_FasterBy);
    try {
        ApplyLayoutText(reader, languageName, set);
    } catch (const ConversionError& e) {
        const std::u16string& m = e.Message();
        throw Exception(std::wstring(reinterpret_cast<const wchar_t*>(m.data()), m.size()));
    }
}

void LoadLanguageLayout(const std::wstring& layoutTextPath, std::u16string_view languageName,
                        const LayoutTargets& targets)
{
    const ProfileStringReader reader(layoutTextPath);
    LoadLanguageLayout(reader, languageName, targets);
}

}  // namespace cpk
