#include "hid_devices.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace cpk::devicelib {

namespace {

constexpr std::uint32_t kInterfaceSetFlags = kDigcfPresent | kDigcfDeviceInterface;  // 0x12

// Opens a device for queries only: access 0 also reaches the mice and
// keyboards the system holds open for itself.
OwnedFile OpenForQuery(SystemCalls& sys, const char16_t* path)
{
    return OwnedFile(sys, sys.OpenDevice(path, 0, kFileShareRead | kFileShareWrite, kOpenExisting,
                                         kFileFlagOverlapped));
}

// Reads the attributes and top-level capabilities of the device at path.
// False when it cannot be opened or any query fails; the handle and the
// preparsed data are released before returning.
bool QueryIdentity(SystemCalls& sys, const char16_t* path, HidAttributes& attributes, HidCaps& caps)
{
    OwnedFile device = OpenForQuery(sys, path);
    if (!device)
        return false;
    PreparsedData raw = 0;
    if (!sys.GetAttributes(device.get(), attributes) || !sys.GetPreparsedData(device.get(), raw))
        return false;
    OwnedPreparsed preparsed(sys, raw);
    return sys.GetCaps(preparsed.get(), caps) == kHidpStatusSuccess;
}

bool Matches(const HidSelection& selection, const HidAttributes& attributes, const HidCaps& caps)
{
    return (selection.vendorId == 0 || selection.vendorId == attributes.vendorId) &&
           (selection.productId == 0 || selection.productId == attributes.productId) &&
           (selection.usagePage == 0 || selection.usagePage == caps.usagePage) &&
           (selection.usage == 0 || selection.usage == caps.usage);
}

void AppendUnique(std::vector<std::u16string>& list, std::u16string path)
{
    if (std::find(list.begin(), list.end(), path) == list.end())
        list.push_back(std::move(path));
}

char16_t LowerAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

int HexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

}  // namespace

void WriteOutputText(char16_t* out, std::u16string_view text) noexcept
{
    if (out == nullptr)
        return;
    const std::size_t n = std::min(text.size(), kOutputTextLimit - 1);
    std::copy_n(text.data(), n, out);
    out[n] = u'\0';
}

std::u16string GetHidInterfacePathByIndex(SystemCalls& sys, InfoSet set, const Guid& hidGuid, std::uint32_t index)
{
    InterfaceRef iface;
    if (!sys.EnumDeviceInterfaces(set, hidGuid, index, iface))
        return {};

    // The size query is expected to fail (the buffer is too small); one that
    // succeeds leaves nothing to read.
    std::uint32_t required = 0;
    if (sys.GetDeviceInterfaceDetail(set, iface, nullptr, 0, required))
        return {};
    if (required < kDetailPathOffset + sizeof(char16_t))
        return {};

    std::vector<std::byte> buffer(required);
    const std::uint32_t headerSize = kDetailHeaderSize;
    std::memcpy(buffer.data(), &headerSize, sizeof headerSize);
    std::uint32_t ignored = 0;
    if (!sys.GetDeviceInterfaceDetail(set, iface, buffer.data(), required, ignored))
        return {};

    // DevicePath follows the size field; read up to its terminator, never
    // past the buffer the system filled.
    std::u16string path;
    for (std::size_t offset = kDetailPathOffset; offset + sizeof(char16_t) <= buffer.size();
         offset += sizeof(char16_t)) {
        char16_t c;
        std::memcpy(&c, buffer.data() + offset, sizeof c);
        if (c == u'\0')
            break;
        path.push_back(c);
    }
    return path;
}

std::vector<std::u16string> CollectHidDevices(SystemCalls& sys, const HidSelection& selection)
{
    std::vector<std::u16string> list;
    const Guid hidGuid = sys.HidGuid();
    OwnedSet set(sys, sys.GetClassDevs(hidGuid, kInterfaceSetFlags));
    if (!set)
        return list;

    for (std::uint32_t index = 0;; ++index) {
        std::u16string path = GetHidInterfacePathByIndex(sys, set.get(), hidGuid, index);
        if (path.empty())
            break;

        HidAttributes attributes;
        HidCaps caps;
        if (QueryIdentity(sys, path.c_str(), attributes, caps) && Matches(selection, attributes, caps))
            AppendUnique(list, std::move(path));
    }
    return list;
}

std::int32_t AnswerListEntry(const std::vector<std::u16string>& list, std::int32_t index, char16_t* out) noexcept
{
    const auto count = static_cast<std::int32_t>(list.size());
    if (index >= 0 && index < count)
        WriteOutputText(out, list[static_cast<std::size_t>(index)]);
    return count;
}

std::int32_t GetHidDeviceFromCustomHidList(SystemCalls& sys, std::uint16_t vendorId, std::uint16_t productId,
                                           std::uint16_t usagePage, std::uint16_t usage, std::int32_t index,
                                           char16_t* out)
{
    return AnswerListEntry(CollectHidDevices(sys, {vendorId, productId, usagePage, usage}), index, out);
}

std::int32_t GetHidDeviceName(SystemCalls& sys, std::uint16_t vendorId, std::uint16_t productId,
                              std::uint32_t usagePage, std::uint32_t usage, std::int32_t index, char16_t* out)
{
    return AnswerListEntry(CollectHidDevices(sys, {vendorId, productId, usagePage, usage}), index, out);
}

std::int32_t GetHidDeviceFromHidList(SystemCalls& sys, std::uint16_t vendorId, std::uint16_t productId,
                                     std::int32_t index, char16_t* out)
{
    return AnswerListEntry(CollectHidDevices(sys, {vendorId, productId, kId4UsagePage, kId4Usage}), index, out);
}

std::int32_t GetUSBDeviceInterfacePath(SystemCalls& sys, std::int32_t index, char16_t* out)
{
    std::vector<std::u16string> list;
    const Guid hidGuid = sys.HidGuid();
    OwnedSet set(sys, sys.GetClassDevs(hidGuid, kInterfaceSetFlags));
    if (set) {
        for (std::uint32_t i = 0;; ++i) {
            std::u16string path = GetHidInterfacePathByIndex(sys, set.get(), hidGuid, i);
            if (path.empty())
                break;
            AppendUnique(list, std::move(path));
        }
    }
    return AnswerListEntry(list, index, out);
}

bool GetHidIDs(SystemCalls& sys, const char16_t* path, std::uint16_t* vendorId, std::uint16_t* productId,
               std::uint16_t* usagePage, std::uint16_t* usage)
{
    if (path == nullptr) {
        sys.SetLastError(kErrorInvalidParameter);
        return false;
    }
    HidAttributes attributes;
    HidCaps caps;
    if (!QueryIdentity(sys, path, attributes, caps))
        return false;
    if (vendorId)
        *vendorId = attributes.vendorId;
    if (productId)
        *productId = attributes.productId;
    if (usagePage)
        *usagePage = caps.usagePage;
    if (usage)
        *usage = caps.usage;
    return true;
}

std::u16string GuidToLowerText(const Guid& guid)
{
    static constexpr char16_t digits[] = u"0123456789abcdef";
    std::u16string text;
    auto put = [&](std::uint64_t value, int width) {
        for (int shift = (width - 1) * 4; shift >= 0; shift -= 4)
            text.push_back(digits[(value >> shift) & 0xF]);
    };
    put(guid.data1, 8);
    text.push_back(u'-');
    put(guid.data2, 4);
    text.push_back(u'-');
    put(guid.data3, 4);
    text.push_back(u'-');
    put(guid.data4[0], 2);
    put(guid.data4[1], 2);
    text.push_back(u'-');
    for (int i = 2; i < 8; ++i)
        put(guid.data4[i], 2);
    return text;
}

bool IsId4Device(SystemCalls& sys, const char16_t* path)
{
    if (path == nullptr) {
        sys.SetLastError(kErrorInvalidParameter);
        return false;
    }
    // Only paths of the HID class, as the setup services write them (lower
    // case), are looked at; nothing is opened for any other.
    if (std::u16string_view(path).find(GuidToLowerText(sys.HidGuid())) == std::u16string_view::npos)
        return false;

    HidAttributes attributes;
    HidCaps caps;
    return QueryIdentity(sys, path, attributes, caps) && caps.usagePage == kId4UsagePage &&
           caps.usage == kId4Usage;
}

std::uint32_t ParseHexDigits(std::u16string_view text) noexcept
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < text.size() && i < 8; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0)
            break;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::uint16_t GetPidOfId4Path(std::u16string_view path)
{
    std::u16string lower(path);
    std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
    // Without "pid_" the digits are looked for where they would stand if the
    // marker began one place before the path: from the fourth character on.
    const std::size_t marker = lower.find(u"pid_");
    const std::size_t start = marker == std::u16string::npos ? 3 : marker + 4;
    if (start >= lower.size())
        return 0;
    return static_cast<std::uint16_t>(ParseHexDigits(std::u16string_view(lower).substr(start, 4)));
}

bool TransferByPath(SystemCalls& sys, PathTransfer kind, const char16_t* path, void* report, std::uint32_t length)
{
    if (path == nullptr || (report == nullptr && length != 0)) {
        sys.SetLastError(kErrorInvalidParameter);
        return false;
    }
    OwnedFile device(sys, sys.OpenDevice(path, kGenericRead | kGenericWrite, kFileShareRead | kFileShareWrite,
                                         kOpenExisting, 0));
    if (!device)
        return false;
    switch (kind) {
    case PathTransfer::SetFeature:
        return sys.SetFeature(device.get(), report, length);
    case PathTransfer::GetFeature:
        return sys.GetFeature(device.get(), report, length);
    case PathTransfer::SetOutputReport:
        return sys.SetOutputReport(device.get(), report, length);
    }
    return false;
}

bool HandleSetFeature(SystemCalls& sys, SysHandle device, void* report, std::uint32_t length)
{
    return sys.SetFeature(device, report, length);
}

bool HandleGetFeature(SystemCalls& sys, SysHandle device, void* report, std::uint32_t length)
{
    return sys.GetFeature(device, report, length);
}

bool HandleSetOutputReport(SystemCalls& sys, SysHandle device, void* report, std::uint32_t length)
{
    return sys.SetOutputReport(device, report, length);
}

bool HandleGetOutputReport(SystemCalls& sys, SysHandle device, void* report, std::uint32_t length)
{
    return sys.GetInputReport(device, report, length);
}

SysHandle GetDeviceViaInterfaceGuid(SystemCalls& sys, const Guid* classGuid, std::uint32_t index)
{
    if (classGuid == nullptr) {
        sys.SetLastError(kErrorInvalidParameter);
        return 0;
    }
    OwnedSet set(sys, sys.GetClassDevs(*classGuid, kInterfaceSetFlags));
    if (!set)
        return 0;
    const std::u16string path = GetHidInterfacePathByIndex(sys, set.get(), *classGuid, index);
    if (path.empty())
        return 0;
    const SysHandle device = sys.OpenDevice(path.c_str(), kGenericRead | kGenericWrite,
                                            kFileShareRead | kFileShareWrite, kOpenExisting,
                                            kFileFlagOverlapped | kFileAttributeNormal);
    return device == kInvalidHandle ? 0 : device;
}

NotifyHandle RegisterArrivalRemove(SystemCalls& sys, WindowHandle window)
{
    // The first three registrations stay in force until the window goes
    // away; only the last one's handle is given back.
    const std::array<Guid, 4> classes{kUsbDeviceInterface, sys.HidGuid(), kMouseInterface, kKeyboardInterface};
    NotifyHandle last = 0;
    for (const Guid& cls : classes)
        last = sys.RegisterInterfaceNotification(window, cls);
    return last;
}

}  // namespace cpk::devicelib
