#include "layout_pass.h"

namespace cpk {

namespace {

struct PlainEntry {
    std::u16string_view name;
    LayoutLabel* LayoutLabelSet::*member;
};

// Processing order; advle_Title comes fifth.
constexpr PlainEntry kBeforeTitle[] = {
    {u"le_SofewareCommendTitle", &LayoutLabelSet::le_SofewareCommendTitle},
    {u"le_SofewareCommend1", &LayoutLabelSet::le_SofewareCommend1},
    {u"le_SofewareCommend2", &LayoutLabelSet::le_SofewareCommend2},
    {u"le_SofewareCommend3", &LayoutLabelSet::le_SofewareCommend3},
};
constexpr PlainEntry kAfterTitle[] = {
    {u"le_AMouse", &LayoutLabelSet::le_AMouse},
    {u"le_BMouse", &LayoutLabelSet::le_BMouse},
    {u"le_Bump", &LayoutLabelSet::le_Bump},
    {u"lb_F1", &LayoutLabelSet::lb_F1},
    {u"lb_F2", &LayoutLabelSet::lb_F2},
    {u"lb_ESC", &LayoutLabelSet::lb_ESC},
    {u"le_UseCommend", &LayoutLabelSet::le_UseCommend},
    {u"le_CollisionTimes", &LayoutLabelSet::le_CollisionTimes},
    {u"le_Winner", &LayoutLabelSet::le_Winner},
    {u"le_FasterBy", &LayoutLabelSet::le_FasterBy},
};

constexpr std::u16string_view kSizeDefault = u"0";
constexpr std::u16string_view kColorDefault = u"0";
constexpr std::u16string_view kCaptionDefault = u"@@";
constexpr std::u16string_view kPositionDefault = u"rectWH,0,0,0,0";

class SectionReader {
public:
    SectionReader(const LayoutTextReader& reader, std::u16string section)
        : reader_(reader), section_(std::move(section))
    {
    }
    std::u16string Read(std::u16string_view label, std::u16string_view path, std::u16string_view defaultValue) const
    {
        std::u16string key(label);
        key += path;
        return reader_.ReadString(section_, key, defaultValue);
    }

private:
    const LayoutTextReader& reader_;
    std::u16string section_;
};

struct Bounds {
    std::int32_t left, top, width, height;
};

Bounds ToBounds(const LayoutRect& r)
{
    return {r.Left, r.Top, InclusiveExtent(r.Left, r.Right), InclusiveExtent(r.Top, r.Bottom)};
}

void ApplyPlain(const SectionReader& in, std::u16string_view name, LayoutLabel* label)
{
    const std::int32_t size = StrToInt(in.Read(name, u"->Font->Size", kSizeDefault));
    if (label)
        label->SetFontSize(size);
    const TColor color = StrToColor(in.Read(name, u"->Font->Color", kColorDefault));
    if (label)
        label->SetFontColor(color);
    const std::u16string caption = in.Read(name, u"->Caption", kCaptionDefault);
    if (label)
        label->SetCaption(caption);
    const Bounds b = ToBounds(StrToRect(in.Read(name, u"->Position", kPositionDefault)));
    if (label)
        label->SetBounds(b.left, b.top, b.width, b.height);
}

void ApplyTitle(const SectionReader& in, LayoutGradientLabel* label)
{
    constexpr std::u16string_view name = u"advle_Title";
    const std::int32_t size = StrToInt(in.Read(name, u"->Caption->Font->Size", kSizeDefault));
    if (label)
        label->SetCaptionFontSize(size);
    const TColor start = StrToColor(in.Read(name, u"->Caption->ColorStart", kColorDefault));
    if (label)
        label->SetCaptionColorStart(start);
    const TColor end = StrToColor(in.Read(name, u"->Caption->ColorEnd", kColorDefault));
    if (label)
        label->SetCaptionColorEnd(end);
    const std::u16string text = in.Read(name, u"->Caption->Text", kCaptionDefault);
    if (label)
        label->SetCaptionText(text);
    const Bounds b = ToBounds(StrToRect(in.Read(name, u"->Position", kPositionDefault)));
    if (label)
        label->SetBounds(b.left, b.top, b.width, b.height);
}

}  // namespace

std::u16string ChooseLayoutSection(const LayoutTextReader& reader, std::u16string_view languageName)
{
    if (reader.ReadString(languageName, kLayoutProbeKey, u"0") == u"0")
        return std::u16string(kLayoutFallbackSection);
    return std::u16string(languageName);
}

void ApplyLayoutText(const LayoutTextReader& reader, std::u16string_view languageName, const LayoutLabelSet& labels)
{
    const SectionReader in(reader, ChooseLayoutSection(reader, languageName));
    for (const PlainEntry& e : kBeforeTitle)
        ApplyPlain(in, e.name, labels.*e.member);
    ApplyTitle(in, labels.advle_Title);
    for (const PlainEntry& e : kAfterTitle)
        ApplyPlain(in, e.name, labels.*e.member);
}

}  // namespace cpk
