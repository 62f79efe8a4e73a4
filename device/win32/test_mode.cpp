#include "test_mode.h"

#include "bridge.h"
#include "test_mode_commands.h"

#include <windows.h>

namespace cpk {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

// The commands' way into the library: the bridge's two device calls.
class LibraryBridge final : public DeviceBridge {
public:
    std::int32_t FindCustomHidDevice(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t usagePage,
                                     std::uint16_t usage, std::int32_t index, char16_t* pathBuffer) override
    {
        return cpk::FindCustomHidDevice(vendorId, productId, usagePage, usage, index,
                                        reinterpret_cast<wchar_t*>(pathBuffer));
    }

    bool SetDeviceFeatureReport(const char16_t* path, const std::uint8_t* data, std::uint32_t length) override
    {
        return cpk::SetDeviceFeatureReport(reinterpret_cast<const wchar_t*>(path), data, length);
    }
};

// The system's message text for the error and the ownerless box.
class SystemErrorBox final : public DeviceErrorPresenter {
public:
    std::uint32_t LastErrorCode() override { return GetLastError(); }

    std::u16string SystemMessage(std::uint32_t code) override
    {
        wchar_t text[256] = {};
        const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                            code, 0, text, 256, nullptr);
        return std::u16string(reinterpret_cast<const char16_t*>(text), length);
    }

    void ShowErrorBox(std::u16string_view text) override
    {
        const std::wstring message(text.begin(), text.end());
        MessageBoxW(nullptr, message.c_str(), L"\u932F\u8AA4\u8A0A\u606F", MB_OK);  // "錯誤訊息"
    }
};

void Notify(std::uint8_t mode) noexcept
{
    // Called from the window procedure: nothing may escape. Out of memory,
    // the command ends with nothing (more) sent.
    try {
        LibraryBridge bridge;
        SystemErrorBox box;
        NotifyDevicesTestMode(bridge, box, mode);
    } catch (...) {
    }
}

}  // namespace

void NotifyDevicesTestStart()
{
    Notify(kTestModeStart);
}

void NotifyDevicesTestStop()
{
    Notify(kTestModeStop);
}

}  // namespace cpk
