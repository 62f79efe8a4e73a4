// The error type of the control layer. Raised by start-up steps (a missing
// resource, a file that cannot be created, a malformed layout number) and
// shown in the application's standard exception box.
#pragma once

#include <exception>
#include <string>

namespace cpk {

class Exception : public std::exception {
public:
    explicit Exception(std::wstring message) : message_(std::move(message)) {}
    [[nodiscard]] const std::wstring& Message() const noexcept { return message_; }
    [[nodiscard]] const char* what() const noexcept override { return "cpk::Exception"; }

private:
    std::wstring message_;
};

}  // namespace cpk
