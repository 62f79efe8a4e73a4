#include "layout_reader.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace cpk {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// The blanks the system service trims: space, tab, the line and page breaks,
// and ^Z (a DOS end-of-file mark). Other control characters stay.
constexpr bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A; }

std::u16string_view Trim(std::u16string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// A buffer-based service sees a name or value only up to an embedded U+0000.
std::u16string_view UpToNul(std::u16string_view s)
{
    const std::size_t nul = s.find(u'\0');
    return nul == std::u16string_view::npos ? s : s.substr(0, nul);
}

constexpr char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    return true;
}

std::u16string DecodeUtf16(const std::vector<unsigned char>& bytes, std::size_t start, bool bigEndian)
{
    std::u16string out;
    out.reserve((bytes.size() - start) / 2 + 1);
    std::size_t i = start;
    for (; i + 1 < bytes.size(); i += 2) {
        const unsigned lo = bigEndian ? bytes[i + 1] : bytes[i];
        const unsigned hi = bigEndian ? bytes[i] : bytes[i + 1];
        out.push_back(static_cast<char16_t>(hi << 8 | lo));
    }
    if (i < bytes.size())
        out.push_back(kReplacement);
    return out;
}

void AppendCodePoint(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Each byte that does not start a well-formed sequence becomes one U+FFFD.
std::u16string DecodeUtf8(const std::vector<unsigned char>& bytes, std::size_t start)
{
    std::u16string out;
    out.reserve(bytes.size() - start);
    std::size_t i = start;
    while (i < bytes.size()) {
        const unsigned char b = bytes[i];
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if ((b & 0xE0) == 0xC0) {
            length = 2, cp = b & 0x1F, minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3, cp = b & 0x0F, minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4, cp = b & 0x07, minimum = 0x10000;
        }
        bool ok = length != 0 && i + length <= bytes.size();
        for (std::size_t k = 1; ok && k < length; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                cp = cp << 6 | (bytes[i + k] & 0x3F);
        }
        if (ok && (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        AppendCodePoint(out, cp);
        i += length;
    }
    return out;
}

}  // namespace

std::u16string DecodeLayoutText(const std::vector<unsigned char>& bytes, TextEncoding* detected)
{
    TextEncoding encoding = TextEncoding::Utf8;
    std::size_t start = 0;
    const std::size_t n = bytes.size();
    if (n >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        encoding = TextEncoding::Utf16Le, start = 2;
    } else if (n >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        encoding = TextEncoding::Utf16Be, start = 2;
    } else if (n >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        encoding = TextEncoding::Utf8, start = 3;
    } else {
        // No mark: an editor's UTF-16 shows as a zero in every other byte,
        // since the keys, numbers and line ends are ASCII.
        std::size_t evenZeros = 0, oddZeros = 0;
        const std::size_t sample = n < 4096 ? n : 4096;
        for (std::size_t i = 0; i < sample; ++i)
            if (bytes[i] == 0)
                ++(i % 2 ? oddZeros : evenZeros);
        const std::size_t pairs = sample / 2;
        if (pairs > 0 && oddZeros * 2 > pairs && evenZeros * 4 < oddZeros)
            encoding = TextEncoding::Utf16Le;
        else if (pairs > 0 && evenZeros * 2 > pairs && oddZeros * 4 < evenZeros)
            encoding = TextEncoding::Utf16Be;
    }
    if (detected)
        *detected = encoding;
    return encoding == TextEncoding::Utf8 ? DecodeUtf8(bytes, start)
                                          : DecodeUtf16(bytes, start, encoding == TextEncoding::Utf16Be);
}

PortableLayoutReader::PortableLayoutReader(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return;
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Parse(DecodeLayoutText(bytes));
}

PortableLayoutReader PortableLayoutReader::FromBytes(const std::vector<unsigned char>& bytes)
{
    PortableLayoutReader reader;
    reader.Parse(DecodeLayoutText(bytes));
    return reader;
}

PortableLayoutReader PortableLayoutReader::FromText(std::u16string_view text)
{
    PortableLayoutReader reader;
    reader.Parse(text);
    return reader;
}

// Lines end at CR LF, LF or a lone CR. A line whose first non-blank character
// is "[" and that holds a "]" opens a section named by the trimmed text
// between the "[" and the last "]"; any other non-blank line is an entry, its
// key before the first "=" (a line without "=" is a key without a value,
// which reads as missing). Lines before the first section form a section
// with the empty name, as the system service has it.
void PortableLayoutReader::Parse(std::u16string_view text)
{
    sections_.push_back(Section{});
    Section* current = &sections_.back();
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", pos);
        if (end == std::u16string_view::npos)
            end = text.size();
        const std::u16string_view line = Trim(text.substr(pos, end - pos));
        pos = end;
        if (pos < text.size() && text[pos] == u'\r')
            ++pos;
        if (pos < text.size() && text[pos] == u'\n')
            ++pos;

        if (line.empty())
            continue;
        if (line.front() == u'[') {
            const std::size_t close = line.rfind(u']');
            if (close != std::u16string_view::npos) {
                sections_.push_back(Section{std::u16string(UpToNul(Trim(line.substr(1, close - 1)))), {}});
                current = &sections_.back();
                continue;
            }
        }
        Entry entry;
        const std::size_t equals = line.find(u'=');
        if (equals == std::u16string_view::npos) {
            entry.key = UpToNul(line);
        } else {
            entry.key = UpToNul(Trim(line.substr(0, equals)));
            entry.value = UpToNul(Trim(line.substr(equals + 1)));
            entry.hasValue = true;
        }
        current->entries.push_back(std::move(entry));
    }
}

namespace {

std::u16string_view WithoutEnclosingQuotes(std::u16string_view value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The service drops trailing spaces from the default (keeping its first
// character) and then a pair of enclosing quotes, as it does for values.
std::u16string Default(std::u16string_view value)
{
    while (value.size() > 1 && value.back() == u' ')
        value.remove_suffix(1);
    value = WithoutEnclosingQuotes(UpToNul(value));
    return std::u16string(value.substr(0, std::min(value.size(), kMaxLayoutValue)));
}

}  // namespace

// The first section of the name is the one read, and in it the first entry
// of the key, as the system service does.
std::u16string PortableLayoutReader::ReadString(std::u16string_view section, std::u16string_view key,
                                                std::u16string_view defaultValue) const
{
    section = Trim(section);
    key = Trim(key);
    for (const Section& s : sections_) {
        if (!EqualsIgnoringCase(s.name, section))
            continue;
        for (const Entry& e : s.entries) {
            if (!EqualsIgnoringCase(e.key, key))
                continue;
            if (!e.hasValue)
                break;
            std::u16string_view value = WithoutEnclosingQuotes(e.value);
            if (value.size() > kMaxLayoutValue)
                value = value.substr(0, kMaxLayoutValue);
            return std::u16string(value);
        }
        break;
    }
    return Default(defaultValue);
}

}  // namespace cpk
