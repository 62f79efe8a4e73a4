// Language selection: the system's default language identifier to one of
// the thirteen language names, which are also the sections of Text.txt.
#pragma once

#include <cstdint>
#include <string_view>

namespace cpk {

// Whole 16-bit identifiers (primary and sub-language together); anything not
// listed is "English". The returned view points at static storage.
[[nodiscard]] std::u16string_view LanguageNameForId(std::uint16_t languageId);

}  // namespace cpk
