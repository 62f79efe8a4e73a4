#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "layout_pass.h"
#include "layout_test_util.h"

#ifndef CPK_LAYOUT_TEXT_FILE
#error "CPK_LAYOUT_TEXT_FILE names the built default layout text"
#endif

namespace cpk {
namespace {

using test::Utf8;

struct LabelState {
    std::int32_t fontSize = 0;
    TColor color = 0;  // the title's start colour
    TColor colorEnd = 0;
    std::u16string caption;
    std::int32_t left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const LabelState&, const LabelState&) = default;
};

std::ostream& operator<<(std::ostream& os, const LabelState& s)
{
    return os << "{size " << s.fontSize << ", colour " << s.color << "/" << s.colorEnd << ", '" << Utf8(s.caption)
              << "', " << s.left << "," << s.top << " " << s.width << "x" << s.height << "}";
}

class FakeLabel final : public LayoutLabel {
public:
    LabelState state;
    void SetFontSize(std::int32_t points) override { state.fontSize = points; }
    void SetFontColor(TColor color) override { state.color = color; }
    void SetCaption(std::u16string_view caption) override { state.caption = caption; }
    void SetBounds(std::int32_t l, std::int32_t t, std::int32_t w, std::int32_t h) override
    {
        state.left = l, state.top = t, state.width = w, state.height = h;
    }
};

class FakeTitle final : public LayoutGradientLabel {
public:
    LabelState state;
    void SetCaptionFontSize(std::int32_t points) override { state.fontSize = points; }
    void SetCaptionColorStart(TColor color) override { state.color = color; }
    void SetCaptionColorEnd(TColor color) override { state.colorEnd = color; }
    void SetCaptionText(std::u16string_view text) override { state.caption = text; }
    void SetBounds(std::int32_t l, std::int32_t t, std::int32_t w, std::int32_t h) override
    {
        state.left = l, state.top = t, state.width = w, state.height = h;
    }
};

constexpr std::array<std::u16string_view, 15> kOrder = {
    u"le_SofewareCommendTitle", u"le_SofewareCommend1", u"le_SofewareCommend2", u"le_SofewareCommend3",
    u"advle_Title", u"le_AMouse", u"le_BMouse", u"le_Bump", u"lb_F1", u"lb_F2", u"lb_ESC", u"le_UseCommend",
    u"le_CollisionTimes", u"le_Winner", u"le_FasterBy",
};

// The fifteen labels as the window definition creates them (design font
// sizes in points, black, empty captions), in processing order.
class FakeForm {
public:
    FakeForm()
    {
        const LabelState design[15] = {
            {11, 0, 0, u"", 313, 238, 192, 18}, {10, 0, 0, u"", 228, 257, 365, 17},
            {10, 0, 0, u"", 190, 271, 435, 17}, {10, 0, 0, u"", 147, 294, 519, 13},
            {10, 0x80000008, 0x80000008, u"", 33, 326, 203, 25}, {10, 0, 0, u"", 54, 362, 51, 13},
            {10, 0, 0, u"", 219, 367, 51, 13}, {14, 0, 0, u"", 130, 443, 55, 23},
            {11, 0, 0, u"", 290, 333, 63, 16}, {11, 0, 0, u"", 453, 333, 58, 16},
            {11, 0, 0, u"", 290, 356, 143, 16}, {9, 0, 0, u"", 288, 385, 248, 119},
            {9, 0, 0, u"", 584, 330, 22, 13}, {9, 0, 0, u"", 642, 330, 39, 13},
            {9, 0, 0, u"", 707, 329, 51, 13},
        };
        for (std::size_t i = 0, p = 0; i < 15; ++i) {
            if (i == 4)
                title_.state = design[i];
            else
                plain_[p++].state = design[i];
        }
    }

    LayoutLabelSet Set()
    {
        LayoutLabelSet s;
        LayoutLabel** plain[] = {&s.le_SofewareCommendTitle, &s.le_SofewareCommend1, &s.le_SofewareCommend2,
                                 &s.le_SofewareCommend3, &s.le_AMouse, &s.le_BMouse, &s.le_Bump, &s.lb_F1,
                                 &s.lb_F2, &s.lb_ESC, &s.le_UseCommend, &s.le_CollisionTimes, &s.le_Winner,
                                 &s.le_FasterBy};
        for (std::size_t i = 0; i < 14; ++i)
            *plain[i] = &plain_[i];
        s.advle_Title = &title_;
        return s;
    }

    // By processing position (0 to 14; 4 is the title).
    [[nodiscard]] LabelState State(std::size_t i) const
    {
        return i == 4 ? title_.state : plain_[i < 4 ? i : i - 1].state;
    }
    [[nodiscard]] std::array<LabelState, 15> States() const
    {
        std::array<LabelState, 15> out;
        for (std::size_t i = 0; i < 15; ++i)
            out[i] = State(i);
        return out;
    }

private:
    std::array<FakeLabel, 14> plain_;
    FakeTitle title_;
};

// The values the default file puts on the labels, by processing position.
std::array<LabelState, 15> EnglishLayout()
{
    return {{
        {11, 64767, 0, u"No-lag Ostrell Technology", 313, 238, 192, 18},
        {10, 11776947, 0, u"For most gaming mice, the key response time is around 18ms,", 228, 257, 365, 17},
        {10, 11776947, 0, u"and the new advanced Vorla series, designed with \"Ostrell\" technology,", 190, 276, 435,
         17},
        {10, 11776947, 0,
         u"take as QUICK as ZERO delay, it assures to shoot the enemyfirst and win the game always.", 147, 294, 519,
         17},
        {10, 16448250, 10329501, u"", 33, 326, 203, 25},
        {10, 16777215, 0, u"Mouse A", 54, 367, 51, 13},
        {10, 16777215, 0, u"Mouse B", 219, 367, 51, 13},
        {14, 61951, 0, u"Bump!", 130, 443, 55, 23},
        {11, 61951, 0, u"F1: start", 290, 333, 63, 16},
        {11, 255, 0, u"F2: stop", 453, 333, 59, 16},
        {11, 61951, 0, u"ESC: exit software", 290, 356, 143, 16},
        {9, 7631988, 0,
         u"In the same computer, plug A and B two mice to USB ports. Start to bump left Key of mouse A with right "
         u"Key of mouse B as figure shows, or vice versa. The winner of key responding time will be listed on the "
         u"right table. You won't believe to see Vorla is much faster! Enjoy the benefit to win all your games!",
         288, 385, 248, 119},
        {9, 13421772, 0, u"No.", 584, 330, 22, 13},
        {9, 13421772, 0, u"Winner", 642, 330, 39, 13},
        {9, 13421772, 0, u"Faster by", 707, 329, 51, 13},
    }};
}

std::array<LabelState, 15> ChineseLayout(bool traditional)
{
    auto t = [traditional](std::u16string_view tw, std::u16string_view cn) {
        return std::u16string(traditional ? tw : cn);
    };
    return {{
        {8, 64767, 0, t(u"[Ostrell]技術，必贏先機！", u"[Ostrell]技术，必赢先机！"), 329, 242, 160, 13},
        {8, 11776947, 0, t(u"一般遊戲鼠按鍵響應速度均須延遲18毫秒，", u"一般游戏鼠按键响应速度均须延迟18毫秒，"), 287, 262,
         248, 13},
        {8, 11776947, 0,
         t(u"Vorla使用研發成功的按鍵[Ostrell]技術，把延遲消除幾乎至極限的0毫秒，",
           u"Vorla使用研发成功的按键[Ostrell]技术，把延迟消除几乎至极限的0毫秒，"),
         192, 280, 433, 13},
        {8, 11776947, 0,
         t(u"贏取全面出擊先機。使用本Ostrell測試軟體PK比較後，即可明白。",
           u"赢取全面出击先机。使用本Ostrell测试软体PK比较后，即可明白。"),
         225, 299, 368, 13},
        {10, 16448250, 10329501, t(u"Ostrell滑鼠擊發速度PK軟體", u"Ostrell滑鼠击发速度PK软体"), 33, 326, 203, 25},
        {10, 16777215, 0, t(u"A 滑鼠", u"A 鼠标"), 54, 367, 43, 16},
        {10, 16777215, 0, t(u"B 滑鼠", u"B 鼠标"), 219, 367, 43, 16},
        {14, 61951, 0, u"碰", 146, 443, 23, 23},
        {10, 61951, 0, t(u"F1鍵：開始測試", u"F1键：开始测试"), 289, 340, 119, 16},
        {10, 255, 0, t(u"F2鍵：停止測試", u"F2键：停止测试"), 427, 340, 110, 16},
        {10, 61951, 0, t(u"ESC鍵：離開測試程式", u"ESC键：离开测试程式"), 289, 362, 156, 16},
        {8, 7631988, 0,
         t(u"將 A/B 兩隻滑鼠同時插於一部計算機，將 A 鼠左鍵與 B 鼠右鍵或將 A 鼠右鍵與 B "
           u"鼠左鍵同時對碰，即可分析出按鍵點擊速度差異，Vorla遊戲系列，擁有抗按鍵老化技術，將點擊速度提昇至極限，點擊較快的"
           u"滑鼠，確定可於遊戲中贏得先發。",
           u"将A/B 两只鼠标同时插于一部计算机，将 A 鼠左键与 B 鼠右键或将 A 鼠右键与 B "
           u"鼠左键同时对碰，即可分析出按键点击速度差异，Vorla游戏系列，拥有抗按键老化技术，将点击速度提升至极限，点击较快的"
           u"鼠标，确定可于游戏中赢得先发。"),
         287, 394, 248, 103},
        {8, 13421772, 0, t(u"碰擊次數", u"碰击次数"), 563, 330, 48, 13},
        {8, 13421772, 0, t(u"較快按鍵", u"较快按键"), 637, 330, 48, 13},
        {8, 13421772, 0, t(u"較快速度", u"较快速度"), 710, 330, 48, 13},
    }};
}

// Every label as a key that was never found: font size 0, black, "@@", 0 x 0.
LabelState Defaulted() { return {0, 0, 0, u"@@", 0, 0, 0, 0}; }

void ExpectLayout(const FakeForm& form, const std::array<LabelState, 15>& expected, const std::string& context)
{
    for (std::size_t i = 0; i < 15; ++i)
        EXPECT_EQ(form.State(i), expected[i]) << context << ": " << Utf8(kOrder[i]);
}

const PortableLayoutReader& DefaultFile()
{
    static const PortableLayoutReader reader{std::filesystem::path(CPK_LAYOUT_TEXT_FILE)};
    return reader;
}

TEST(ApplyLayoutText, EveryLanguageWithTheDefaultFile)
{
    const std::pair<std::u16string_view, std::array<LabelState, 15>> cases[] = {
        {u"English", EnglishLayout()},      {u"ChineseT", ChineseLayout(true)}, {u"ChineseS", ChineseLayout(false)},
        {u"German", EnglishLayout()},       {u"FrenchF", EnglishLayout()},      {u"Italian", EnglishLayout()},
        {u"Japanese", EnglishLayout()},     {u"Korean", EnglishLayout()},       {u"Dutch", EnglishLayout()},
        {u"PortugueseP", EnglishLayout()},  {u"Russian", EnglishLayout()},      {u"Turkish", EnglishLayout()},
        {u"Spanish", EnglishLayout()},      {u"NoSuchLanguage", EnglishLayout()},
    };
    for (const auto& [language, expected] : cases) {
        FakeForm form;
        ApplyLayoutText(DefaultFile(), language, form.Set());
        ExpectLayout(form, expected, Utf8(language));
    }
}

// Records every read, to show which sections the pass consults.
class SpyReader final : public LayoutTextReader {
public:
    explicit SpyReader(const LayoutTextReader& inner) : inner_(inner) {}
    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view def) const override
    {
        reads.emplace_back(section, key);
        return inner_.ReadString(section, key, def);
    }
    mutable std::vector<std::pair<std::u16string, std::u16string>> reads;

private:
    const LayoutTextReader& inner_;
};

TEST(ApplyLayoutText, ReadsTheProbeAndThenOneSectionOnly)
{
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"ChineseS", u"ChineseS"}, {u"Japanese", u"English"}, {u"English", u"English"}};
    for (const auto& [language, used] : cases) {
        SpyReader spy(DefaultFile());
        FakeForm form;
        ApplyLayoutText(spy, language, form.Set());
        ASSERT_EQ(spy.reads.size(), 62u) << Utf8(language);
        EXPECT_EQ(spy.reads[0], std::make_pair(std::u16string(language), std::u16string(kLayoutProbeKey)));
        EXPECT_EQ(spy.reads[1], std::make_pair(std::u16string(used), std::u16string(kLayoutProbeKey)));
        for (std::size_t i = 1; i < spy.reads.size(); ++i)
            EXPECT_EQ(spy.reads[i].first, used) << Utf8(spy.reads[i].second);
    }
}

TEST(ApplyLayoutText, NoFileLeavesEveryLabelDefaulted)
{
    const PortableLayoutReader reader(std::filesystem::path("/nonexistent/Text.txt"));
    FakeForm form;
    ApplyLayoutText(reader, u"ChineseT", form.Set());
    std::array<LabelState, 15> expected;
    expected.fill(Defaulted());
    ExpectLayout(form, expected, "no file");
}

// [German] with every key of le_Bump filled, the probe as given, and an
// [English] section of its own.
std::u16string ProbeFile(std::u16string_view probeLine)
{
    return u"[English]\r\nle_SofewareCommendTitle->Font->Size=11\r\nle_Bump->Caption=Bump!\r\n"
           u"[German]\r\n" +
           std::u16string(probeLine) +
           u"\r\nle_Bump->Font->Size=14\r\nle_Bump->Font->Color=RGB,1,2,3\r\n"
           u"le_Bump->Caption=Stoß!\r\nle_Bump->Position=rectWH,1,2,3,4\r\n";
}

TEST(ApplyLayoutText, ProbeDecidesTheSection)
{
    struct Case {
        std::u16string_view probeLine;
        bool germanUsed;
        std::int32_t firstFontSize;
    } const cases[] = {
        {u"le_SofewareCommendTitle->Font->Size=0", false, 11},
        {u"le_SofewareCommendTitle->Font->Size=  0  ", false, 11},  // delivered as "0"
        {u"le_SofewareCommendTitle->Font->Size=\"0\"", false, 11},
        {u"LE_SOFEWARECOMMENDTITLE->FONT->SIZE=0", false, 11},
        {u"", false, 11},  // no probe key at all
        {u"le_SofewareCommendTitle->Font->Size=00", true, 0},
        {u"le_SofewareCommendTitle->Font->Size=9", true, 9},
        {u"le_SofewareCommendTitle->Font->Size=+0", true, 0},
    };
    for (const Case& c : cases) {
        const auto reader = PortableLayoutReader::FromText(ProbeFile(c.probeLine));
        FakeForm form;
        ApplyLayoutText(reader, u"German", form.Set());
        const std::string context = Utf8(c.probeLine);
        EXPECT_EQ(form.State(0).fontSize, c.firstFontSize) << context;
        const LabelState bump = c.germanUsed ? LabelState{14, 0x030201, 0, u"Stoß!", 1, 2, 3, 4}
                                             : LabelState{0, 0, 0, u"Bump!", 0, 0, 0, 0};
        EXPECT_EQ(form.State(7), bump) << context;
    }
}

// A filled probe and nothing else: the section is used, and every other value
// is its default; [English] is not consulted key by key.
TEST(ApplyLayoutText, FilledProbeWithMissingKeysGivesDefaults)
{
    const auto reader = PortableLayoutReader::FromText(
        u"[Korean]\r\nle_SofewareCommendTitle->Font->Size=12\r\n[English]\r\nle_Bump->Caption=Bump!\r\n");
    FakeForm form;
    ApplyLayoutText(reader, u"Korean", form.Set());
    std::array<LabelState, 15> expected;
    expected.fill(Defaulted());
    expected[0].fontSize = 12;
    ExpectLayout(form, expected, "Korean");
}

TEST(ApplyLayoutText, PositionsAreAppliedAsComputed)
{
    struct Case {
        std::u16string_view position;
        std::int32_t left, top, width, height;
    } const cases[] = {
        {u"rectP,10,20,9,19", 10, 20, 0, 0},
        {u"rectP,10,20,0,0", 10, 20, -9, -19},
        {u"rectWH,5,6,-3,-4", 5, 6, -3, -4},
        {u"circle,1,2,3,4", 0, 0, 1, 1},  // unknown keyword: (0, 0, 0, 0), one pixel at the corner
        {u"rectP,-2147483648,0,2147483647,0", INT32_MIN, 0, 0, 1},  // the width wraps, nothing overflows
    };
    for (const Case& c : cases) {
        const auto reader = PortableLayoutReader::FromText(u"[English]\r\nle_Winner->Position=" +
                                                           std::u16string(c.position) + u"\r\n");
        FakeForm form;
        ApplyLayoutText(reader, u"English", form.Set());
        const LabelState s = form.State(13);
        EXPECT_EQ((std::array{s.left, s.top, s.width, s.height}), (std::array{c.left, c.top, c.width, c.height}))
            << Utf8(c.position);
    }
}

// The label as it stands when the pass stopped after `applied` of its
// properties (in key order) had been set.
LabelState PartlyApplied(const LabelState& laidOut, const LabelState& design, int applied, bool title)
{
    LabelState s = design;
    int n = 0;
    if (n++ < applied)
        s.fontSize = laidOut.fontSize;
    if (n++ < applied)
        s.color = laidOut.color;
    if (title && n++ < applied)
        s.colorEnd = laidOut.colorEnd;
    if (n++ < applied)
        s.caption = laidOut.caption;
    return s;  // the bounds come last and are never half applied
}

// A malformed number ends the pass at its key: what came before keeps its new
// values, the rest keeps the design values.
TEST(ApplyLayoutText, ConversionErrorStopsAtItsKey)
{
    struct Case {
        std::u16string_view key, value, failing;
        std::size_t stoppedAt;  // processing position of the label whose key failed
        int applied;            // properties of that label set before the failing one
    } const cases[] = {
        {u"lb_F1->Font->Size", u"12pt", u"12pt", 8, 0},
        {u"le_SofewareCommendTitle->Font->Size", u"1 2", u"1 2", 0, 0},
        {u"le_Bump->Font->Color", u"RGB,255,0", u"", 7, 1},
        {u"advle_Title->Caption->ColorEnd", u"rgb,1,2,three", u"three", 4, 2},
        {u"advle_Title->Position", u"rectP,1,2,3", u"", 4, 4},
        {u"le_FasterBy->Position", u"rectWH,1,2,3,x", u"x", 14, 3},
    };
    for (const Case& c : cases) {
        // The default file, with the one key answered by the malformed value.
        class Override final : public LayoutTextReader {
        public:
            explicit Override(const Case& c) : c_(c) {}
            std::u16string ReadString(std::u16string_view s, std::u16string_view k,
                                      std::u16string_view d) const override
            {
                return k == c_.key ? std::u16string(c_.value) : DefaultFile().ReadString(s, k, d);
            }

        private:
            const Case& c_;
        } reader(c);

        FakeForm form;
        const auto design = form.States();
        const std::string context = Utf8(c.key);
        try {
            ApplyLayoutText(reader, u"English", form.Set());
            ADD_FAILURE() << "no error: " << context;
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.Message(), u"''" + std::u16string(c.failing) + u"'' is not a valid integer value") << context;
        }
        const auto english = EnglishLayout();
        for (std::size_t i = 0; i < 15; ++i) {
            const LabelState expected = i < c.stoppedAt    ? english[i]
                                        : i > c.stoppedAt ? design[i]
                                                          : PartlyApplied(english[i], design[i], c.applied, i == 4);
            EXPECT_EQ(form.State(i), expected) << context << ": " << Utf8(kOrder[i]);
        }
    }
}

TEST(ApplyLayoutText, MissingLabelsStillHaveTheirKeysChecked)
{
    const auto reader = PortableLayoutReader::FromText(u"[English]\r\nle_Bump->Font->Size=big\r\n");
    LayoutLabelSet none;
    EXPECT_THROW(ApplyLayoutText(reader, u"English", none), ConversionError);
}

}  // namespace
}  // namespace cpk
