#include <gtest/gtest.h>

#include <map>
#include <string>

#include "language.h"

namespace cpk {
namespace {

// The whole table: every listed identifier and its name; every other
// 16-bit value gives "English".
TEST(LanguageNameForId, WholeTableAndEverythingElseIsEnglish)
{
    std::map<std::uint16_t, std::u16string> table = {
        {0x0404, u"ChineseT"}, {0x0C04, u"ChineseT"}, {0x1004, u"ChineseT"}, {0x0804, u"ChineseS"},
        {0x0407, u"German"},   {0x0807, u"German"},   {0x0C07, u"German"},   {0x1007, u"German"},
        {0x1407, u"German"},   {0x040C, u"FrenchF"},  {0x080C, u"FrenchF"},  {0x0C0C, u"FrenchF"},
        {0x100C, u"FrenchF"},  {0x140C, u"FrenchF"},  {0x180C, u"FrenchF"},  {0x0410, u"Italian"},
        {0x0810, u"Italian"},  {0x0411, u"Japanese"}, {0x0412, u"Korean"},   {0x0413, u"Dutch"},
        {0x0813, u"Dutch"},    {0x0416, u"PortugueseP"}, {0x0816, u"PortugueseP"}, {0x0419, u"Russian"},
        {0x041F, u"Turkish"},
    };
    for (std::uint16_t id = 0x080A; id <= 0x500A; id += 0x0400)
        table[id] = u"Spanish";
    ASSERT_EQ(table.size(), 25u + 19u);

    for (std::uint32_t id = 0; id <= 0xFFFF; ++id) {
        const auto it = table.find(static_cast<std::uint16_t>(id));
        const std::u16string expected = it == table.end() ? u"English" : it->second;
        ASSERT_EQ(LanguageNameForId(static_cast<std::uint16_t>(id)), expected) << std::hex << id;
    }
}

TEST(LanguageNameForId, EdgeIdentifiers)
{
    struct Case {
        std::uint16_t id;
        std::u16string_view name;
    } const cases[] = {
        {1033, u"English"}, {2057, u"English"}, {0, u"English"},
        {3082, u"Spanish"}, {1034, u"English"}, {21514, u"English"},
        {2052, u"ChineseS"}, {1028, u"ChineseT"}, {3076, u"ChineseT"}, {4100, u"ChineseT"}, {5124, u"English"},
        {2070, u"PortugueseP"}, {1046, u"PortugueseP"}, {2067, u"Dutch"}, {2073, u"English"},
        {0x0009, u"English"}, {0x0004, u"English"},  // bare primary languages are not matched
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageNameForId(c.id), c.name) << c.id;
}

}  // namespace
}  // namespace cpk
