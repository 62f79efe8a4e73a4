// HID device lists, identification, report transfer and notification
// registration of the device library, written against the system-call table.
// The exported entries (win32/exports.cpp) are thin wrappers over these.
#pragma once

#include "system_calls.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cpk::devicelib {

// No entry takes an output buffer length. Every string an entry writes is
// cut to this many UTF-16 units including the terminating zero (the limit of
// the system's own "%ws" formatting), so a caller with a buffer of this size
// is never overrun.
inline constexpr std::size_t kOutputTextLimit = 1024;

// Writes text zero-terminated into out, at most kOutputTextLimit units in
// all. A null out writes nothing.
void WriteOutputText(char16_t* out, std::u16string_view text) noexcept;

// 0 in any field matches every device. Fields are 32 bits wide so that an
// entry taking 32-bit usage values can pass a value no device has.
struct HidSelection {
    std::uint32_t vendorId = 0;
    std::uint32_t productId = 0;
    std::uint32_t usagePage = 0;
    std::uint32_t usage = 0;
};

inline constexpr std::uint16_t kId4UsagePage = 0xFFA0;
inline constexpr std::uint16_t kId4Usage = 0xA5;

// The index-th interface path of a set of the HID class, or empty when the
// interface does not exist or its detail cannot be read.
[[nodiscard]] std::u16string GetHidInterfacePathByIndex(SystemCalls& sys, InfoSet set, const Guid& hidGuid,
                                                        std::uint32_t index);

// Paths of the present HID interfaces matching the selection, in enumeration
// order, each once (exact comparison).
[[nodiscard]] std::vector<std::u16string> CollectHidDevices(SystemCalls& sys, const HidSelection& selection);

// The count-and-index protocol over a list: the list's length, and for an
// index inside the list the path written to out.
[[nodiscard]] std::int32_t AnswerListEntry(const std::vector<std::u16string>& list, std::int32_t index,
                                           char16_t* out) noexcept;

// Entries.
[[nodiscard]] std::int32_t GetHidDeviceFromCustomHidList(SystemCalls& sys, std::uint16_t vendorId,
                                                         std::uint16_t productId, std::uint16_t usagePage,
                                                         std::uint16_t usage, std::int32_t index, char16_t* out);
[[nodiscard]] std::int32_t GetHidDeviceName(SystemCalls& sys, std::uint16_t vendorId, std::uint16_t productId,
                                            std::uint32_t usagePage, std::uint32_t usage, std::int32_t index,
                                            char16_t* out);
[[nodiscard]] std::int32_t GetHidDeviceFromHidList(SystemCalls& sys, std::uint16_t vendorId,
                                                   std::uint16_t productId, std::int32_t index, char16_t* out);
[[nodiscard]] std::int32_t GetUSBDeviceInterfacePath(SystemCalls& sys, std::int32_t index, char16_t* out);

[[nodiscard]] bool GetHidIDs(SystemCalls& sys, const char16_t* path, std::uint16_t* vendorId,
                             std::uint16_t* productId, std::uint16_t* usagePage, std::uint16_t* usage);
[[nodiscard]] bool IsId4Device(SystemCalls& sys, const char16_t* path);
[[nodiscard]] std::uint16_t GetPidOfId4Path(std::u16string_view path);
[[nodiscard]] std::uint32_t ParseHexDigits(std::u16string_view text) noexcept;

// The GUID as lower-case text grouped 8-4-4-4-12, without braces.
[[nodiscard]] std::u16string GuidToLowerText(const Guid& guid);

// Report transfer on a path: opens the device for reading and writing
// (synchronous), makes one call, closes. The last-error code is that of the
// failing open or transfer.
enum class PathTransfer { SetFeature, GetFeature, SetOutputReport };
[[nodiscard]] bool TransferByPath(SystemCalls& sys, PathTransfer kind, const char16_t* path, void* report,
                                  std::uint32_t length);

// Report transfer on a handle the caller holds: one system call with the
// caller's three values. The "output report" read is an input report read.
[[nodiscard]] bool HandleSetFeature(SystemCalls& sys, SysHandle device, void* report, std::uint32_t length);
[[nodiscard]] bool HandleGetFeature(SystemCalls& sys, SysHandle device, void* report, std::uint32_t length);
[[nodiscard]] bool HandleSetOutputReport(SystemCalls& sys, SysHandle device, void* report, std::uint32_t length);
[[nodiscard]] bool HandleGetOutputReport(SystemCalls& sys, SysHandle device, void* report, std::uint32_t length);

// An open handle (overlapped, read and write) of the index-th interface of
// the class, or 0; never kInvalidHandle.
[[nodiscard]] SysHandle GetDeviceViaInterfaceGuid(SystemCalls& sys, const Guid* classGuid, std::uint32_t index);

// Registers the window for arrivals and removals of USB devices, HID
// interfaces, mice and keyboards, in that order; the handle of the last.
[[nodiscard]] NotifyHandle RegisterArrivalRemove(SystemCalls& sys, WindowHandle window);

// Windows error codes the library sets itself, for rejected arguments and
// exhausted memory.
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorNotEnoughMemory = 8;

}  // namespace cpk::devicelib
