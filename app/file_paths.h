// Paths of the two files start-up writes into the Documents folder.
#pragma once

#include <string>
#include <string_view>

namespace cpk {

// The longest path the plain file calls take (260 units with the terminator).
inline constexpr std::size_t kMaxPlainPath = 259;

// folder + "\" + name. A result longer than 259 characters on a drive or UNC
// folder gets the extended-length prefix, so the file calls still reach it
// instead of failing or being cut; an empty folder (the lookup failed) gives
// "\name" on the current drive.
[[nodiscard]] std::u16string JoinDocumentsPath(std::u16string_view folder, std::u16string_view name);

}  // namespace cpk
