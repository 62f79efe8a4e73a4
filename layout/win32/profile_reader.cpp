#include "profile_reader.h"

#include <windows.h>

#include <array>

namespace cpk {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t");

namespace {

// The service takes zero-terminated names.
std::wstring Terminated(std::u16string_view s)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size());
}

}  // namespace

std::u16string ProfileStringReader::ReadString(std::u16string_view section, std::u16string_view key,
                                               std::u16string_view defaultValue) const
{
    const std::wstring sectionZ = Terminated(section), keyZ = Terminated(key), defaultZ = Terminated(defaultValue);
    std::array<wchar_t, kLayoutValueBuffer> buffer{};
    const DWORD copied = GetPrivateProfileStringW(sectionZ.c_str(), keyZ.c_str(), defaultZ.c_str(), buffer.data(),
                                                  static_cast<DWORD>(buffer.size()), file_.c_str());
    const std::size_t length = copied < buffer.size() ? copied : buffer.size() - 1;
    return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
}

}  // namespace cpk
