// The built resource.dll, loaded by path as the tool loads it: its 29
// entries by name, and their behaviour on a machine with no HID devices of
// the kind asked for.
#include <gtest/gtest.h>

#include <windows.h>

#include <dbt.h>

#include <cstdint>
#include <string>

namespace {

// The test binary's folder, where the build puts a copy of resource.dll.
std::wstring BesideMe(const wchar_t* name)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + name;
}

const char* const kEntries[] = {
    "GetHidDeviceFromCustomHidList", "GetHidDeviceName", "xEnumHidDevice", "GetHidDeviceFromHidList",
    "GetUSBDeviceInterfacePath", "GetHidIDs", "isID4Device", "GetPID_OfID4Path",
    "HidSetFeatureReport", "HidGetFeatureReport", "HidSetOutputReport",
    "xHidD_SetFeature", "xHidD_GetFeature", "xHidD_SetOutputReport", "xHidD_GetOutputReport",
    "GetDeviceViaInterfaceGUID",
    "RegisterDeviceNotification_ArrivalRemove", "RegisterDeviceNotification_QueryRemove",
    "UnregisterDeviceNotification_ArrivalRemove",
    "GetUsbDeviceFromHub", "isDeviceExist", "GetUsbDeviceVIDPIDFromHub", "GetUsbDeviceVIDPIDSNFromHub",
    "Read", "ReadEx", "Write",
    "GetUsbDeviceFromHidDevice", "GetUsbDeviceFromHidList",
    "UsbReset",
};
static_assert(sizeof kEntries / sizeof kEntries[0] == 29);

// Entry types as a caller declares them; the boolean results are read as
// full 32-bit registers, so the tests can look at the low byte only, as
// callers must.
using ListEntry = std::int32_t(__cdecl*)(std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t, std::int32_t,
                                         wchar_t*);
using WideListEntry = std::int32_t(__cdecl*)(std::uint16_t, std::uint16_t, std::uint32_t, std::uint32_t,
                                             std::int32_t, wchar_t*);
using Id4ListEntry = std::int32_t(__cdecl*)(std::uint16_t, std::uint16_t, std::int32_t, wchar_t*);
using AllPathsEntry = std::int32_t(__cdecl*)(std::uint32_t, std::uint32_t, std::int32_t, wchar_t*);
using PathTransferEntry = unsigned char(__cdecl*)(const wchar_t*, std::uint8_t*, std::uint32_t);
using HandleTransferEntry = unsigned char(__cdecl*)(HANDLE, std::uint8_t*, std::uint32_t);
using GetIdsEntry = unsigned char(__cdecl*)(const wchar_t*, WORD*, WORD*, WORD*, WORD*);
using PathTestEntry = unsigned char(__cdecl*)(const wchar_t*);
using PidEntry = WORD(__cdecl*)(const wchar_t*);
using ViaGuidEntry = HANDLE(__cdecl*)(const GUID*, DWORD);
using RegisterEntry = HANDLE(__cdecl*)(HWND);
using QueryRemoveEntry = HANDLE(__cdecl*)(HWND, HANDLE);
using UnregisterEntry = BOOL(__cdecl*)(HANDLE);
using HubListEntry = std::int32_t(__cdecl*)(std::uint16_t, std::uint16_t, std::int32_t, wchar_t*, DWORD*);
using PortTestEntry = unsigned char(__cdecl*)(const wchar_t*, DWORD);
using ResetEntry = unsigned char(__cdecl*)(std::uint16_t, std::uint16_t);

const GUID kHidClass{0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

class DeviceLibrary : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        module = LoadLibraryExW(BesideMe(L"resource.dll").c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    static void TearDownTestSuite()
    {
        if (module)
            FreeLibrary(module);
        module = nullptr;
    }
    void SetUp() override { ASSERT_NE(module, nullptr) << "resource.dll did not load, error " << GetLastError(); }

    template <typename Entry>
    static Entry Get(const char* name)
    {
        return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    }

    static HMODULE module;
};
HMODULE DeviceLibrary::module = nullptr;

TEST_F(DeviceLibrary, EveryEntryResolvesByName)
{
    for (const char* name : kEntries)
        EXPECT_NE(GetProcAddress(module, name), nullptr) << name;
    // One function under two names.
    EXPECT_EQ(GetProcAddress(module, "xEnumHidDevice"), GetProcAddress(module, "GetHidDeviceName"));
    // No decorated or extra names the tool might pick up by mistake.
    EXPECT_EQ(GetProcAddress(module, "Initial"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "CloseQuery"), nullptr);
}

TEST_F(DeviceLibrary, ListsOfAbsentDevicesAreEmptyAndLeaveBuffersAlone)
{
    // No HID device of the machine has these vendor IDs.
    const std::uint16_t kNobody = 0xFFFE;
    const std::wstring untouched(32, L'x');
    std::wstring buffer = untouched;

    auto custom = Get<ListEntry>("GetHidDeviceFromCustomHidList");
    auto name = Get<WideListEntry>("GetHidDeviceName");
    auto alias = Get<WideListEntry>("xEnumHidDevice");
    auto id4 = Get<Id4ListEntry>("GetHidDeviceFromHidList");
    for (std::int32_t index : {-1, 0, 1}) {
        wchar_t* out = index < 0 ? nullptr : buffer.data();
        EXPECT_EQ(custom(kNobody, 0, 0xFFA7, 0, index, out), 0);
        EXPECT_EQ(name(kNobody, 0, 0xFFA7, 0, index, out), 0);
        EXPECT_EQ(alias(kNobody, 0, 0xFFA7, 0, index, out), 0);
        EXPECT_EQ(id4(kNobody, 0, index, out), 0);
        EXPECT_EQ(buffer, untouched);
    }
    // Usage page above 16 bits through the 32-bit entry: no device has it.
    EXPECT_EQ(name(0, 0, 0x1FFA7, 0, 0, buffer.data()), 0);

    // All interfaces: an index at the count leaves the buffer alone too.
    auto all = Get<AllPathsEntry>("GetUSBDeviceInterfacePath");
    const std::int32_t count = all(0, 0, -1, nullptr);
    EXPECT_GE(count, 0);
    EXPECT_EQ(all(0, 0, count, buffer.data()), count);
    EXPECT_EQ(buffer, untouched);
    // And matches the list of every readable device at most.
    EXPECT_LE(custom(0, 0, 0, 0, -1, nullptr), count);
}

TEST_F(DeviceLibrary, TransferToAbsentPathFailsWithTheOpensError)
{
    const wchar_t* gone = L"\\\\?\\hid#vid_fffe&pid_0001#0&0&0#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    // What the open itself leaves for this path.
    SetLastError(0);
    const HANDLE h = CreateFileW(gone, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    ASSERT_EQ(h, INVALID_HANDLE_VALUE);
    const DWORD openError = GetLastError();
    ASSERT_NE(openError, 0u);

    std::uint8_t report[72] = {7, 4, 0, 0, 0, 0, 0, 0, 4};
    for (const char* entry : {"HidSetFeatureReport", "HidGetFeatureReport", "HidSetOutputReport"}) {
        SetLastError(0);
        EXPECT_EQ(Get<PathTransferEntry>(entry)(gone, report, 72), 0) << entry;
        EXPECT_EQ(GetLastError(), openError) << entry;
    }

    WORD vid = 0xEEEE;
    EXPECT_EQ(Get<GetIdsEntry>("GetHidIDs")(gone, &vid, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(vid, 0xEEEE);
    EXPECT_EQ(Get<PathTestEntry>("isID4Device")(gone), 0);
}

TEST_F(DeviceLibrary, HandleEntriesPassTheSystemsAnswer)
{
    // A handle that is no HID device: every transfer fails.
    std::uint8_t report[8] = {1};
    for (const char* entry : {"xHidD_SetFeature", "xHidD_GetFeature", "xHidD_SetOutputReport", "xHidD_GetOutputReport"})
        EXPECT_EQ(Get<HandleTransferEntry>(entry)(nullptr, report, sizeof report), 0) << entry;
}

TEST_F(DeviceLibrary, PathTextEntries)
{
    auto pid = Get<PidEntry>("GetPID_OfID4Path");
    EXPECT_EQ(pid(L"\\\\?\\hid#vid_1234&pid_12g4#7&1a"), 0x12);
    EXPECT_EQ(pid(L"\\\\?\\HID#VID_1234&PID_00AB#7&1A"), 0xAB);
    EXPECT_EQ(pid(L"ab"), 0);
    EXPECT_EQ(pid(nullptr), 0);
    // An upper-case path never counts as a HID path.
    EXPECT_EQ(Get<PathTestEntry>("isID4Device")(L"\\\\?\\HID#VID_1234#{4D1E55B2-F16F-11CF-88CB-001111000030}"), 0);
}

TEST_F(DeviceLibrary, InterfaceOpenPastTheLastGivesNull)
{
    auto via = Get<ViaGuidEntry>("GetDeviceViaInterfaceGUID");
    auto all = Get<AllPathsEntry>("GetUSBDeviceInterfacePath");
    const auto count = static_cast<DWORD>(all(0, 0, -1, nullptr));
    EXPECT_EQ(via(&kHidClass, count), nullptr);
    EXPECT_EQ(via(&kHidClass, count + 100), nullptr);
    EXPECT_EQ(via(nullptr, 0), nullptr);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(DeviceLibrary, NotificationEntriesRegisterARealWindow)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DeviceLibraryNotifyTest";
    RegisterClassW(&wc);
    const HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                        nullptr, wc.hInstance, nullptr);
    ASSERT_NE(window, nullptr);

    const HANDLE notification = Get<RegisterEntry>("RegisterDeviceNotification_ArrivalRemove")(window);
    EXPECT_NE(notification, nullptr) << GetLastError();
    EXPECT_TRUE(Get<UnregisterEntry>("UnregisterDeviceNotification_ArrivalRemove")(notification));

    // Not a window: every registration fails, and so does the entry.
    EXPECT_EQ(Get<RegisterEntry>("RegisterDeviceNotification_ArrivalRemove")(nullptr), nullptr);

    DestroyWindow(window);
}

using DescriptorEntry = unsigned char(__cdecl*)(const wchar_t*, DWORD, WORD, WORD, WORD, BYTE*);
using DescriptorExEntry = unsigned char(__cdecl*)(const wchar_t*, DWORD, WORD, WORD, WORD, BYTE*, WORD*);
using HubIdsEntry = unsigned char(__cdecl*)(const wchar_t*, DWORD, WORD*, WORD*);
using MapEntry = unsigned char(__cdecl*)(const wchar_t*, wchar_t*, DWORD*);

TEST_F(DeviceLibrary, UsbEntriesWithoutTheDeviceFailAndWriteNothing)
{
    const std::wstring untouched(8, L'x');
    std::wstring hub = untouched;
    DWORD port = 77;

    // Count-and-index over the hub tree: an index at the count writes nothing.
    auto fromHub = Get<HubListEntry>("GetUsbDeviceFromHub");
    const std::int32_t count = fromHub(0, 0, -1, nullptr, nullptr);
    EXPECT_GE(count, 0);
    EXPECT_EQ(fromHub(0, 0, count, hub.data(), &port), count);
    EXPECT_EQ(fromHub(0xFFFE, 0, 0, hub.data(), &port), 0);
    EXPECT_EQ(Get<HubListEntry>("GetUsbDeviceFromHidList")(0xFFFE, 0, 0, hub.data(), &port), 0);
    EXPECT_EQ(hub, untouched);
    EXPECT_EQ(port, 77u);

    // A hub that does not exist.
    const wchar_t* noHub = L"USB#ROOT_HUB30#0&0&0#{f18a0e88-c30c-11d0-8815-00a0c906bed8}";
    BYTE data[18] = {};
    WORD received = 0xEEEE, vid = 0xEEEE, pid = 0xEEEE;
    EXPECT_EQ(Get<PortTestEntry>("isDeviceExist")(noHub, 1), 0);
    EXPECT_EQ(Get<PortTestEntry>("isDeviceExist")(noHub, 0), 0);
    EXPECT_EQ(Get<HubIdsEntry>("GetUsbDeviceVIDPIDFromHub")(noHub, 1, &vid, &pid), 0);
    EXPECT_EQ(Get<DescriptorEntry>("Read")(noHub, 1, 0x0100, 0, sizeof data, data), 0);
    EXPECT_EQ(Get<DescriptorExEntry>("ReadEx")(noHub, 1, 0x0100, 0, sizeof data, data, &received), 0);
    EXPECT_EQ(received, 0xEEEE);
    EXPECT_EQ(vid, 0xEEEE);

    // A path that names no present HID interface: not mapped, empty hub name.
    EXPECT_EQ(Get<MapEntry>("GetUsbDeviceFromHidDevice")(L"\\\\?\\hid#gone", hub.data(), &port), 0);
    EXPECT_STREQ(hub.c_str(), L"");

    EXPECT_EQ(Get<ResetEntry>("UsbReset")(0xFFFE, 0x0001), 0);
}

}  // namespace
