#include "application.h"

#include "exception.h"

namespace cpk {

TApplication Application;

void TApplication::Initialize()
{
    if (Title.empty()) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring name = path;
        const auto slash = name.find_last_of(L"\\/");
        if (slash != std::wstring::npos)
            name.erase(0, slash + 1);
        const auto dot = name.find_last_of(L'.');
        if (dot != std::wstring::npos)
            name.erase(dot);
        Title = name;
    }
}

void TApplication::Run()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::ShowException(const std::wstring& message)
{
    const std::wstring& text = message;
    if (ExceptionHook) {
        ExceptionHook(text);
        return;
    }
    MessageBoxW(nullptr, text.c_str(), Title.c_str(), MB_OK | MB_ICONERROR);
}

void TApplication::HandleException(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        ShowException(e.Message());
    } catch (...) {
        // Any other exception is shown as one of ours with an empty message.
        ShowException(L"");
    }
}

}  // namespace cpk
