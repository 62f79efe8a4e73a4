// Readers of the layout text file. The tool reads through the system's
// profile-string service on Windows (win32/profile_reader.h); the portable
// reader below keeps the same reading rules for the host tests and for any
// front end without that service:
//   1. section and key names match without regard to letter case (A-Z);
//   2. blanks around a value are dropped, and one pair of quotation marks
//      (both ' or both ") enclosing the whole value is removed;
//   3. a missing file, section or key gives the caller's default; a key that
//      is present with an empty or blank value gives the empty text;
//   4. at most kMaxLayoutValue characters of a value are delivered.
// Beyond the rules it follows the service where that is cheap: the default
// loses trailing spaces and enclosing quotes, section names in the file are
// trimmed, and entries before the first section are read under the empty
// section name. The kept differences are listed by the comparison test
// (tests/win32/layout_reader_test.cpp).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace cpk {

// The service is asked with room for 2,048 characters, the terminator included.
inline constexpr std::size_t kLayoutValueBuffer = 2048;
inline constexpr std::size_t kMaxLayoutValue = kLayoutValueBuffer - 1;

class LayoutTextReader {
public:
    virtual ~LayoutTextReader() = default;
    [[nodiscard]] virtual std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                                                    std::u16string_view defaultValue) const = 0;
};

// How the bytes of a file were read as text.
enum class TextEncoding { Utf16Le, Utf16Be, Utf8 };

// Bytes of a file to UTF-16. A byte-order mark decides (FF FE, FE FF,
// EF BB BF) and is dropped; without one, a text whose odd (even) bytes are
// mostly zero is taken as UTF-16 LE (BE), anything else as UTF-8. Malformed
// UTF-8 and a lone last byte of UTF-16 become U+FFFD, never an error.
[[nodiscard]] std::u16string DecodeLayoutText(const std::vector<unsigned char>& bytes,
                                              TextEncoding* detected = nullptr);

class PortableLayoutReader final : public LayoutTextReader {
public:
    // A file that cannot be opened reads as a file without sections.
    explicit PortableLayoutReader(const std::filesystem::path& file);
    static PortableLayoutReader FromBytes(const std::vector<unsigned char>& bytes);
    static PortableLayoutReader FromText(std::u16string_view text);

    [[nodiscard]] std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                                            std::u16string_view defaultValue) const override;

private:
    PortableLayoutReader() = default;
    void Parse(std::u16string_view text);

    struct Entry {
        std::u16string key;
        std::u16string value;
        bool hasValue = false;  // false for a line without "="
    };
    struct Section {
        std::u16string name;
        std::vector<Entry> entries;
    };
    std::vector<Section> sections_;
};

}  // namespace cpk
