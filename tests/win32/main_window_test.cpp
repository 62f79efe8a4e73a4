// The main window in this process: real window, real low-level hook, real
// global hotkeys and cursor clip, with input injected through SendInput.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MainUnit.h"
#include "application.h"
#include "bridge.h"
#include "win_test_support.h"

namespace cpk {
namespace {

using namespace cpk::test;

class RecordingDevices final : public DeviceCommands {
public:
    std::vector<std::string> log;
    void TestStart() override { log.push_back("start"); }
    void TestStop() override { log.push_back("stop"); }
};

std::wstring ResourceBytes(const wchar_t* type, std::string* bytes)
{
    HRSRC info = FindResourceW(nullptr, L"resource", type);
    if (!info)
        return L"missing";
    const auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, info)));
    bytes->assign(data, SizeofResource(nullptr, info));
    return L"";
}

class MainWindow : public testing::Test {
protected:
    void SetUp() override
    {
        ClipCursor(nullptr);
        DeleteFileW(DocumentsFile(L"resource.dll").c_str());
        DeleteFileW(DocumentsFile(L"Text.txt").c_str());
    }

    void Create()
    {
        form = std::make_unique<TMainForm>();
        form->FDeviceCommands = &devices;
        form->Show();
        Pump(50);
    }

    void TearDown() override
    {
        if (form && form->Handle())
            form->Close();
        form.reset();
        CloseDeviceLibrary();  // the library file may then be deleted
        ClipCursor(nullptr);
        // Leave no pressed buttons behind for the next case.
        SendMouseButton(MOUSEEVENTF_LEFTUP);
        SendMouseButton(MOUSEEVENTF_RIGHTUP);
        Pump(20);
    }

    RECT PinRect() const
    {
        POINT o{0, 0};
        ClientToScreen(form->Handle(), &o);
        return {o.x + 100, o.y + 300, o.x + 101, o.y + 301};
    }

    // F1 through the global hotkey, as the user presses it.
    void StartRun()
    {
        SendKey(VK_F1);
        ASSERT_TRUE(PumpUntil([&] { return static_cast<bool>(form->FHookHandle); })) << "F1 did not start a run";
    }

    // One press, handled by the hook before this returns.
    void Press(DWORD down, DWORD up)
    {
        const auto before = form->FRace.FLeftCounter + form->FRace.FRightCounter;
        SendMouseButton(down);
        EXPECT_TRUE(PumpUntil([&] { return form->FRace.FLeftCounter + form->FRace.FRightCounter != before; }, 2000))
            << "the hook did not see the press";
        SendMouseButton(up);
        Pump(1);
    }

    RecordingDevices devices;
    std::unique_ptr<TMainForm> form;
};

TEST_F(MainWindow, OpensBorderlessAtItsSizeCentredOnTheScreen)
{
    Create();
    RECT client{}, window{}, work{};
    GetClientRect(form->Handle(), &client);
    GetWindowRect(form->Handle(), &window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(client.right, 813);
    EXPECT_EQ(client.bottom, 553);
    EXPECT_EQ(window.right - window.left, 813);
    EXPECT_EQ(window.bottom - window.top, 553);
    EXPECT_EQ(window.left - work.left, (work.right - work.left - 813) / 2);
    EXPECT_EQ(window.top - work.top, (work.bottom - work.top - 553) / 2);
    EXPECT_EQ(GetWindowLongW(form->Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_FALSE(form->FHookHandle);
}

TEST_F(MainWindow, ExtractsBothFilesWhenAbsentAndKeepsPresentOnes)
{
    std::string dll, txt;
    ASSERT_EQ(ResourceBytes(L"DLL", &dll), L"");
    ASSERT_EQ(ResourceBytes(L"TXT", &txt), L"");

    Create();
    EXPECT_EQ(form->FDeviceLibraryPath, DocumentsFile(L"resource.dll"));
    EXPECT_EQ(form->FLayoutTextPath, DocumentsFile(L"Text.txt"));
    EXPECT_TRUE(ReadFileBytes(form->FDeviceLibraryPath) == dll) << "the library was not copied byte for byte";
    EXPECT_TRUE(ReadFileBytes(form->FLayoutTextPath) == txt) << "the layout text was not copied byte for byte";
    // Only the exit sequence closes the library; let go of the file here.
    form->Close();
    form.reset();
    CloseDeviceLibrary();

    // Present files are used as found, whatever they hold.
    WriteFileBytes(DocumentsFile(L"resource.dll"), "not a library");
    WriteFileBytes(DocumentsFile(L"Text.txt"), "edited by the user");
    Create();
    EXPECT_EQ(ReadFileBytes(DocumentsFile(L"resource.dll")), "not a library");
    EXPECT_EQ(ReadFileBytes(DocumentsFile(L"Text.txt")), "edited by the user");
}

TEST_F(MainWindow, F1InstallsTheHookOnceAndPinsThePointer)
{
    Create();
    StartRun();
    const HHOOK hook = form->FHookHandle.get();
    const RECT pin = PinRect();
    const RECT clip = CurrentClip();
    EXPECT_EQ(clip.left, pin.left);
    EXPECT_EQ(clip.top, pin.top);
    EXPECT_EQ(clip.right, pin.right);
    EXPECT_EQ(clip.bottom, pin.bottom);
    POINT p{};
    GetCursorPos(&p);
    EXPECT_EQ(p.x, pin.left);
    EXPECT_EQ(p.y, pin.top);
    EXPECT_EQ(form->lb_F1.Font.Color, kHotkeyRed);
    EXPECT_EQ(form->lb_F2.Font.Color, kHotkeyYellow);
    EXPECT_EQ(devices.log, (std::vector<std::string>{"start"}));

    // A result, then F1 again: the table is emptied, the hook kept.
    Press(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntil([&] { return form->FResults.FBumpCount == 1; }));
    SendKey(VK_F1);
    ASSERT_TRUE(PumpUntil([&] { return devices.log.size() == 2; }));
    EXPECT_EQ(form->FHookHandle.get(), hook);
    EXPECT_EQ(form->FResults.FBumpCount, 0);
    EXPECT_EQ(form->FGrid.RowCount(), 1);
    EXPECT_EQ(form->FGrid.Cell(1, 0), u"");
}

TEST_F(MainWindow, LeftThenRightTenMillisecondsLaterIsOneLeftWin)
{
    Create();
    StartRun();
    Press(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    Sleep(10);
    Press(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    Pump(120);  // no failed row may follow

    ASSERT_EQ(form->FResults.FBumpCount, 1);
    EXPECT_EQ(form->FGrid.Cell(0, 0), u"1");
    EXPECT_EQ(form->FGrid.Cell(1, 0), u"A");
    const std::u16string margin = form->FGrid.Cell(2, 0);
    ASSERT_GE(margin.size(), 4u);
    EXPECT_EQ(margin.substr(margin.size() - 3), u" ms");
    const double ms = std::stod(std::string(margin.begin(), margin.end() - 3));
    EXPECT_GE(ms, 9.0);
    EXPECT_LT(ms, 45.0);  // a slow machine stretches the gap, never shrinks it
}

TEST_F(MainWindow, LonePressGivesAFailedRowAfterTheWindow)
{
    Create();
    StartRun();
    Press(MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    EXPECT_EQ(form->FResults.FBumpCount, 0);
    ASSERT_TRUE(PumpUntil([&] { return form->FResults.FBumpCount == 1; }, 2000));
    EXPECT_EQ(form->FGrid.Cell(1, 0), u"Failed");
    EXPECT_EQ(form->FGrid.Cell(2, 0), u"");
    EXPECT_FALSE(form->tm_RightDown.Enabled());
}

TEST_F(MainWindow, F2EndsTheRunAndWithoutARunLeavesTheClip)
{
    Create();
    StartRun();
    SendKey(VK_F2);
    ASSERT_TRUE(PumpUntil([&] { return !form->FHookHandle; }));
    const RECT clip = CurrentClip();
    const RECT pin = PinRect();
    EXPECT_GT(clip.right - clip.left, pin.right - pin.left) << "the clip was not lifted";
    EXPECT_EQ(form->lb_F1.Font.Color, kHotkeyYellow);
    EXPECT_EQ(form->lb_F2.Font.Color, kHotkeyRed);

    // No run: the labels change and the devices are told, the clip stays.
    const RECT mine{10, 10, 200, 200};
    ClipCursor(&mine);
    form->lb_F1.SetFontColor(0);
    devices.log.clear();
    SendKey(VK_F2);
    ASSERT_TRUE(PumpUntil([&] { return !devices.log.empty(); }));
    EXPECT_EQ(devices.log, (std::vector<std::string>{"stop"}));
    EXPECT_EQ(form->lb_F1.Font.Color, kHotkeyYellow);
    const RECT after = CurrentClip();
    EXPECT_EQ(after.left, mine.left);
    EXPECT_EQ(after.right, mine.right);
}

TEST_F(MainWindow, DeviceChangeSendsStopThenStartWhateverTheEvent)
{
    Create();
    for (WPARAM event : {WPARAM{0x0007} /* nodes changed */, WPARAM{0x8000} /* arrival */, WPARAM{0x1234}}) {
        devices.log.clear();
        SendMessageW(form->Handle(), WM_DEVICECHANGE, event, 0);
        EXPECT_EQ(devices.log, (std::vector<std::string>{"stop", "start"})) << event;
    }
    EXPECT_FALSE(form->FHookHandle);
}

TEST_F(MainWindow, EscStopsTheRunDeletesBothFilesAndCloses)
{
    Create();
    StartRun();
    ASSERT_TRUE(FileExists(form->FDeviceLibraryPath));
    ASSERT_TRUE(FileExists(form->FLayoutTextPath));
    devices.log.clear();
    SendKey(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return form->Handle() == nullptr; })) << "ESC did not close the window";
    EXPECT_EQ(devices.log, (std::vector<std::string>{"stop"}));
    EXPECT_FALSE(form->FHookHandle);
    EXPECT_FALSE(FileExists(DocumentsFile(L"resource.dll")));
    EXPECT_FALSE(FileExists(DocumentsFile(L"Text.txt")));
    const RECT clip = CurrentClip();
    EXPECT_GT(clip.right - clip.left, 1);
}

TEST_F(MainWindow, OtherClosesRunOnlyTheCloseHandler)
{
    Create();
    StartRun();
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_FALSE(form->FHookHandle);  // a hook still set is removed
    EXPECT_TRUE(FileExists(DocumentsFile(L"resource.dll")));
    EXPECT_TRUE(FileExists(DocumentsFile(L"Text.txt")));
    EXPECT_EQ(devices.log, (std::vector<std::string>{"start"}));
    // The hotkeys went with the close handler: F1 now reaches nobody here.
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, 0, VK_F1));
    UnregisterHotKey(nullptr, 1);
}

}  // namespace
}  // namespace cpk
