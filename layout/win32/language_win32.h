#pragma once

#include <string_view>

namespace cpk {

// Asks the system for its default language identifier on every call.
[[nodiscard]] std::u16string_view GetLanguageName();

}  // namespace cpk
