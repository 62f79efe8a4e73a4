// The exported entries of resource.dll: each hands its arguments to the
// library's algorithms over the real system table. No exception leaves an
// entry; running out of memory is a failure with ERROR_NOT_ENOUGH_MEMORY.
#include "device_library.h"
#include "export_guard.h"
#include "hid_devices.h"
#include "windows_system.h"

#include <new>
#include <string_view>

using namespace cpk::devicelib;

namespace {

const char16_t* Text(const WCHAR* s) { return reinterpret_cast<const char16_t*>(s); }
char16_t* Text(WCHAR* s) { return reinterpret_cast<char16_t*>(s); }
DEVLIB_BOOL8 Bool8(bool b) { return b ? 1 : 0; }

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }

INT32 DEVLIB_API GetHidDeviceFromCustomHidList(WORD vendorId, WORD productId, WORD usagePage, WORD usage,
                                               INT32 index, WCHAR* path)
{
    return Guarded<INT32>(0, [&] {
        return cpk::devicelib::GetHidDeviceFromCustomHidList(WindowsSystem(), vendorId, productId, usagePage, usage,
                                                             index, Text(path));
    });
}

// Also exported as xEnumHidDevice (resource.def).
INT32 DEVLIB_API GetHidDeviceName(WORD vendorId, WORD productId, DWORD usagePage, DWORD usage, INT32 index,
                                  WCHAR* path)
{
    return Guarded<INT32>(0, [&] {
        return cpk::devicelib::GetHidDeviceName(WindowsSystem(), vendorId, productId, usagePage, usage, index,
                                                Text(path));
    });
}

INT32 DEVLIB_API GetHidDeviceFromHidList(WORD vendorId, WORD productId, INT32 index, WCHAR* path)
{
    return Guarded<INT32>(0, [&] {
        return cpk::devicelib::GetHidDeviceFromHidList(WindowsSystem(), vendorId, productId, index, Text(path));
    });
}

INT32 DEVLIB_API GetUSBDeviceInterfacePath(DWORD, DWORD, INT32 index, WCHAR* path)
{
    return Guarded<INT32>(0, [&] { return cpk::devicelib::GetUSBDeviceInterfacePath(WindowsSystem(), index, Text(path)); });
}

DEVLIB_BOOL8 DEVLIB_API GetHidIDs(const WCHAR* path, WORD* vendorId, WORD* productId, WORD* usagePage, WORD* usage)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] {
        return Bool8(cpk::devicelib::GetHidIDs(WindowsSystem(), Text(path), vendorId, productId, usagePage, usage));
    });
}

DEVLIB_BOOL8 DEVLIB_API isID4Device(const WCHAR* path)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] { return Bool8(IsId4Device(WindowsSystem(), Text(path))); });
}

WORD DEVLIB_API GetPID_OfID4Path(const WCHAR* path)
{
    if (path == nullptr)
        return 0;
    return Guarded<WORD>(0, [&] { return GetPidOfId4Path(std::u16string_view(Text(path))); });
}

DEVLIB_BOOL8 DEVLIB_API HidSetFeatureReport(const WCHAR* path, BYTE* report, DWORD length)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] {
        return Bool8(TransferByPath(WindowsSystem(), PathTransfer::SetFeature, Text(path), report, length));
    });
}

DEVLIB_BOOL8 DEVLIB_API HidGetFeatureReport(const WCHAR* path, BYTE* report, DWORD length)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] {
        return Bool8(TransferByPath(WindowsSystem(), PathTransfer::GetFeature, Text(path), report, length));
    });
}

DEVLIB_BOOL8 DEVLIB_API HidSetOutputReport(const WCHAR* path, BYTE* report, DWORD length)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] {
        return Bool8(TransferByPath(WindowsSystem(), PathTransfer::SetOutputReport, Text(path), report, length));
    });
}

DEVLIB_BOOL8 DEVLIB_API xHidD_SetFeature(HANDLE device, BYTE* report, DWORD length)
{
    return Bool8(HandleSetFeature(WindowsSystem(), FromHandle(device), report, length));
}

DEVLIB_BOOL8 DEVLIB_API xHidD_GetFeature(HANDLE device, BYTE* report, DWORD length)
{
    return Bool8(HandleGetFeature(WindowsSystem(), FromHandle(device), report, length));
}

DEVLIB_BOOL8 DEVLIB_API xHidD_SetOutputReport(HANDLE device, BYTE* report, DWORD length)
{
    return Bool8(HandleSetOutputReport(WindowsSystem(), FromHandle(device), report, length));
}

DEVLIB_BOOL8 DEVLIB_API xHidD_GetOutputReport(HANDLE device, BYTE* report, DWORD length)
{
    return Bool8(HandleGetOutputReport(WindowsSystem(), FromHandle(device), report, length));
}

HANDLE DEVLIB_API GetDeviceViaInterfaceGUID(const GUID* interfaceClass, DWORD index)
{
    return Guarded<HANDLE>(nullptr, [&] {
        if (interfaceClass == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return HANDLE{nullptr};
        }
        const Guid cls = FromWindowsGuid(*interfaceClass);
        return ToHandle(GetDeviceViaInterfaceGuid(WindowsSystem(), &cls, index));
    });
}

HANDLE DEVLIB_API RegisterDeviceNotification_ArrivalRemove(HWND window)
{
    return reinterpret_cast<HANDLE>(RegisterArrivalRemove(WindowsSystem(), reinterpret_cast<WindowHandle>(window)));
}

HANDLE DEVLIB_API RegisterDeviceNotification_QueryRemove(HWND window, HANDLE device)
{
    return reinterpret_cast<HANDLE>(
        WindowsSystem().RegisterHandleNotification(reinterpret_cast<WindowHandle>(window), FromHandle(device)));
}

BOOL DEVLIB_API UnregisterDeviceNotification_ArrivalRemove(HANDLE notification)
{
    return WindowsSystem().UnregisterNotification(reinterpret_cast<NotifyHandle>(notification));
}

}  // extern "C"
