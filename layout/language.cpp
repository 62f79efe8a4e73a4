#include "language.h"

namespace cpk {

namespace {

struct LanguageRow {
    std::uint16_t id;
    std::u16string_view name;
};

constexpr LanguageRow kLanguages[] = {
    {0x0404, u"ChineseT"}, {0x0C04, u"ChineseT"}, {0x1004, u"ChineseT"},
    {0x0804, u"ChineseS"},
    {0x0407, u"German"}, {0x0807, u"German"}, {0x0C07, u"German"}, {0x1007, u"German"}, {0x1407, u"German"},
    {0x040C, u"FrenchF"}, {0x080C, u"FrenchF"}, {0x0C0C, u"FrenchF"}, {0x100C, u"FrenchF"}, {0x140C, u"FrenchF"},
    {0x180C, u"FrenchF"},
    {0x0410, u"Italian"}, {0x0810, u"Italian"},
    {0x0411, u"Japanese"},
    {0x0412, u"Korean"},
    {0x0413, u"Dutch"}, {0x0813, u"Dutch"},
    {0x0416, u"PortugueseP"}, {0x0816, u"PortugueseP"},
    {0x0419, u"Russian"},
    {0x041F, u"Turkish"},
};

// Spanish: 0x080A to 0x500A in steps of 0x0400 (Mexico to Puerto Rico).
// 0x040A (traditional sort) and 0x540A (United States) are not among them.
constexpr bool IsSpanish(std::uint16_t id)
{
    return (id & 0x03FF) == 0x000A && id >= 0x080A && id <= 0x500A;
}

}  // namespace

std::u16string_view LanguageNameForId(std::uint16_t languageId)
{
    if (IsSpanish(languageId))
        return u"Spanish";
    for (const LanguageRow& row : kLanguages)
        if (row.id == languageId)
            return row.name;
    return u"English";
}

}  // namespace cpk
