#include "value_parsers.h"

namespace cpk {

namespace {

constexpr bool IsTrimmed(char16_t c) { return c <= u' '; }

std::u16string_view Trim(std::u16string_view s)
{
    while (!s.empty() && IsTrimmed(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsTrimmed(s.back()))
        s.remove_suffix(1);
    return s;
}

// Letters A to Z only: the keywords are ASCII, and a failing field is quoted
// in the error as the parser saw it.
std::u16string LowerAscii(std::u16string_view s)
{
    std::u16string out(s);
    for (char16_t& c : out)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return out;
}

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Two's-complement wrap-around without signed overflow.
std::int32_t Wrap(std::uint32_t v) { return static_cast<std::int32_t>(v); }
std::uint32_t Bits(std::int32_t v) { return static_cast<std::uint32_t>(v); }

std::int32_t FieldToInt(std::u16string_view lowered, std::size_t index)
{
    return StrToInt(ExtractField(lowered, u',', index));
}

}  // namespace

ConversionError::ConversionError(std::u16string_view failingText)
    : text_(failingText), message_(u"''" + text_ + u"'' is not a valid integer value")
{
}

std::u16string ExtractField(std::u16string_view value, char16_t delimiter, std::size_t index)
{
    std::size_t start = 0;
    for (std::size_t n = 0; n < index; ++n) {
        const std::size_t next = value.find(delimiter, start);
        if (next == std::u16string_view::npos)
            return {};
        start = next + 1;
    }
    if (value.empty())
        return {};
    const std::size_t end = value.find(delimiter, start);
    return std::u16string(Trim(value.substr(start, end == std::u16string_view::npos ? end : end - start)));
}

std::int32_t StrToInt(std::u16string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i == n)
        throw ConversionError(text);

    std::uint64_t magnitude = 0;
    if (hex) {
        for (; i < n; ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0)
                throw ConversionError(text);
            magnitude = magnitude * 16 + static_cast<unsigned>(d);
            if (magnitude > 0xFFFFFFFFu)
                throw ConversionError(text);
        }
        const auto bits = static_cast<std::uint32_t>(magnitude);
        return Wrap(negative ? 0u - bits : bits);
    }
    for (; i < n; ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            throw ConversionError(text);
        magnitude = magnitude * 10 + static_cast<unsigned>(text[i] - u'0');
        if (magnitude > (negative ? 2147483648u : 2147483647u))
            throw ConversionError(text);
    }
    const auto bits = static_cast<std::uint32_t>(magnitude);
    return Wrap(negative ? 0u - bits : bits);
}

TColor StrToColor(std::u16string_view value)
{
    const std::u16string lowered = LowerAscii(Trim(value));
    if (ExtractField(lowered, u',', 0) != u"rgb")
        return 0;
    const std::uint32_t r = Bits(FieldToInt(lowered, 1)) & 0xFFu;
    const std::uint32_t g = Bits(FieldToInt(lowered, 2)) & 0xFFu;
    const std::uint32_t b = Bits(FieldToInt(lowered, 3)) & 0xFFu;
    return b * 65536u + g * 256u + r;
}

LayoutRect StrToRect(std::u16string_view value)
{
    const std::u16string lowered = LowerAscii(Trim(value));
    const std::u16string keyword = ExtractField(lowered, u',', 0);
    LayoutRect rect;
    if (keyword == u"rectp") {
        rect.Left = FieldToInt(lowered, 1);
        rect.Top = FieldToInt(lowered, 2);
        rect.Right = FieldToInt(lowered, 3);
        rect.Bottom = FieldToInt(lowered, 4);
    } else if (keyword == u"rectwh") {
        rect.Left = FieldToInt(lowered, 1);
        rect.Top = FieldToInt(lowered, 2);
        rect.Right = Wrap(Bits(FieldToInt(lowered, 3)) + Bits(rect.Left) - 1u);
        rect.Bottom = Wrap(Bits(FieldToInt(lowered, 4)) + Bits(rect.Top) - 1u);
    }
    return rect;
}

std::int32_t InclusiveExtent(std::int32_t low, std::int32_t high)
{
    return Wrap(Bits(high) - Bits(low) + 1u);
}

}  // namespace cpk
