#include "windows_system.h"

#include <windows.h>

#include <dbt.h>
#include <setupapi.h>
// The HID library's header declares no C linkage of its own.
extern "C" {
#include <hidsdi.h>
}

#include <cstddef>
#include <cstring>

namespace cpk::devicelib {

namespace {

static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) <= sizeof(InterfaceRef::bytes));
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) == kDetailHeaderSize);
static_assert(offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) == kDetailPathOffset);
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) == 32);
static_assert(sizeof(void*) == 8 || sizeof(DEV_BROADCAST_HANDLE) == 44);
static_assert(GENERIC_READ == kGenericRead && GENERIC_WRITE == kGenericWrite);
static_assert(FILE_SHARE_READ == kFileShareRead && FILE_SHARE_WRITE == kFileShareWrite);
static_assert(OPEN_EXISTING == kOpenExisting && FILE_FLAG_OVERLAPPED == kFileFlagOverlapped);
static_assert(FILE_ATTRIBUTE_NORMAL == kFileAttributeNormal);
static_assert(DIGCF_PRESENT == kDigcfPresent && DIGCF_DEVICEINTERFACE == kDigcfDeviceInterface);
static_assert(static_cast<std::uint32_t>(HIDP_STATUS_SUCCESS) == kHidpStatusSuccess);

HDEVINFO ToSet(InfoSet set) { return reinterpret_cast<HDEVINFO>(set); }

class Windows final : public SystemCalls {
public:
    Guid HidGuid() override
    {
        GUID g;
        HidD_GetHidGuid(&g);
        return FromWindowsGuid(g);
    }

    InfoSet GetClassDevs(const Guid& classGuid, std::uint32_t flags) override
    {
        const GUID g = ToWindowsGuid(classGuid);
        const HDEVINFO set = SetupDiGetClassDevsW(&g, nullptr, nullptr, flags);
        return set == INVALID_HANDLE_VALUE ? kInvalidSet : reinterpret_cast<InfoSet>(set);
    }

    void DestroyDeviceInfoList(InfoSet set) override { SetupDiDestroyDeviceInfoList(ToSet(set)); }

    bool EnumDeviceInterfaces(InfoSet set, const Guid& classGuid, std::uint32_t index, InterfaceRef& out) override
    {
        const GUID g = ToWindowsGuid(classGuid);
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        if (!SetupDiEnumDeviceInterfaces(ToSet(set), nullptr, &g, index, &data))
            return false;
        std::memcpy(out.bytes, &data, sizeof data);
        return true;
    }

    bool GetDeviceInterfaceDetail(InfoSet set, const InterfaceRef& iface, std::byte* buffer, std::uint32_t size,
                                  std::uint32_t& requiredSize) override
    {
        SP_DEVICE_INTERFACE_DATA data;
        std::memcpy(&data, iface.bytes, sizeof data);
        DWORD required = 0;
        const BOOL ok = SetupDiGetDeviceInterfaceDetailW(
            ToSet(set), &data, reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_W>(buffer), size, &required, nullptr);
        requiredSize = required;
        return ok != FALSE;
    }

    SysHandle OpenDevice(const char16_t* path, std::uint32_t access, std::uint32_t share, std::uint32_t disposition,
                         std::uint32_t flags) override
    {
        return FromHandle(CreateFileW(reinterpret_cast<const wchar_t*>(path), access, share, nullptr, disposition,
                                      flags, nullptr));
    }

    void CloseHandle(SysHandle handle) override { ::CloseHandle(ToHandle(handle)); }

    bool GetAttributes(SysHandle device, HidAttributes& out) override
    {
        HIDD_ATTRIBUTES a{};
        a.Size = sizeof a;
        if (!HidD_GetAttributes(ToHandle(device), &a))
            return false;
        out.vendorId = a.VendorID;
        out.productId = a.ProductID;
        out.versionNumber = a.VersionNumber;
        return true;
    }

    bool GetPreparsedData(SysHandle device, PreparsedData& out) override
    {
        PHIDP_PREPARSED_DATA data = nullptr;
        if (!HidD_GetPreparsedData(ToHandle(device), &data))
            return false;
        out = reinterpret_cast<PreparsedData>(data);
        return true;
    }

    void FreePreparsedData(PreparsedData data) override
    {
        HidD_FreePreparsedData(reinterpret_cast<PHIDP_PREPARSED_DATA>(data));
    }

    std::uint32_t GetCaps(PreparsedData data, HidCaps& out) override
    {
        HIDP_CAPS caps{};
        const NTSTATUS status = HidP_GetCaps(reinterpret_cast<PHIDP_PREPARSED_DATA>(data), &caps);
        out.usage = caps.Usage;
        out.usagePage = caps.UsagePage;
        return static_cast<std::uint32_t>(status);
    }

    bool SetFeature(SysHandle device, void* report, std::uint32_t length) override
    {
        return HidD_SetFeature(ToHandle(device), report, length) != FALSE;
    }
    bool GetFeature(SysHandle device, void* report, std::uint32_t length) override
    {
        return HidD_GetFeature(ToHandle(device), report, length) != FALSE;
    }
    bool SetOutputReport(SysHandle device, void* report, std::uint32_t length) override
    {
        return HidD_SetOutputReport(ToHandle(device), report, length) != FALSE;
    }
    bool GetInputReport(SysHandle device, void* report, std::uint32_t length) override
    {
        return HidD_GetInputReport(ToHandle(device), report, length) != FALSE;
    }

    NotifyHandle RegisterInterfaceNotification(WindowHandle window, const Guid& classGuid) override
    {
        // 32 bytes: size, type, reserved, class, and an empty name.
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = ToWindowsGuid(classGuid);
        return reinterpret_cast<NotifyHandle>(
            RegisterDeviceNotificationW(reinterpret_cast<HWND>(window), &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
    }

    NotifyHandle RegisterHandleNotification(WindowHandle window, SysHandle device) override
    {
        // 44 bytes on 32-bit Windows; everything but size, type and the
        // handle stays zero.
        DEV_BROADCAST_HANDLE filter{};
        filter.dbch_size = sizeof filter;
        filter.dbch_devicetype = DBT_DEVTYP_HANDLE;
        filter.dbch_handle = ToHandle(device);
        return reinterpret_cast<NotifyHandle>(
            RegisterDeviceNotificationW(reinterpret_cast<HWND>(window), &filter, DEVICE_NOTIFY_WINDOW_HANDLE));
    }

    std::int32_t UnregisterNotification(NotifyHandle notification) override
    {
        return UnregisterDeviceNotification(reinterpret_cast<HDEVNOTIFY>(notification));
    }

    void SetLastError(std::uint32_t code) override { ::SetLastError(code); }
};

}  // namespace

SystemCalls& WindowsSystem()
{
    static Windows system;
    return system;
}

}  // namespace cpk::devicelib
