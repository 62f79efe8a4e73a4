#include "test_mode_commands.h"

#include <algorithm>

namespace cpk {

namespace {

char16_t FoldAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

}  // namespace

TestModeReport BuildTestModeReport(std::uint8_t mode)
{
    TestModeReport report{};
    report[0] = 7;  // report ID
    report[1] = 4;
    report[8] = mode;
    return report;
}

std::u16string TrimSystemMessage(std::u16string text)
{
    while (!text.empty()) {
        const char16_t last = text.back();
        if (last == u' ' || last == u'.' || last < 0x20 || last == 0x7F)
            text.pop_back();
        else
            break;
    }
    return text;
}

std::int32_t CollectDevicePaths(DeviceBridge& bridge, std::uint16_t productId, std::uint16_t usagePage,
                                std::uint16_t usage, std::vector<std::u16string>& paths)
{
    const std::int32_t count = bridge.FindCustomHidDevice(MakerVendorId, productId, usagePage, usage, -1, nullptr);
    // One unit more than the library ever writes, kept zero, so the buffer
    // stays terminated whatever a foreign library writes up to its bound.
    std::vector<char16_t> buffer(kDevicePathBufferUnits + 1, u'\0');
    for (std::int32_t i = 0; i < count; ++i) {
        buffer[0] = u'\0';
        // The result is not used: the device set may change between calls,
        // and a device gone by now leaves the buffer empty.
        (void)bridge.FindCustomHidDevice(MakerVendorId, productId, usagePage, usage, i, buffer.data());
        buffer[kDevicePathBufferUnits] = u'\0';
        const std::u16string_view path(buffer.data());
        if (path.empty())
            continue;
        const bool known = std::any_of(paths.begin(), paths.end(),
                                       [&](const std::u16string& p) { return EqualIgnoringCase(p, path); });
        if (!known)
            paths.emplace_back(path);
    }
    return count;
}

bool SendFeatureReport(DeviceBridge& bridge, const std::u16string& path, const std::uint8_t* data,
                       std::uint32_t length)
{
    return bridge.SetDeviceFeatureReport(path.c_str(), data, length);
}

void NotifyDevicesTestMode(DeviceBridge& bridge, DeviceErrorPresenter& presenter, std::uint8_t mode)
{
    std::vector<std::u16string> paths;
    (void)CollectDevicePaths(bridge, kTestModeProductId, kTestModeUsagePage, kTestModeUsage, paths);
    for (const std::u16string& path : paths) {
        const TestModeReport report = BuildTestModeReport(mode);
        if (!SendFeatureReport(bridge, path, report.data(), static_cast<std::uint32_t>(report.size()))) {
            const std::uint32_t code = presenter.LastErrorCode();
            presenter.ShowErrorBox(TrimSystemMessage(presenter.SystemMessage(code)));
            return;
        }
    }
}

}  // namespace cpk
