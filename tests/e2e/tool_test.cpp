// The built tool itself, started as its own process and driven from outside
// with injected input, as a user drives it.
#include <gtest/gtest.h>

#include <string>

#include "win_test_support.h"

namespace cpk {
namespace {

using namespace cpk::test;

std::wstring ToolPath()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir = self;
    dir.erase(dir.find_last_of(L"\\/"));      // .../tests
    dir.erase(dir.find_last_of(L"\\/") + 1);  // .../
    return dir + L"bin\\" CPK_TOOL_EXE;
}

class Tool : public testing::Test {
protected:
    void SetUp() override
    {
        ClipCursor(nullptr);
        DeleteFileW(DocumentsFile(L"resource.dll").c_str());
        DeleteFileW(DocumentsFile(L"Text.txt").c_str());
        std::wstring command = L"\"" + ToolPath() + L"\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
            << "cannot start the tool, error " << GetLastError();
        ASSERT_TRUE(PumpUntil([&] {
            window = FindWindowW(L"TMainForm", nullptr);
            return window && IsWindowVisible(window);
        }, 30000)) << "the tool's window did not appear";
    }

    void TearDown() override
    {
        if (pi.hProcess) {
            if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(pi.hProcess, 1);
                WaitForSingleObject(pi.hProcess, 5000);
            }
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
        ClipCursor(nullptr);
    }

    RECT PinRect() const
    {
        POINT o{0, 0};
        ClientToScreen(window, &o);
        return {o.x + 100, o.y + 300, o.x + 101, o.y + 301};
    }

    static bool Same(const RECT& a, const RECT& b)
    {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }

    PROCESS_INFORMATION pi{};
    HWND window = nullptr;
};

TEST_F(Tool, StartsRunsAndStopsATestAndEscCleansUp)
{
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right - r.left, 813);
    EXPECT_EQ(r.bottom - r.top, 553);
    EXPECT_TRUE(FileExists(DocumentsFile(L"resource.dll")));
    EXPECT_TRUE(FileExists(DocumentsFile(L"Text.txt")));

    // F1 pins the pointer to the one pixel at client (100, 300).
    SendKey(VK_F1);
    ASSERT_TRUE(PumpUntil([&] { return Same(CurrentClip(), PinRect()); }, 5000)) << "F1 did not pin the pointer";

    // Presses reach the tool's hook and the window beneath; it stays up.
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Sleep(10);
    SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
    SendMouseButton(MOUSEEVENTF_RIGHTUP);
    Pump(100);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // F2 lets the pointer go.
    SendKey(VK_F2);
    ASSERT_TRUE(PumpUntil([&] { return !Same(CurrentClip(), PinRect()); }, 5000)) << "F2 did not free the pointer";

    // ESC closes the tool and removes both files.
    SendKey(VK_ESCAPE);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 15000), static_cast<DWORD>(WAIT_OBJECT_0)) << "ESC did not close the tool";
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(FileExists(DocumentsFile(L"resource.dll")));
    EXPECT_FALSE(FileExists(DocumentsFile(L"Text.txt")));
}

TEST_F(Tool, EscDuringARunEndsItAndTheClip)
{
    SendKey(VK_F1);
    ASSERT_TRUE(PumpUntil([&] { return Same(CurrentClip(), PinRect()); }, 5000));
    SendKey(VK_ESCAPE);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 15000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_FALSE(Same(CurrentClip(), PinRect()));
}

}  // namespace
}  // namespace cpk
