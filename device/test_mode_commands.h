// The test-mode commands to the maker's devices, free of the platform: the
// report layout, the rules of the path list and the send loop, run against a
// bridge to the device library and a presenter for the one error box. The
// Windows side (win32/test_mode.cpp) supplies both.
#pragma once

#include "maker_vendor_id.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cpk {

inline constexpr std::size_t kTestModeReportLength = 72;
using TestModeReport = std::array<std::uint8_t, kTestModeReportLength>;

inline constexpr std::uint8_t kTestModeStart = 4;
inline constexpr std::uint8_t kTestModeStop = 8;

// The maker's devices: any product, the vendor-defined usage page, any usage.
inline constexpr std::uint16_t kTestModeProductId = 0;
inline constexpr std::uint16_t kTestModeUsagePage = 0xFFA7;
inline constexpr std::uint16_t kTestModeUsage = 0;

// Room for one path from the library, terminator included. The library cuts
// every string it writes to 1,024 units, so no path overruns this buffer.
inline constexpr std::size_t kDevicePathBufferUnits = 1024;

// Report ID 7, 4, six zeros, the mode at offset 8, zeros to the end.
[[nodiscard]] TestModeReport BuildTestModeReport(std::uint8_t mode);

// The two library calls the commands make, with the bridge's missing-results
// (-1 and false) when the library or the entry is absent.
class DeviceBridge {
public:
    virtual ~DeviceBridge() = default;
    [[nodiscard]] virtual std::int32_t FindCustomHidDevice(std::uint16_t vendorId, std::uint16_t productId,
                                                           std::uint16_t usagePage, std::uint16_t usage,
                                                           std::int32_t index, char16_t* pathBuffer) = 0;
    [[nodiscard]] virtual bool SetDeviceFeatureReport(const char16_t* path, const std::uint8_t* data,
                                                      std::uint32_t length) = 0;
};

// The thread's last-error code, the system's text for a code, and the
// ownerless OK box captioned "錯誤訊息".
class DeviceErrorPresenter {
public:
    virtual ~DeviceErrorPresenter() = default;
    [[nodiscard]] virtual std::uint32_t LastErrorCode() = 0;
    [[nodiscard]] virtual std::u16string SystemMessage(std::uint32_t code) = 0;
    virtual void ShowErrorBox(std::u16string_view text) = 0;
};

// The system's message text without its trailing spaces, control characters
// and full stops.
[[nodiscard]] std::u16string TrimSystemMessage(std::u16string text);

// Asks for the count of matching devices, then for each index its path;
// appends every non-empty path not yet in the list (letter case ignored) in
// the order found. Returns the first count (-1: no library or entry).
std::int32_t CollectDevicePaths(DeviceBridge& bridge, std::uint16_t productId, std::uint16_t usagePage,
                                std::uint16_t usage, std::vector<std::u16string>& paths);

[[nodiscard]] bool SendFeatureReport(DeviceBridge& bridge, const std::u16string& path, const std::uint8_t* data,
                                     std::uint32_t length);

// Sends the test-mode report with the mode to every device found. The first
// refused send shows one error box and ends the command.
void NotifyDevicesTestMode(DeviceBridge& bridge, DeviceErrorPresenter& presenter, std::uint8_t mode);

}  // namespace cpk
