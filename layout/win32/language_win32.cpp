#include "language_win32.h"

#include <windows.h>

#include "language.h"

namespace cpk {

std::u16string_view GetLanguageName()
{
    return LanguageNameForId(static_cast<std::uint16_t>(GetSystemDefaultLangID()));
}

}  // namespace cpk
