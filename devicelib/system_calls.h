// The narrow table of system calls the device library makes. The library's
// algorithms (HID lists, identification, report transfer, notification
// registration) are written against this table only, so they run unchanged
// against the real setup services and HID library on Windows
// (win32/windows_system.cpp) and against a scripted fake on any host.
//
// Every call mirrors one Windows function and keeps its failure convention:
// handles that the system reports as INVALID_HANDLE_VALUE come back as
// kInvalidHandle / kInvalidSet, booleans as bool, NTSTATUS as uint32_t. The
// table never touches the thread's last-error code beyond what the mirrored
// system call does itself.
#pragma once

#include <cstddef>
#include <cstdint>

namespace cpk::devicelib {

// Windows object handles, carried as integers so the portable code needs no
// system header.
using SysHandle = std::uintptr_t;
inline constexpr SysHandle kInvalidHandle = ~SysHandle{0};
using InfoSet = std::uintptr_t;
inline constexpr InfoSet kInvalidSet = ~InfoSet{0};
using PreparsedData = std::uintptr_t;  // 0: none
using WindowHandle = std::uintptr_t;
using NotifyHandle = std::uintptr_t;   // 0: registration failed

struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};

    friend bool operator==(const Guid&, const Guid&) = default;
};

// Published interface classes the notification entry registers for.
inline constexpr Guid kUsbDeviceInterface{0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
inline constexpr Guid kMouseInterface{0x378DE44C, 0x56EF, 0x11D1, {0xBC, 0x8C, 0x00, 0xA0, 0xC9, 0x14, 0x05, 0xDD}};
inline constexpr Guid kKeyboardInterface{0x884B96C3, 0x56EF, 0x11D1, {0xBC, 0x8C, 0x00, 0xA0, 0xC9, 0x14, 0x05, 0xDD}};

struct HidAttributes {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t versionNumber = 0;
};

// The part of a top-level collection's capabilities the library looks at.
struct HidCaps {
    std::uint16_t usage = 0;
    std::uint16_t usagePage = 0;
};

// The setup services' per-interface record (SP_DEVICE_INTERFACE_DATA),
// opaque to the portable code: it is filled by EnumInterface and handed back
// to InterfaceDetail unchanged.
struct InterfaceRef {
    alignas(8) unsigned char bytes[32] = {};
};

// Values of the Windows constants the algorithms pass through the table.
inline constexpr std::uint32_t kGenericRead = 0x80000000u;
inline constexpr std::uint32_t kGenericWrite = 0x40000000u;
inline constexpr std::uint32_t kFileShareRead = 0x1u;
inline constexpr std::uint32_t kFileShareWrite = 0x2u;
inline constexpr std::uint32_t kOpenExisting = 3u;
inline constexpr std::uint32_t kFileFlagOverlapped = 0x40000000u;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80u;
inline constexpr std::uint32_t kDigcfPresent = 0x2u;
inline constexpr std::uint32_t kDigcfDeviceInterface = 0x10u;
inline constexpr std::uint32_t kHidpStatusSuccess = 0x00110000u;

// SP_DEVICE_INTERFACE_DETAIL_DATA_W: a 32-bit size field followed by the
// path. The size field must hold the fixed header size of the platform,
// 6 with 32-bit pointers and 8 with 64-bit ones (the structure is packed
// differently on the two).
inline constexpr std::uint32_t kDetailHeaderSize = sizeof(void*) == 8 ? 8u : 6u;
inline constexpr std::size_t kDetailPathOffset = 4;

class SystemCalls {
public:
    virtual ~SystemCalls() = default;

    // HidD_GetHidGuid.
    virtual Guid HidGuid() = 0;

    // Setup services.
    // SetupDiGetClassDevsW(classGuid, no enumerator, no window, flags).
    virtual InfoSet GetClassDevs(const Guid& classGuid, std::uint32_t flags) = 0;
    virtual void DestroyDeviceInfoList(InfoSet set) = 0;
    // SetupDiEnumDeviceInterfaces(set, no device filter, classGuid, index).
    virtual bool EnumDeviceInterfaces(InfoSet set, const Guid& classGuid, std::uint32_t index,
                                      InterfaceRef& out) = 0;
    // SetupDiGetDeviceInterfaceDetailW; buffer may be null with size 0 for
    // the size query; requiredSize receives the size the system reports.
    virtual bool GetDeviceInterfaceDetail(InfoSet set, const InterfaceRef& iface, std::byte* buffer,
                                          std::uint32_t bufferSize, std::uint32_t& requiredSize) = 0;

    // Kernel: CreateFileW (no security attributes, no template) and
    // CloseHandle.
    virtual SysHandle OpenDevice(const char16_t* path, std::uint32_t access, std::uint32_t share,
                                 std::uint32_t disposition, std::uint32_t flags) = 0;
    virtual void CloseHandle(SysHandle handle) = 0;

    // HID library.
    virtual bool GetAttributes(SysHandle device, HidAttributes& out) = 0;
    virtual bool GetPreparsedData(SysHandle device, PreparsedData& out) = 0;
    virtual void FreePreparsedData(PreparsedData data) = 0;
    virtual std::uint32_t GetCaps(PreparsedData data, HidCaps& out) = 0;  // NTSTATUS
    virtual bool SetFeature(SysHandle device, void* report, std::uint32_t length) = 0;
    virtual bool GetFeature(SysHandle device, void* report, std::uint32_t length) = 0;
    virtual bool SetOutputReport(SysHandle device, void* report, std::uint32_t length) = 0;
    virtual bool GetInputReport(SysHandle device, void* report, std::uint32_t length) = 0;

    // Device notifications, RegisterDeviceNotificationW with a window
    // recipient: one for an interface class (DEV_BROADCAST_DEVICEINTERFACE_W
    // filter), one for an open device (DEV_BROADCAST_HANDLE filter).
    virtual NotifyHandle RegisterInterfaceNotification(WindowHandle window, const Guid& classGuid) = 0;
    virtual NotifyHandle RegisterHandleNotification(WindowHandle window, SysHandle device) = 0;
    virtual std::int32_t UnregisterNotification(NotifyHandle notification) = 0;

    // SetLastError, for the few failures the library detects itself
    // (rejected arguments, exhausted memory).
    virtual void SetLastError(std::uint32_t code) = 0;
};

// Move-only owners for what the table hands out; each releases through the
// table that created it.
template <typename Value, Value Empty, void (SystemCalls::*Release)(Value)>
class SysOwner {
public:
    SysOwner(SystemCalls& sys, Value value) noexcept : sys_(&sys), value_(value) {}
    ~SysOwner() { reset(); }
    SysOwner(SysOwner&& other) noexcept : sys_(other.sys_), value_(other.value_) { other.value_ = Empty; }
    SysOwner& operator=(SysOwner&& other) noexcept
    {
        if (this != &other) {
            reset();
            sys_ = other.sys_;
            value_ = other.value_;
            other.value_ = Empty;
        }
        return *this;
    }
    SysOwner(const SysOwner&) = delete;
    SysOwner& operator=(const SysOwner&) = delete;

    [[nodiscard]] Value get() const noexcept { return value_; }
    [[nodiscard]] explicit operator bool() const noexcept { return value_ != Empty; }
    [[nodiscard]] Value release() noexcept
    {
        const Value v = value_;
        value_ = Empty;
        return v;
    }
    void reset() noexcept
    {
        if (value_ != Empty)
            (sys_->*Release)(value_);
        value_ = Empty;
    }

private:
    SystemCalls* sys_;
    Value value_;
};

using OwnedFile = SysOwner<SysHandle, kInvalidHandle, &SystemCalls::CloseHandle>;
using OwnedSet = SysOwner<InfoSet, kInvalidSet, &SystemCalls::DestroyDeviceInfoList>;
using OwnedPreparsed = SysOwner<PreparsedData, PreparsedData{0}, &SystemCalls::FreePreparsedData>;

}  // namespace cpk::devicelib
