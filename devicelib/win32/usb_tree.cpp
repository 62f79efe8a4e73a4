// USB hub tree and ports, HID device to USB port, and USB device restart.
// These talk to the USB host controller and hub drivers with their I/O
// requests and to the setup services and configuration manager directly;
// the answers are read from byte buffers with every length checked, since a
// driver's reported length is not trusted to fit what was allocated.
#include "device_library.h"
#include "export_guard.h"
#include "hid_devices.h"
#include "windows_system.h"

#include <windows.h>

#include <winioctl.h>

#include <cfgmgr32.h>
#include <setupapi.h>
#include <usbioctl.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using namespace cpk::devicelib;

namespace {

// Connection information as the extended request answers it: the 35-byte
// fixed part and room for 30 pipe entries of 11 bytes.
constexpr DWORD kConnectionInfoSize = 365;
constexpr std::size_t kIdVendorOffset = 4 + 8;
constexpr std::size_t kIdProductOffset = 4 + 10;
constexpr std::size_t kBcdDeviceOffset = 4 + 12;
constexpr std::size_t kSpeedOffset = 23;
constexpr std::size_t kIsHubOffset = 24;
constexpr std::size_t kStatusOffset = 31;
constexpr DWORD kDeviceConnected = 1;
constexpr DWORD kNodeInformationSize = 76;
constexpr std::size_t kNumberOfPortsOffset = 6;
constexpr DWORD kDescriptorHeaderSize = 12;
// No driver name is this long; a larger reported length is refused.
constexpr DWORD kMaxNameBytes = 64 * 1024;
// USB allows five hubs in a row below the root hub.
constexpr int kMaxHubDepth = 8;

const GUID kHostControllerClass{0x3ABF6F2D, 0x71C4, 0x462A, {0x8A, 0x92, 0x1E, 0x68, 0x61, 0xE6, 0xAF, 0x27}};

using ConnectionInfo = std::array<BYTE, kConnectionInfoSize>;

struct UsbPortRecord {
    std::wstring hubName;
    DWORD port = 0;
    WORD vendorId = 0;
    WORD productId = 0;
};

template <typename T>
T ReadAt(const BYTE* bytes, std::size_t offset)
{
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

// A zero-terminated UTF-16 string at offset, never read past the buffer.
std::wstring NameAt(const std::vector<BYTE>& buffer, std::size_t offset, std::size_t validBytes)
{
    std::wstring name;
    const std::size_t end = std::min(buffer.size(), validBytes);
    for (std::size_t at = offset; at + 2 <= end; at += 2) {
        const wchar_t c = ReadAt<wchar_t>(buffer.data(), at);
        if (c == L'\0')
            break;
        name.push_back(c);
    }
    return name;
}

// A hub or host controller handle; pending I/O is cancelled before it is
// closed.
class Hub {
public:
    explicit Hub(HANDLE h) noexcept : h_(h) {}
    ~Hub()
    {
        if (h_ != INVALID_HANDLE_VALUE) {
            CancelIo(h_);
            CloseHandle(h_);
        }
    }
    Hub(const Hub&) = delete;
    Hub& operator=(const Hub&) = delete;
    [[nodiscard]] explicit operator bool() const noexcept { return h_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE get() const noexcept { return h_; }

private:
    HANDLE h_;
};

HANDLE OpenNode(const std::wstring& path)
{
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
}

HANDLE OpenHub(const std::wstring& name)
{
    return OpenNode(L"\\\\.\\" + name);
}

bool Request(HANDLE h, DWORD code, void* buffer, DWORD inSize, DWORD outSize, DWORD& returned)
{
    returned = 0;
    return DeviceIoControl(h, code, inSize ? buffer : nullptr, inSize, buffer, outSize, &returned, nullptr) != FALSE;
}

// The two-step name requests: a header with the total length first, then
// the whole answer. portOffset < 0: the request takes no port.
std::wstring NameRequest(HANDLE h, DWORD code, DWORD headerSize, int portOffset, DWORD port, std::size_t nameOffset)
{
    std::vector<BYTE> header(headerSize, 0);
    if (portOffset >= 0)
        std::memcpy(header.data() + portOffset, &port, sizeof port);
    DWORD returned = 0;
    if (!Request(h, code, header.data(), portOffset >= 0 ? headerSize : 0, headerSize, returned))
        return {};
    const DWORD total = ReadAt<DWORD>(header.data(), portOffset >= 0 ? 4 : 0);
    if (total <= headerSize || total > kMaxNameBytes)
        return {};
    std::vector<BYTE> answer(total, 0);
    if (portOffset >= 0)
        std::memcpy(answer.data() + portOffset, &port, sizeof port);
    if (!Request(h, code, answer.data(), portOffset >= 0 ? total : 0, total, returned))
        return {};
    return NameAt(answer, nameOffset, returned);
}

std::wstring GetRootHubName(HANDLE controller)
{
    return NameRequest(controller, IOCTL_USB_GET_ROOT_HUB_NAME, 6, -1, 0, 4);
}

std::wstring GetChildHubName(HANDLE hub, DWORD port)
{
    return NameRequest(hub, IOCTL_USB_GET_NODE_CONNECTION_NAME, 10, 0, port, 8);
}

std::wstring GetDriverKeyName(HANDLE hub, DWORD port)
{
    return NameRequest(hub, IOCTL_USB_GET_NODE_CONNECTION_DRIVERKEY_NAME, 10, 0, port, 8);
}

std::optional<ConnectionInfo> GetConnectionInfo(HANDLE hub, DWORD port)
{
    ConnectionInfo info{};
    std::memcpy(info.data(), &port, sizeof port);
    DWORD returned = 0;
    if (Request(hub, IOCTL_USB_GET_NODE_CONNECTION_INFORMATION_EX, info.data(), kConnectionInfoSize,
                kConnectionInfoSize, returned))
        return info;

    // The older request has the same layout, with a low-speed flag where
    // the extended one has the speed.
    ConnectionInfo older{};
    std::memcpy(older.data(), &port, sizeof port);
    if (!Request(hub, IOCTL_USB_GET_NODE_CONNECTION_INFORMATION, older.data(), kConnectionInfoSize,
                 kConnectionInfoSize, returned))
        return std::nullopt;
    older[kSpeedOffset] = older[kSpeedOffset] ? 0 : 1;
    return older;
}

bool WalkHubPorts(std::int32_t vendorFilter, std::int32_t productFilter, const std::wstring& hubName,
                  std::vector<UsbPortRecord>& list, int depth)
{
    Hub hub(OpenHub(hubName));
    if (!hub)
        return false;
    std::vector<BYTE> node(kNodeInformationSize, 0);
    DWORD returned = 0;
    const DWORD ports = Request(hub.get(), IOCTL_USB_GET_NODE_INFORMATION, node.data(), kNodeInformationSize,
                                kNodeInformationSize, returned)
                            ? node[kNumberOfPortsOffset]
                            : 0;
    for (DWORD port = 1; port <= ports; ++port) {
        const auto info = GetConnectionInfo(hub.get(), port);
        if (!info || ReadAt<DWORD>(info->data(), kStatusOffset) != kDeviceConnected)
            continue;
        if ((*info)[kIsHubOffset]) {
            const std::wstring child = GetChildHubName(hub.get(), port);
            if (!child.empty() && depth < kMaxHubDepth)
                (void)WalkHubPorts(vendorFilter, productFilter, child, list, depth + 1);
            continue;
        }
        UsbPortRecord record{hubName, port, ReadAt<WORD>(info->data(), kIdVendorOffset),
                             ReadAt<WORD>(info->data(), kIdProductOffset)};
        if ((vendorFilter != -1 && vendorFilter != record.vendorId) ||
            (productFilter != -1 && productFilter != record.productId))
            continue;
        const bool known = std::any_of(list.begin(), list.end(), [&](const UsbPortRecord& r) {
            return r.hubName == record.hubName && r.port == record.port;
        });
        if (!known)
            list.push_back(std::move(record));
    }
    return true;
}

void WalkController(std::int32_t vendorFilter, std::int32_t productFilter, const std::wstring& path,
                    std::vector<UsbPortRecord>& list)
{
    Hub controller(OpenNode(path));
    if (!controller)
        return;
    const std::wstring root = GetRootHubName(controller.get());
    if (!root.empty())
        (void)WalkHubPorts(vendorFilter, productFilter, root, list, 0);
}

std::vector<UsbPortRecord> CollectUsbDevices(std::int32_t vendorFilter, std::int32_t productFilter)
{
    std::vector<UsbPortRecord> list;
    for (int n = 0; n < 10; ++n) {
        wchar_t name[32];
        wsprintfW(name, L"\\\\.\\HCD%d", n);
        WalkController(vendorFilter, productFilter, name, list);
    }
    SystemCalls& sys = WindowsSystem();
    const Guid hostClass = FromWindowsGuid(kHostControllerClass);
    OwnedSet set(sys, sys.GetClassDevs(hostClass, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (set) {
        for (std::uint32_t i = 0;; ++i) {
            const std::u16string path = GetHidInterfacePathByIndex(sys, set.get(), hostClass, i);
            if (path.empty())
                break;
            WalkController(vendorFilter, productFilter, std::wstring(path.begin(), path.end()), list);
        }
    }
    return list;
}

void WriteName(WCHAR* out, const std::wstring& name)
{
    WriteOutputText(reinterpret_cast<char16_t*>(out),
                    std::u16string_view(reinterpret_cast<const char16_t*>(name.c_str()), name.size()));
}

std::optional<ConnectionInfo> PortInfo(const WCHAR* hubName, DWORD port)
{
    if (hubName == nullptr)
        return std::nullopt;
    Hub hub(OpenHub(hubName));
    if (!hub)
        return std::nullopt;
    return GetConnectionInfo(hub.get(), port);
}

bool DescriptorRequest(const WCHAR* hubName, DWORD port, WORD value, WORD index, WORD length, BYTE* data,
                       WORD* received, bool copyReceivedOnly)
{
    if (hubName == nullptr || (data == nullptr && length != 0 && (copyReceivedOnly || received == nullptr))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    Hub hub(OpenHub(hubName));
    if (!hub)
        return false;
    std::vector<BYTE> request(kDescriptorHeaderSize + length, 0);
    std::memcpy(request.data(), &port, sizeof port);
    request[4] = 0x80;  // device to host, standard, device
    request[5] = 6;     // GET_DESCRIPTOR
    std::memcpy(request.data() + 6, &value, 2);
    std::memcpy(request.data() + 8, &index, 2);
    std::memcpy(request.data() + 10, &length, 2);
    DWORD returned = 0;
    const auto size = static_cast<DWORD>(request.size());
    if (!Request(hub.get(), IOCTL_USB_GET_DESCRIPTOR_FROM_NODE_CONNECTION, request.data(), size, size, returned))
        return false;
    const WORD got = static_cast<WORD>(
        std::min<DWORD>(returned > kDescriptorHeaderSize ? returned - kDescriptorHeaderSize : 0, length));
    if (received)
        *received = got;
    if (data)
        std::memcpy(data, request.data() + kDescriptorHeaderSize, copyReceivedOnly ? got : length);
    return true;
}

// ---- HID device to USB port ----

bool EqualIgnoringAsciiCase(const std::wstring& a, const std::wstring& b)
{
    auto fold = [](wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) { return fold(x) == fold(y); });
}

std::u16string LowerAscii(std::u16string s)
{
    for (char16_t& c : s)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return s;
}

struct DevInfoSet {
    explicit DevInfoSet(HDEVINFO s) noexcept : set(s) {}
    ~DevInfoSet()
    {
        if (set != INVALID_HANDLE_VALUE)
            SetupDiDestroyDeviceInfoList(set);
    }
    DevInfoSet(const DevInfoSet&) = delete;
    DevInfoSet& operator=(const DevInfoSet&) = delete;
    HDEVINFO set;
};

std::wstring DeviceIdOf(DEVINST node)
{
    ULONG length = 0;
    if (CM_Get_Device_ID_Size(&length, node, 0) != CR_SUCCESS)
        return {};
    std::vector<wchar_t> id(length + 1, L'\0');
    if (CM_Get_Device_IDW(node, id.data(), length + 1, 0) != CR_SUCCESS)
        return {};
    return id.data();
}

std::wstring GetHidParentInstanceId(const WCHAR* path)
{
    SystemCalls& sys = WindowsSystem();
    const Guid hid = sys.HidGuid();
    const GUID hidClass = ToWindowsGuid(hid);
    DevInfoSet set(SetupDiGetClassDevsW(&hidClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
    if (set.set == INVALID_HANDLE_VALUE)
        return {};
    const std::u16string wanted = LowerAscii(reinterpret_cast<const char16_t*>(path));
    std::int32_t found = -1;
    for (std::uint32_t i = 0;; ++i) {
        const std::u16string p = GetHidInterfacePathByIndex(sys, reinterpret_cast<InfoSet>(set.set), hid, i);
        if (p.empty())
            break;
        if (LowerAscii(p) == wanted) {
            found = static_cast<std::int32_t>(i);
            break;
        }
    }
    if (found < 0)
        return {};
    // In this set each HID device has one interface: the indexes coincide.
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    if (!SetupDiEnumDeviceInfo(set.set, static_cast<DWORD>(found), &device))
        return {};
    DEVINST parent = 0;
    if (CM_Get_Parent(&parent, device.DevInst, 0) != CR_SUCCESS)
        return {};
    return DeviceIdOf(parent);
}

std::wstring GetInstanceIdFromDriverKey(const std::wstring& driverKey)
{
    if (driverKey.empty())
        return {};
    DevInfoSet set(SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (set.set == INVALID_HANDLE_VALUE)
        return {};
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set.set, i, &device); ++i) {
        std::vector<BYTE> value(256, 0);
        DWORD needed = 0;
        BOOL ok;
        while (!(ok = SetupDiGetDeviceRegistryPropertyW(set.set, &device, SPDRP_DRIVER, nullptr, value.data(),
                                                        static_cast<DWORD>(value.size()), &needed)) &&
               GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > value.size() && needed <= kMaxNameBytes)
            value.assign(needed, 0);
        if (!ok)
            continue;
        value.push_back(0);
        value.push_back(0);
        if (NameAt(value, 0, value.size()) == driverKey) {
            wchar_t id[256] = {};
            if (SetupDiGetDeviceInstanceIdW(set.set, &device, id, 256, nullptr))
                return id;
            return {};
        }
    }
    return {};
}

std::wstring GetPortInstanceId(const std::wstring& hubName, DWORD port)
{
    Hub hub(OpenHub(hubName));
    if (!hub)
        return {};
    return GetInstanceIdFromDriverKey(GetDriverKeyName(hub.get(), port));
}

std::vector<std::wstring> GetPortChildren(const std::wstring& hubName, DWORD port)
{
    std::vector<std::wstring> children;
    const std::wstring id = GetPortInstanceId(hubName, port);
    if (id.empty())
        return children;
    ULONG size = 0;
    if (CM_Get_Device_ID_List_SizeW(&size, id.c_str(), CM_GETIDLIST_FILTER_BUSRELATIONS) != CR_SUCCESS || size == 0)
        return children;
    std::vector<wchar_t> list(size + 2, L'\0');
    if (CM_Get_Device_ID_ListW(id.c_str(), list.data(), size, CM_GETIDLIST_FILTER_BUSRELATIONS) != CR_SUCCESS)
        return children;
    for (const wchar_t* at = list.data(); *at != L'\0' && at < list.data() + size; at += wcslen(at) + 1)
        children.emplace_back(at);
    return children;
}

std::optional<UsbPortRecord> MapHidToUsbPort(const WCHAR* path)
{
    const std::wstring target = GetHidParentInstanceId(path);
    if (target.empty())
        return std::nullopt;
    for (const UsbPortRecord& record : CollectUsbDevices(-1, -1)) {
        for (const std::wstring& child : GetPortChildren(record.hubName, record.port))
            if (EqualIgnoringAsciiCase(child, target))
                return record;
        if (EqualIgnoringAsciiCase(GetPortInstanceId(record.hubName, record.port), target))
            return record;
    }
    return std::nullopt;
}

bool WriteMapping(const WCHAR* path, WCHAR* hubName, DWORD* port)
{
    const auto record = MapHidToUsbPort(path);
    WriteName(hubName, record ? record->hubName : std::wstring());
    if (record && port)
        *port = record->port;
    return record.has_value();
}

}  // namespace

extern "C" {

INT32 DEVLIB_API GetUsbDeviceFromHub(WORD vendorId, WORD productId, INT32 index, WCHAR* hubName, DWORD* port)
{
    return Guarded<INT32>(0, [&] {
        const auto list = CollectUsbDevices(vendorId == 0 ? -1 : vendorId, productId == 0 ? -1 : productId);
        const auto count = static_cast<INT32>(list.size());
        if (index >= 0 && index < count) {
            WriteName(hubName, list[static_cast<std::size_t>(index)].hubName);
            if (port)
                *port = list[static_cast<std::size_t>(index)].port;
        }
        return count;
    });
}

DEVLIB_BOOL8 DEVLIB_API isDeviceExist(const WCHAR* hubName, DWORD port)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] {
        const auto info = PortInfo(hubName, port);
        return DEVLIB_BOOL8(info && ReadAt<DWORD>(info->data(), kStatusOffset) == kDeviceConnected);
    });
}

DEVLIB_BOOL8 DEVLIB_API GetUsbDeviceVIDPIDFromHub(const WCHAR* hubName, DWORD port, WORD* vendorId, WORD* productId)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] {
        const auto info = PortInfo(hubName, port);
        if (!info)
            return DEVLIB_BOOL8(0);
        if (vendorId)
            *vendorId = ReadAt<WORD>(info->data(), kIdVendorOffset);
        if (productId)
            *productId = ReadAt<WORD>(info->data(), kIdProductOffset);
        return DEVLIB_BOOL8(1);
    });
}

DEVLIB_BOOL8 DEVLIB_API GetUsbDeviceVIDPIDSNFromHub(const WCHAR* hubName, DWORD port, WORD* vendorId,
                                                    WORD* productId, WORD* releaseNumber)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] {
        const auto info = PortInfo(hubName, port);
        if (!info)
            return DEVLIB_BOOL8(0);
        if (vendorId)
            *vendorId = ReadAt<WORD>(info->data(), kIdVendorOffset);
        if (productId)
            *productId = ReadAt<WORD>(info->data(), kIdProductOffset);
        if (releaseNumber)
            *releaseNumber = ReadAt<WORD>(info->data(), kBcdDeviceOffset);
        return DEVLIB_BOOL8(1);
    });
}

DEVLIB_BOOL8 DEVLIB_API Read(const WCHAR* hubName, DWORD port, WORD value, WORD index, WORD length, BYTE* data)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] {
        return DEVLIB_BOOL8(DescriptorRequest(hubName, port, value, index, length, data, nullptr, false));
    });
}

DEVLIB_BOOL8 DEVLIB_API ReadEx(const WCHAR* hubName, DWORD port, WORD value, WORD index, WORD length, BYTE* data,
                               WORD* received)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] {
        return DEVLIB_BOOL8(DescriptorRequest(hubName, port, value, index, length, data, received, true));
    });
}

DEVLIB_BOOL8 DEVLIB_API Write(const WCHAR* hubName, DWORD port, WORD value, WORD index, WORD length)
{
    return Guarded<DEVLIB_BOOL8>(0, [&] {
        return DEVLIB_BOOL8(DescriptorRequest(hubName, port, value, index, length, nullptr, nullptr, false));
    });
}

DEVLIB_BOOL8 DEVLIB_API GetUsbDeviceFromHidDevice(const WCHAR* path, WCHAR* hubName, DWORD* port)
{
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Guarded<DEVLIB_BOOL8>(0, [&] { return DEVLIB_BOOL8(WriteMapping(path, hubName, port)); });
}

INT32 DEVLIB_API GetUsbDeviceFromHidList(WORD vendorId, WORD productId, INT32 index, WCHAR* hubName, DWORD* port)
{
    return Guarded<INT32>(0, [&] {
        const auto list = CollectHidDevices(WindowsSystem(), {vendorId, productId, kId4UsagePage, kId4Usage});
        const auto count = static_cast<INT32>(list.size());
        if (index >= 0 && index < count) {
            const std::u16string& path = list[static_cast<std::size_t>(index)];
            (void)WriteMapping(reinterpret_cast<const WCHAR*>(path.c_str()), hubName, port);
        }
        return count;
    });
}

DEVLIB_BOOL8 DEVLIB_API UsbReset(WORD vendorId, WORD productId)
{
    return Guarded<DEVLIB_BOOL8>(0, [&]() -> DEVLIB_BOOL8 {
        wchar_t lower[260];
        wchar_t upper[260];
        wsprintfW(lower, L"USB\\Vid_%04x&Pid_%04x", vendorId, productId);
        wsprintfW(upper, L"USB\\Vid_%04X&Pid_%04X", vendorId, productId);

        DevInfoSet set(SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
        if (set.set == INVALID_HANDLE_VALUE)
            return 0;
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        bool taken = false;
        for (DWORD i = 0; SetupDiEnumDeviceInfo(set.set, i, &device); ++i) {
            wchar_t ids[260] = {};
            // At most 512 bytes, so the first ID stays terminated.
            (void)SetupDiGetDeviceRegistryPropertyW(set.set, &device, SPDRP_HARDWAREID, nullptr,
                                                    reinterpret_cast<BYTE*>(ids), 512, nullptr);
            ids[259] = L'\0';
            if (wcsstr(ids, lower) != nullptr || wcsstr(ids, upper) != nullptr) {
                taken = true;
                break;
            }
        }
        if (!taken)
            return 0;

        SP_PROPCHANGE_PARAMS change{};
        change.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
        change.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
        change.StateChange = DICS_PROPCHANGE;
        change.Scope = DICS_FLAG_CONFIGSPECIFIC;
        change.HwProfile = 0;
        if (!SetupDiSetClassInstallParamsW(set.set, &device, &change.ClassInstallHeader, sizeof change) ||
            !SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set.set, &device))
            return 0;

        auto needsRestart = [](const SP_DEVINSTALL_PARAMS_W& p) {
            return (p.Flags & (DI_NEEDRESTART | DI_NEEDREBOOT)) != 0;
        };
        SP_DEVINSTALL_PARAMS_W params{};
        params.cbSize = sizeof params;
        if (SetupDiGetDeviceInstallParamsW(set.set, &device, &params) && needsRestart(params))
            return 0;
        // The wait for a read that fails without a reason is bounded: about
        // ten seconds, then the restart counts as not completed.
        for (int attempt = 0; attempt < 100; ++attempt) {
            params = SP_DEVINSTALL_PARAMS_W{};
            params.cbSize = sizeof params;
            SetLastError(0);
            if (SetupDiGetDeviceInstallParamsW(set.set, &device, &params)) {
                if (!needsRestart(params))
                    return 1;
                Sleep(333);
                return 0;
            }
            if (GetLastError() != 0)
                return 0;
            Sleep(100);
        }
        return 0;
    });
}

}  // extern "C"
