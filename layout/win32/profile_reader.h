// The layout text reader of the tool on Windows: the system's profile-string
// service, asked with room for kLayoutValueBuffer characters.
#pragma once

#include <string>

#include "layout_reader.h"

namespace cpk {

class ProfileStringReader final : public LayoutTextReader {
public:
    // `file` is a full path; the service reads the file afresh on each call.
    explicit ProfileStringReader(std::wstring file) : file_(std::move(file)) {}

    [[nodiscard]] std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                                            std::u16string_view defaultValue) const override;

private:
    std::wstring file_;
};

}  // namespace cpk
