// The application object: owns the message loop and shows the standard
// exception box (the application's title, the error icon and the message).
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace cpk {

class TForm;

class TApplication {
public:
    // Title of the exception box; the exe's base name unless set.
    std::wstring Title;

    void Initialize();
    // Runs the message loop until the main form is destroyed.
    void Run();
    void Terminate();

    // Shows the standard exception box for the exception in flight or given.
    void ShowException(const std::wstring& message);
    void HandleException(const std::exception_ptr& error);

    TForm* MainForm = nullptr;

    // When set, the box is not shown but its text handed here (tests).
    void (*ExceptionHook)(const std::wstring& message) = nullptr;
};

extern TApplication Application;

// Runs a callable so that no exception escapes: any error is shown in the
// standard exception box. Used at every boundary the system calls into.
template <typename F>
void Guarded(F&& f) noexcept
{
    try {
        f();
    } catch (...) {
        Application.HandleException(std::current_exception());
    }
}

}  // namespace cpk
