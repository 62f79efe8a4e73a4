// The portable layout text reader held against the system's profile-string
// service on a table of files and keys. Every difference that is kept is
// listed in kKnownDifferences with both answers; any other difference fails.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "layout_reader.h"
#include "profile_reader.h"

namespace cpk {
namespace {

std::string Narrow(std::u16string_view s)
{
    std::string out;
    for (char16_t c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char buf[12];
            snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}

std::vector<unsigned char> Utf16(std::u16string_view text, bool bigEndian)
{
    std::vector<unsigned char> out = bigEndian ? std::vector<unsigned char>{0xFE, 0xFF}
                                               : std::vector<unsigned char>{0xFF, 0xFE};
    for (char16_t c : text) {
        const auto lo = static_cast<unsigned char>(c & 0xFF), hi = static_cast<unsigned char>(c >> 8);
        out.push_back(bigEndian ? hi : lo);
        out.push_back(bigEndian ? lo : hi);
    }
    return out;
}

std::vector<unsigned char> Utf8(std::u16string_view text, bool mark)
{
    std::vector<unsigned char> out;
    if (mark)
        out = {0xEF, 0xBB, 0xBF};
    for (char16_t c : text) {  // the texts below hold no surrogates
        if (c < 0x80) {
            out.push_back(static_cast<unsigned char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<unsigned char>(0xC0 | c >> 6));
            out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<unsigned char>(0xE0 | c >> 12));
            out.push_back(static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<unsigned char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::u16string WithLineEnds(std::u16string_view crlfText, std::u16string_view end)
{
    std::u16string out;
    for (std::size_t i = 0; i < crlfText.size(); ++i) {
        if (crlfText.compare(i, 2, u"\r\n") == 0) {
            out += end;
            ++i;
        } else {
            out += crlfText[i];
        }
    }
    return out;
}

const std::u16string kRules =
    u"stray=before any section\r\n"
    u"[English]\r\n"
    u"Plain=value\r\n"
    u"  Padded  =   inner  blanks stay   \r\n"
    u"Double=\"quoted value\"\r\n"
    u"Single='quoted value'\r\n"
    u"QuotedBlanks=\"  kept  \"\r\n"
    u"Inner=and the \"Ostrell\" technology,\r\n"
    u"Mixed=\"not a pair'\r\n"
    u"Lone=\"\r\n"
    u"EmptyQuotes=\"\"\r\n"
    u"Twice=\"\"x\"\"\r\n"
    u"Empty=\r\n"
    u"Blank= \r\n"
    u"Tabs=\t \t\r\n"
    u"NoEquals\r\n"
    u"Equals=a=b\r\n"
    u"Dup=first\r\n"
    u"dup=second\r\n"
    u"Ideographic=\u3000x\u3000\r\n"
    u"NoBreak=\u00A0y\u00A0\r\n"
    u"Control=\x01z\x01\r\n"
    u"CtrlZ=\x1Az\x1A\r\n"
    u"Caption=[Ostrell]技術，必贏先機！\r\n"
    u"\r\n"
    u"   \r\n"
    u"[ChineseT]\r\n"
    u"Plain=碰\r\n"
    u"[Empty]\r\n"
    u"[english]\r\n"
    u"Late=from the second English section\r\n"
    u"[ Spaced ]\r\n"
    u"k=v\r\n"
    u"[Bracket]]\r\n"
    u"k=last bracket closes\r\n"
    u"[Unclosed\r\n"
    u"k2=after an unclosed header\r\n"
    u"  [Indented]\r\n"
    u"k=indented header\r\n"
    u"[Tail] trailing text\r\n"
    u"k=after a header with trailing text\r\n"
    u"[Comments]\r\n"
    u";k=commented out\r\n"
    u"#k=hash\r\n"
    u"k=real\r\n"
    u"[Last]\r\n"
    u"NoBreak=at the end";

std::u16string LongValues()
{
    std::u16string longValue(3000, u'x');
    for (std::size_t i = 0; i < longValue.size(); ++i)
        longValue[i] = static_cast<char16_t>(u'a' + i % 26);
    const std::u16string exact(kMaxLayoutValue, u'e');
    return u"[S]\r\nLong=" + longValue + u"\r\nExact=" + exact + u"\r\nQuoted=\"" + exact + u"\"\r\nQuotedShort=\"" +
           exact.substr(1) + u"\"\r\nOneMore=" + exact + u"z\r\nAfter=ok";
}

struct File {
    const char* name;
    std::vector<unsigned char> bytes;
};

// The build's path is a host path; Wine reaches it through drive Z:.
std::wstring DefaultFile()
{
    std::wstring path = L"Z:";
    for (const char* p = CPK_LAYOUT_TEXT_FILE; *p; ++p)
        path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
    return path;
}

std::vector<File> Files()
{
    std::vector<File> files = {
        {"rules, UTF-16 LE", Utf16(kRules, false)},
        {"rules, UTF-16 LE, LF", Utf16(WithLineEnds(kRules, u"\n"), false)},
        {"rules, UTF-16 LE, CR", Utf16(WithLineEnds(kRules, u"\r"), false)},
        {"rules, UTF-16 BE", Utf16(kRules, true)},
        {"rules, UTF-8 with mark", Utf8(kRules, true)},
        {"rules, UTF-8 without mark", Utf8(kRules, false)},
        {"long values", Utf16(LongValues(), false)},
        {"empty file", {}},
        {"mark only", {0xFF, 0xFE}},
    };
    std::ifstream in(std::filesystem::path(DefaultFile()), std::ios::binary);
    files.push_back({"default file", {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}});
    return files;
}

struct Query {
    std::u16string_view section, key, def;
};

const Query kQueries[] = {
    {u"English", u"Plain", u"d"},
    {u"ENGLISH", u"pLAIN", u"d"},
    {u" English ", u" Plain ", u"d"},
    {u"English", u"Padded", u"d"},
    {u"English", u"Double", u"d"},
    {u"English", u"Single", u"d"},
    {u"English", u"QuotedBlanks", u"d"},
    {u"English", u"Inner", u"d"},
    {u"English", u"Mixed", u"d"},
    {u"English", u"Lone", u"d"},
    {u"English", u"EmptyQuotes", u"d"},
    {u"English", u"Twice", u"d"},
    {u"English", u"Empty", u"d"},
    {u"English", u"Blank", u"d"},
    {u"English", u"Tabs", u"d"},
    {u"English", u"NoEquals", u"d"},
    {u"English", u"Equals", u"d"},
    {u"English", u"DUP", u"d"},
    {u"English", u"Ideographic", u"d"},
    {u"English", u"NoBreak", u"d"},
    {u"English", u"Control", u"d"},
    {u"English", u"CtrlZ", u"d"},
    {u"English", u"Caption", u"d"},
    {u"English", u"Missing", u"the default"},
    {u"English", u"Missing", u""},
    {u"English", u"Missing", u"trailing  "},
    {u"English", u"Missing", u"\"quoted\""},
    {u"English", u"Missing", u"'quoted'  "},
    {u"English", u"Missing", u"   "},
    {u"English", u"Missing", u"\""},
    {u"English", u"Missing", u"a\" "},
    {u"English", u"Late", u"d"},
    {u"English", u"stray", u"d"},
    {u"", u"stray", u"d"},
    {u"ChineseT", u"Plain", u"d"},
    {u"Empty", u"Plain", u"d"},
    {u"Japanese", u"Plain", u"d"},
    {u"Spaced", u"k", u"d"},
    {u" Spaced ", u"k", u"d"},
    {u"Bracket]", u"k", u"d"},
    {u"Bracket]", u"k2", u"d"},
    {u"Bracket]", u"[Unclosed", u"d"},
    {u"Unclosed", u"k2", u"d"},
    {u"Indented", u"k", u"d"},
    {u"Tail", u"k", u"d"},
    {u"Comments", u"k", u"d"},
    {u"Comments", u";k", u"d"},
    {u"Last", u"NoBreak", u"d"},
    {u"S", u"Long", u""},
    {u"S", u"Exact", u""},
    {u"S", u"Quoted", u""},
    {u"S", u"QuotedShort", u""},
    {u"S", u"OneMore", u""},
    {u"S", u"After", u""},
    {u"English", u"le_SofewareCommendTitle->Font->Size", u"0"},
    {u"English", u"advle_Title->Caption->Text", u"@@"},
    {u"English", u"le_SofewareCommend2->Caption", u"@@"},
    {u"ChineseS", u"le_UseCommend->Caption", u"@@"},
    {u"Japanese", u"le_SofewareCommendTitle->Font->Size", u"0"},
};

// A difference kept on purpose: file, query, what the portable reader gives
// and what the service under test gives.
struct Difference {
    std::string_view file;
    std::u16string_view section, key;
    std::u16string portable, service;
};

const std::vector<Difference> kKnownDifferences = {
    // A value of exactly 2,047 characters in quotes: the portable reader drops
    // the quotes and delivers all 2,047; the service cuts the quoted text to
    // the buffer first and then drops one character too many.
    {"long values", u"S", u"Quoted", std::u16string(kMaxLayoutValue, u'e'),
     std::u16string(kMaxLayoutValue - 1, u'e')},
};

// A UTF-8 file without a mark: the portable reader takes it as UTF-8, the
// service as text in the system's code page, so every non-ASCII value reads
// as the code page's decoding of its UTF-8 bytes.
constexpr std::string_view kUnmarkedUtf8 = "rules, UTF-8 without mark";

std::u16string AsCodePageText(std::u16string_view value)
{
    const std::vector<unsigned char> bytes = Utf8(value, false);
    if (bytes.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes.data()),
                                      static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string out(static_cast<std::size_t>(n), u'\0');
    MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()),
                        reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
}

std::wstring TempFile(const char* name)
{
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + L"cpk_layout_";
    for (const char* p = name; *p; ++p)
        path += (*p == ' ' || *p == ',') ? L'_' : static_cast<wchar_t>(*p);
    return path + L".txt";
}

TEST(PortableReaderAgainstProfileService, TableOfFilesAndKeys)
{
    std::vector<std::string> unexpected;
    std::vector<bool> seen(kKnownDifferences.size(), false);
    for (const File& file : Files()) {
        const std::wstring path = TempFile(file.name);
        {
            std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
        }
        const PortableLayoutReader portable{std::filesystem::path(path)};
        const ProfileStringReader service(path);
        for (const Query& q : kQueries) {
            const std::u16string p = portable.ReadString(q.section, q.key, q.def);
            const std::u16string s = service.ReadString(q.section, q.key, q.def);
            bool known = false;
            for (std::size_t i = 0; i < kKnownDifferences.size(); ++i) {
                const Difference& d = kKnownDifferences[i];
                if (d.file == file.name && d.section == q.section && d.key == q.key) {
                    known = true;
                    seen[i] = true;
                    EXPECT_EQ(p, d.portable) << file.name << " [" << Narrow(q.section) << "] " << Narrow(q.key);
                    EXPECT_EQ(s, d.service) << file.name << " [" << Narrow(q.section) << "] " << Narrow(q.key);
                }
            }
            if (!known && file.name == kUnmarkedUtf8) {
                EXPECT_EQ(s, AsCodePageText(p)) << file.name << " [" << Narrow(q.section) << "] " << Narrow(q.key);
                known = true;
            }
            if (!known && p != s) {
                unexpected.push_back("{\"" + std::string(file.name) + "\", u\"" + Narrow(q.section) + "\", u\"" +
                                     Narrow(q.key) + "\", u\"" + Narrow(p).substr(0, 80) + "\", u\"" +
                                     Narrow(s).substr(0, 80) + "\"},");
            }
        }
        DeleteFileW(path.c_str());
    }
    for (const std::string& u : unexpected)
        ADD_FAILURE() << "difference: " << u;
    for (std::size_t i = 0; i < seen.size(); ++i)
        EXPECT_TRUE(seen[i]) << "listed difference not met: " << kKnownDifferences[i].file << " "
                             << Narrow(kKnownDifferences[i].key);
}

}  // namespace
}  // namespace cpk
