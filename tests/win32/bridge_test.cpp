// The bridge and the test-mode commands against small stand-in libraries
// built for the purpose (tests/win32/testlibs): a probe that records calls,
// one without the entries, and one whose imports lie beside it.
#include <gtest/gtest.h>

#include "bridge.h"
#include "test_mode.h"
#include "test_mode_commands.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace cpk {
namespace {

const wchar_t kErrorCaption[] = L"\u932F\u8AA4\u8A0A\u606F";

std::wstring BesideMe(const wchar_t* name)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + name;
}

template <typename Entry>
Entry Probe(const char* name)
{
    const HMODULE probe = GetModuleHandleW(L"bridge_probe.dll");
    return probe ? reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(probe, name))) : nullptr;
}

using VoidEntry = void(__cdecl*)();
using CountEntry = LONG(__cdecl*)();
using WindowEntry = HWND(__cdecl*)();
using SetDevicesEntry = void(__cdecl*)(std::int32_t, const wchar_t* const*, std::int32_t);
using SetResultEntry = void(__cdecl*)(std::uint32_t, DWORD, DWORD);
using ArgsEntry = const std::uint16_t*(__cdecl*)();
using SentPathEntry = const wchar_t*(__cdecl*)(std::int32_t);
using SentReportEntry = const std::uint8_t*(__cdecl*)(std::int32_t);
using SentLengthEntry = std::uint32_t(__cdecl*)(std::int32_t);

class Bridge : public testing::Test {
protected:
    void SetUp() override { CloseDeviceLibrary(); }
    void TearDown() override { CloseDeviceLibrary(); }

    // Opens the probe with a reference of the test's own, so it stays
    // loaded (and inspectable) after the bridge lets go.
    void OpenProbe(HWND window = nullptr)
    {
        own = LoadLibraryW(BesideMe(L"bridge_probe.dll").c_str());
        ASSERT_NE(own, nullptr);
        Probe<VoidEntry>("ProbeReset")();
        OpenDeviceLibrary(window, BesideMe(L"bridge_probe.dll"));
        ASSERT_TRUE(IsDeviceLibraryLoaded());
    }
    void ReleaseProbe()
    {
        if (own)
            FreeLibrary(own);
        own = nullptr;
    }
    ~Bridge() override { ReleaseProbe(); }

    HMODULE own = nullptr;
};

void ExpectMissingResults()
{
    std::wstring buffer(8, L'x');
    SetLastError(1234);
    EXPECT_EQ(FindCustomHidDevice(0x1111, 0, 0xFFA7, 0, -1, nullptr), -1);
    EXPECT_EQ(FindCustomHidDevice(0x1111, 0, 0xFFA7, 0, 0, buffer.data()), -1);
    std::uint8_t report[72] = {7};
    EXPECT_FALSE(SetDeviceFeatureReport(L"\\\\?\\hid#x", report, 72));
    RegisterDeviceArrivalNotification(nullptr);
    CallInitial(nullptr);
    CallCloseQuery();
    EXPECT_EQ(buffer, std::wstring(8, L'x'));
    // The bridge's own failed look-ups leave no trace in the error code.
    EXPECT_EQ(GetLastError(), 1234u);
}

TEST_F(Bridge, NoLibraryGivesMissingResults)
{
    const std::wstring absent = BesideMe(L"no-such-library.dll");
    SetLastError(1234);
    OpenDeviceLibrary(nullptr, absent);
    EXPECT_EQ(GetLastError(), 1234u);
    EXPECT_FALSE(IsDeviceLibraryLoaded());
    ExpectMissingResults();
    CloseDeviceLibrary();  // nothing to close
    EXPECT_FALSE(IsDeviceLibraryLoaded());
}

TEST_F(Bridge, LibraryWithoutTheEntriesGivesMissingResults)
{
    OpenDeviceLibrary(nullptr, BesideMe(L"bridge_empty.dll"));
    ASSERT_TRUE(IsDeviceLibraryLoaded());
    ExpectMissingResults();
    CloseDeviceLibrary();
    EXPECT_FALSE(IsDeviceLibraryLoaded());
    EXPECT_EQ(GetModuleHandleW(L"bridge_empty.dll"), nullptr);
}

TEST_F(Bridge, ImportsBesideTheLibraryAreNotUsed)
{
    // The library's import sits in its own (and the test's) folder: an
    // ordinary load finds it, the bridge's load must not.
    const HMODULE ordinary = LoadLibraryW(BesideMe(L"bridge_dependent.dll").c_str());
    ASSERT_NE(ordinary, nullptr) << "the test library itself does not load, error " << GetLastError();
    FreeLibrary(ordinary);
    ASSERT_EQ(GetModuleHandleW(L"bridge_dependent.dll"), nullptr);
    ASSERT_EQ(GetModuleHandleW(L"bridge_side.dll"), nullptr);

    OpenDeviceLibrary(nullptr, BesideMe(L"bridge_dependent.dll"));
    EXPECT_FALSE(IsDeviceLibraryLoaded());
    EXPECT_EQ(FindCustomHidDevice(0x1111, 0, 0, 0, -1, nullptr), -1);
}

TEST_F(Bridge, OpenedTwiceLoadsOnceAndCallsInitialTwice)
{
    const HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1234));
    OpenProbe(window);
    OpenDeviceLibrary(window, BesideMe(L"bridge_probe.dll"));
    EXPECT_EQ(Probe<CountEntry>("ProbeInitialCalls")(), 2);
    EXPECT_EQ(Probe<WindowEntry>("ProbeInitialWindow")(), window);
    EXPECT_EQ(Probe<CountEntry>("ProbeCloseQueryCalls")(), 0);

    CloseDeviceLibrary();
    EXPECT_FALSE(IsDeviceLibraryLoaded());
    EXPECT_EQ(Probe<CountEntry>("ProbeCloseQueryCalls")(), 1);
    // The bridge held one reference only: with the test's own gone, the
    // module is unloaded.
    ReleaseProbe();
    EXPECT_EQ(GetModuleHandleW(L"bridge_probe.dll"), nullptr);

    // Closed: the missing-results again, and closing twice is harmless.
    ExpectMissingResults();
    CloseDeviceLibrary();
}

TEST_F(Bridge, FeatureResultIsItsLowByteOnly)
{
    OpenProbe();
    struct Case {
        std::uint32_t result;
        bool success;
    };
    const Case cases[] = {{0x01, true}, {0x100, false}, {0xFF00, false}, {0x80000001u, true}, {0, false}};
    std::uint8_t report[72] = {7, 4};
    for (const Case& c : cases) {
        Probe<SetResultEntry>("ProbeSetFeatureResult")(c.result, 31, 0);
        SetLastError(0);
        EXPECT_EQ(SetDeviceFeatureReport(L"\\\\?\\hid#a", report, 72), c.success) << std::hex << c.result;
        if (!c.success) {
            EXPECT_EQ(GetLastError(), 31u) << "the library's error is kept";
        }
    }
}

TEST_F(Bridge, FindAndRegisterPassArgumentsAndResults)
{
    const HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x5678));
    OpenProbe();
    const wchar_t* paths[] = {L"\\\\?\\hid#first", L"\\\\?\\hid#second"};
    Probe<SetDevicesEntry>("ProbeSetDevices")(5, paths, 2);

    EXPECT_EQ(FindCustomHidDevice(0x1234, 0x5678, 0xFFA7, 0x0042, -1, nullptr), 5);
    const std::uint16_t* args = Probe<ArgsEntry>("ProbeFindArgs")();
    EXPECT_EQ(args[0], 0x1234);
    EXPECT_EQ(args[1], 0x5678);
    EXPECT_EQ(args[2], 0xFFA7);
    EXPECT_EQ(args[3], 0x0042);
    std::wstring buffer(kDevicePathBufferUnits, L'\0');
    EXPECT_EQ(FindCustomHidDevice(0x1234, 0, 0xFFA7, 0, 1, buffer.data()), 5);
    EXPECT_STREQ(buffer.c_str(), L"\\\\?\\hid#second");

    RegisterDeviceArrivalNotification(window);
    EXPECT_EQ(Probe<WindowEntry>("ProbeRegisteredWindow")(), window);
}

// Closes every error box of the commands as it appears, noting its text and
// whether it had an owner.
class BoxCloser {
public:
    BoxCloser()
        : thread_([this] {
              while (!stop_) {
                  if (const HWND box = FindWindowW(L"#32770", kErrorCaption)) {
                      if (GetWindow(box, GW_OWNER) != nullptr)
                          owned_ = true;
                      EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(this));
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
    ~BoxCloser() { Stop(); }
    // Ends the watch; the results below are complete after it.
    void Stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    int Boxes() const { return boxes_; }
    bool AnyOwned() const { return owned_; }
    const std::vector<std::wstring>& Texts() const { return texts_; }

private:
    static BOOL CALLBACK CollectText(HWND child, LPARAM self)
    {
        wchar_t cls[32] = {};
        wchar_t text[512] = {};
        GetClassNameW(child, cls, 32);
        GetWindowTextW(child, text, 512);
        if (lstrcmpiW(cls, L"Static") == 0 && text[0] != L'\0')
            reinterpret_cast<BoxCloser*>(self)->texts_.push_back(text);
        return TRUE;
    }

    std::atomic<bool> stop_{false};
    std::atomic<int> boxes_{0};
    std::atomic<bool> owned_{false};
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

std::vector<std::uint8_t> ExpectedReport(std::uint8_t mode)
{
    std::vector<std::uint8_t> bytes{0x07, 0x04, 0, 0, 0, 0, 0, 0, mode};
    bytes.resize(72, 0);
    return bytes;
}

std::vector<std::uint8_t> Sent(std::int32_t n)
{
    const std::uint8_t* r = Probe<SentReportEntry>("ProbeSetReport")(n);
    return std::vector<std::uint8_t>(r, r + Probe<SentLengthEntry>("ProbeSetLength")(n));
}

TEST_F(Bridge, CommandsSendTheReportToEveryDeviceFound)
{
    OpenProbe();
    const wchar_t* paths[] = {L"\\\\?\\hid#a", L"\\\\?\\hid#b", L"\\\\?\\HID#A"};
    Probe<SetDevicesEntry>("ProbeSetDevices")(3, paths, 3);

    NotifyDevicesTestStop();
    NotifyDevicesTestStart();
    ASSERT_EQ(Probe<CountEntry>("ProbeSetCalls")(), 4);
    EXPECT_STREQ(Probe<SentPathEntry>("ProbeSetPath")(0), L"\\\\?\\hid#a");
    EXPECT_STREQ(Probe<SentPathEntry>("ProbeSetPath")(1), L"\\\\?\\hid#b");
    EXPECT_EQ(Sent(0), ExpectedReport(8));
    EXPECT_EQ(Sent(1), ExpectedReport(8));
    EXPECT_EQ(Sent(2), ExpectedReport(4));
    EXPECT_EQ(Sent(3), ExpectedReport(4));
    EXPECT_EQ(Probe<ArgsEntry>("ProbeFindArgs")()[0], MakerVendorId);
}

TEST_F(Bridge, RefusingDeviceShowsOneOwnerlessBoxWithTheSystemsText)
{
    OpenProbe();
    const wchar_t* paths[] = {L"\\\\?\\hid#first", L"\\\\?\\hid#second"};
    Probe<SetDevicesEntry>("ProbeSetDevices")(2, paths, 2);
    Probe<SetResultEntry>("ProbeSetFeatureResult")(1, ERROR_GEN_FAILURE, 0x1);  // the first send fails

    wchar_t system[256] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_GEN_FAILURE, 0, system,
                   256, nullptr);
    const std::u16string expected =
        TrimSystemMessage(std::u16string(reinterpret_cast<const char16_t*>(system)));

    {
        BoxCloser closer;
        NotifyDevicesTestStart();
        // The box is gone when the command returns; give a second one the
        // chance to appear before looking.
        Sleep(200);
        closer.Stop();
        EXPECT_EQ(closer.Boxes(), 1);
        EXPECT_FALSE(closer.AnyOwned());
        const auto& texts = closer.Texts();
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.front(), std::wstring(expected.begin(), expected.end()));
    }
    EXPECT_EQ(Probe<CountEntry>("ProbeSetCalls")(), 1) << "the second device must receive nothing";
}

// The logging library handed to the end-to-end tests: what it records for
// a stop, a refused start and the registration.
TEST_F(Bridge, LoggingLibraryRecordsEveryCall)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring log = std::wstring(temp) + L"cpk-device-calls-test.log";
    DeleteFileW(log.c_str());
    SetEnvironmentVariableW(L"CPK_DEVICE_LOG", log.c_str());
    SetEnvironmentVariableW(L"CPK_FAKE_DEVICES", L"2");
    SetEnvironmentVariableW(L"CPK_FAKE_REFUSE", L"2");

    OpenDeviceLibrary(nullptr, BesideMe(L"logging_devicelib.dll"));
    ASSERT_TRUE(IsDeviceLibraryLoaded());
    RegisterDeviceArrivalNotification(nullptr);
    int boxes = 0;
    {
        BoxCloser closer;
        NotifyDevicesTestStop();
        NotifyDevicesTestStart();
        Sleep(200);
        closer.Stop();
        boxes = closer.Boxes();
    }
    CloseDeviceLibrary();
    SetEnvironmentVariableW(L"CPK_DEVICE_LOG", nullptr);
    SetEnvironmentVariableW(L"CPK_FAKE_DEVICES", nullptr);
    SetEnvironmentVariableW(L"CPK_FAKE_REFUSE", nullptr);
    EXPECT_EQ(boxes, 2);  // one for each command

    std::string text;
    const HANDLE file = CreateFileW(log.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    CloseHandle(file);
    DeleteFileW(log.c_str());

    char vid[8];
    wsprintfA(vid, "%04x", MakerVendorId);
    const std::string find = std::string("find ") + vid + " 0000 ffa7 0000 ";
    const std::string zeros(126, '0');
    const std::string stop = "070400000000000008" + zeros;
    const std::string start = "070400000000000004" + zeros;
    const std::string expected =
        "register\r\n" +
        find + "-1 -> 2\r\n" + find + "0 -> 2\r\n" + find + "1 -> 2\r\n" +
        "set \\\\?\\hid#logdev_1 72 " + stop + " -> 1\r\n" +
        "set \\\\?\\hid#logdev_2 72 " + stop + " -> 0\r\n" +
        find + "-1 -> 2\r\n" + find + "0 -> 2\r\n" + find + "1 -> 2\r\n" +
        "set \\\\?\\hid#logdev_1 72 " + start + " -> 1\r\n" +
        "set \\\\?\\hid#logdev_2 72 " + start + " -> 0\r\n";
    EXPECT_EQ(text, expected);
}

}  // namespace
}  // namespace cpk
