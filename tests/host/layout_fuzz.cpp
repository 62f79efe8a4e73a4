// Fuzz entry for the layout text reader, the value parsers and the layout
// pass. Built as a libFuzzer target with clang (layout_fuzzer), and linked
// into the host tests, which replay the seed corpus through it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "layout_pass.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool IsTrimmed(std::u16string_view s) { return s.empty() || (s.front() > u' ' && s.back() > u' '); }

class CheckedLabel final : public cpk::LayoutLabel, public cpk::LayoutGradientLabel {
public:
    void SetFontSize(std::int32_t) override {}
    void SetFontColor(cpk::TColor color) override { Check(color <= 0xFFFFFFu); }
    void SetCaption(std::u16string_view caption) override { Check(caption.size() <= cpk::kMaxLayoutValue); }
    void SetBounds(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void SetCaptionFontSize(std::int32_t) override {}
    void SetCaptionColorStart(cpk::TColor color) override { Check(color <= 0xFFFFFFu); }
    void SetCaptionColorEnd(cpk::TColor color) override { Check(color <= 0xFFFFFFu); }
    void SetCaptionText(std::u16string_view text) override { Check(text.size() <= cpk::kMaxLayoutValue); }
};

void ParseValue(std::u16string_view value)
{
    try {
        (void)cpk::StrToInt(value);
    } catch (const cpk::ConversionError& e) {
        Check(e.FailingText() == value);
    }
    try {
        Check(cpk::StrToColor(value) <= 0xFFFFFFu);
    } catch (const cpk::ConversionError&) {
    }
    try {
        (void)cpk::StrToRect(value);
    } catch (const cpk::ConversionError&) {
    }
    for (std::size_t i = 0; i < 6; ++i)
        Check(IsTrimmed(cpk::ExtractField(value, u',', i)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const char16_t* const kLanguages[] = {u"English", u"ChineseT", u"ChineseS", u"German", u"FrenchF",
                                                 u"Italian", u"Japanese", u"Korean", u"Dutch", u"PortugueseP",
                                                 u"Russian", u"Turkish", u"Spanish", u"Klingon"};
    if (size == 0)
        return 0;
    const std::u16string_view language = kLanguages[data[0] % 14];
    const std::vector<unsigned char> bytes(data + 1, data + size);

    const std::u16string text = cpk::DecodeLayoutText(bytes);
    const auto reader = cpk::PortableLayoutReader::FromText(text);

    // Every line's value through the parsers, and through the reader by its key.
    std::size_t start = 0;
    for (int lines = 0; start < text.size() && lines < 64; ++lines) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos)
            end = text.size();
        const std::u16string_view line = std::u16string_view(text).substr(start, end - start);
        ParseValue(line);
        const std::size_t eq = line.find(u'=');
        if (eq != std::u16string_view::npos) {
            const std::u16string read = reader.ReadString(language, line.substr(0, eq), u"\x01");
            Check(read.size() <= cpk::kMaxLayoutValue);
            ParseValue(read);
        }
        start = end + 1;
    }

    CheckedLabel label;
    cpk::LayoutLabelSet set;
    set.le_SofewareCommendTitle = set.le_SofewareCommend1 = set.le_SofewareCommend2 = set.le_SofewareCommend3 =
        set.le_AMouse = set.le_BMouse = set.le_Bump = set.lb_F1 = set.lb_F2 = set.lb_ESC = set.le_UseCommend =
            set.le_CollisionTimes = set.le_Winner = set.le_FasterBy = &label;
    set.advle_Title = &label;
    try {
        cpk::ApplyLayoutText(reader, language, set);
    } catch (const cpk::ConversionError&) {
    }
    return 0;
}
