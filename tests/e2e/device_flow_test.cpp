// The whole tool with a logging stand-in for the device library placed in
// the Documents folder (used as found): which reports reach which devices,
// in which order, for F1, F2, a device change and ESC.
#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "win_test_support.h"

namespace cpk {
namespace {

using namespace cpk::test;

const wchar_t* const kErrorCaption = L"\u932F\u8AA4\u8A0A\u606F";

std::wstring TestDir()
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dir = self;
    dir.erase(dir.find_last_of(L"\\/") + 1);
    return dir;
}

// Closes the tool's error boxes (they belong to another process) and counts them.
class BoxWatcher {
public:
    BoxWatcher()
        : thread_([this] {
              while (!stop_) {
                  if (const HWND box = FindWindowW(L"#32770", kErrorCaption)) {
                      ++boxes_;
                      PostMessageW(box, WM_COMMAND, IDOK, 0);
                      while (IsWindow(box) && !stop_)
                          Sleep(10);
                  }
                  Sleep(10);
              }
          })
    {
    }
    ~BoxWatcher()
    {
        stop_ = true;
        thread_.join();
    }
    int Boxes() const { return boxes_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> boxes_{0};
    std::thread thread_;
};

struct SetLine {
    std::string path;
    int mode;
    bool wellFormed;
    int ok;
};

class DeviceFlow : public testing::Test {
protected:
    void Start(const wchar_t* refuse)
    {
        ClipCursor(nullptr);
        log_ = TestDir() + L"e2e-device-calls.log";
        DeleteFileW(log_.c_str());
        DeleteFileW(DocumentsFile(L"Text.txt").c_str());
        ASSERT_TRUE(CopyFileW((TestDir() + L"logging_devicelib.dll").c_str(), DocumentsFile(L"resource.dll").c_str(),
                              FALSE));
        SetEnvironmentVariableW(L"CPK_DEVICE_LOG", log_.c_str());
        SetEnvironmentVariableW(L"CPK_FAKE_DEVICES", L"2");
        SetEnvironmentVariableW(L"CPK_FAKE_REFUSE", refuse);
        std::wstring command = L"\"" + TestDir() + L"..\\bin\\ClickPKTester.exe\"";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_));
        ASSERT_TRUE(PumpUntil([&] {
            window_ = FindWindowW(L"TMainForm", nullptr);
            return window_ && IsWindowVisible(window_);
        }, 30000));
    }

    void TearDown() override
    {
        if (pi_.hProcess) {
            if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT)
                TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, 5000);
            CloseHandle(pi_.hThread);
            CloseHandle(pi_.hProcess);
        }
        SetEnvironmentVariableW(L"CPK_FAKE_REFUSE", nullptr);
        DeleteFileW(DocumentsFile(L"resource.dll").c_str());
        ClipCursor(nullptr);
    }

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        std::istringstream in(ReadFileBytes(log_));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    std::vector<SetLine> Sets() const
    {
        std::vector<SetLine> sets;
        for (const std::string& line : Lines()) {
            std::istringstream in(line);
            std::string verb, path, length, hex, arrow;
            int ok = -1;
            in >> verb >> path >> length >> hex >> arrow >> ok;
            if (verb != "set")
                continue;
            const std::string head = "0704000000000000";
            const bool formed = length == "72" && hex.size() == 144 && hex.compare(0, 16, head) == 0 &&
                                hex.find_first_not_of('0', 18) == std::string::npos;
            sets.push_back({path, hex.size() >= 18 ? std::stoi(hex.substr(16, 2), nullptr, 16) : -1, formed, ok});
        }
        return sets;
    }

    // Waits until the log holds `count` report lines.
    void WaitForSets(std::size_t count)
    {
        EXPECT_TRUE(PumpUntil([&] { return Sets().size() >= count; }, 10000))
            << "only " << Sets().size() << " of " << count << " reports arrived";
    }

    PROCESS_INFORMATION pi_{};
    HWND window_ = nullptr;
    std::wstring log_;
};

TEST_F(DeviceFlow, EveryCommandReachesEveryDeviceInOrder)
{
    Start(nullptr);
    ASSERT_TRUE(PumpUntil([&] { return !Lines().empty(); }, 5000));
    EXPECT_EQ(Lines().front(), "register");

    SendKey(VK_F1);
    WaitForSets(2);
    SendKey(VK_F2);
    WaitForSets(4);
    SendMessageW(window_, WM_DEVICECHANGE, 0x0007, 0);
    WaitForSets(8);
    SendKey(VK_ESCAPE);
    ASSERT_EQ(WaitForSingleObject(pi_.hProcess, 15000), static_cast<DWORD>(WAIT_OBJECT_0));

    const std::vector<SetLine> sets = Sets();
    const std::vector<int> modes{4, 4, 8, 8, 8, 8, 4, 4, 8, 8};  // F1, F2, change (stop, start), ESC
    ASSERT_EQ(sets.size(), modes.size());
    for (std::size_t i = 0; i < sets.size(); ++i) {
        EXPECT_EQ(sets[i].mode, modes[i]) << "report " << i;
        EXPECT_TRUE(sets[i].wellFormed) << "report " << i;
        EXPECT_EQ(sets[i].path, i % 2 ? "\\\\?\\hid#logdev_2" : "\\\\?\\hid#logdev_1") << "report " << i;
    }
    EXPECT_FALSE(FileExists(DocumentsFile(L"resource.dll")));  // closed, then deleted
}

TEST_F(DeviceFlow, RefusingFirstDeviceShowsOneBoxAndSpareTheSecond)
{
    BoxWatcher boxes;
    Start(L"1");
    SendKey(VK_F1);
    WaitForSets(1);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Boxes() == 1; }, 10000)) << "no error box";
    Pump(300);
    const std::vector<SetLine> sets = Sets();
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].ok, 0);
    EXPECT_EQ(boxes.Boxes(), 1);
    // The run started all the same: its hook and pin follow the box.
    EXPECT_TRUE(PumpUntil([] {
        RECT clip{};
        GetClipCursor(&clip);
        return clip.right - clip.left == 1;
    }, 5000)) << "the pointer was not pinned after the box";
}

}  // namespace
}  // namespace cpk
