// Value parsers of the layout text: the field splitter, colours, rectangles
// and the integer conversion. They keep no state and touch nothing but their
// arguments, so they are shared by the layout pass and any front end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace cpk {

using TColor = std::uint32_t;  // 0x00BBGGRR, red in the low byte

// Right and bottom are inclusive: width = Right - Left + 1.
struct LayoutRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// Raised by the integer conversion. Message() is the text shown to the user:
// "''<text>'' is not a valid integer value".
class ConversionError : public std::exception {
public:
    explicit ConversionError(std::u16string_view failingText);
    [[nodiscard]] const std::u16string& Message() const noexcept { return message_; }
    [[nodiscard]] const std::u16string& FailingText() const noexcept { return text_; }
    [[nodiscard]] const char* what() const noexcept override { return "not a valid integer value"; }

private:
    std::u16string text_;
    std::u16string message_;
};

// Field `index` (from 0) of `value` split at `delimiter`, with characters of
// code U+0020 or below removed at both ends; the empty text when there is no
// such field.
[[nodiscard]] std::u16string ExtractField(std::u16string_view value, char16_t delimiter, std::size_t index);

// Decimal, or hexadecimal after "$", "x" or "0x" (either case), with an
// optional sign; nothing else, not even blanks. Decimal numbers must fit the
// 32-bit signed range; hexadecimal ones may use all 32 bits and read as two's
// complement ("$FFFFFFFF" is -1), a longer one is an error. Throws
// ConversionError.
[[nodiscard]] std::int32_t StrToInt(std::u16string_view text);

// "rgb,r,g,b" in any letter case -> b * 65536 + g * 256 + r, each component
// taken modulo 256. Another keyword gives 0 without error; a bad component
// throws ConversionError.
[[nodiscard]] TColor StrToColor(std::u16string_view value);

// "rectp,left,top,right,bottom" or "rectwh,left,top,width,height" in any
// letter case. Another keyword gives (0, 0, 0, 0) without error; a bad number
// throws ConversionError. Right and bottom of "rectwh" wrap modulo 2^32 like
// the 32-bit arithmetic they stand for, so width and height always come back
// exactly as written.
[[nodiscard]] LayoutRect StrToRect(std::u16string_view value);

// Width and height of a rectangle with inclusive right and bottom, with the
// same wrap-around as StrToRect, so no value can overflow.
[[nodiscard]] std::int32_t InclusiveExtent(std::int32_t low, std::int32_t high);

}  // namespace cpk
