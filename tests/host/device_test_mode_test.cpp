// The test-mode commands against a fake bridge: which devices receive which
// bytes, the path list rules, and the one error box.
#include "test_mode_commands.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace cpk {
namespace {

struct FindCall {
    std::uint16_t vendorId, productId, usagePage, usage;
    std::int32_t index;
    bool withBuffer;
};

struct Sent {
    std::u16string path;
    std::vector<std::uint8_t> report;
};

// Answers the count with `count` and the index-th path with answers[index]
// (nullptr: leaves the buffer alone, a device gone meanwhile). Devices in
// `refusing` fail the send and leave their error code.
class FakeBridge final : public DeviceBridge, public DeviceErrorPresenter {
public:
    std::int32_t count = 0;
    std::vector<const char16_t*> answers;
    std::vector<std::pair<std::u16string, std::uint32_t>> refusing;

    std::vector<FindCall> finds;
    std::vector<Sent> sent;
    std::uint32_t lastError = 0;
    std::vector<std::uint32_t> messagesAskedFor;
    std::vector<std::u16string> boxes;

    std::int32_t FindCustomHidDevice(std::uint16_t vid, std::uint16_t pid, std::uint16_t page, std::uint16_t usage,
                                     std::int32_t index, char16_t* buffer) override
    {
        finds.push_back({vid, pid, page, usage, index, buffer != nullptr});
        if (index >= 0 && static_cast<std::size_t>(index) < answers.size() && answers[index] != nullptr) {
            std::u16string_view a = answers[index];
            std::copy(a.begin(), a.end(), buffer);
            buffer[a.size()] = u'\0';
        }
        return count;
    }

    bool SetDeviceFeatureReport(const char16_t* path, const std::uint8_t* data, std::uint32_t length) override
    {
        sent.push_back({path, std::vector<std::uint8_t>(data, data + length)});
        for (const auto& [p, code] : refusing)
            if (p == path) {
                lastError = code;
                return false;
            }
        return true;
    }

    std::uint32_t LastErrorCode() override { return lastError; }
    std::u16string SystemMessage(std::uint32_t code) override
    {
        messagesAskedFor.push_back(code);
        return code == 5 ? u"Access is denied. \r\n" : u"";
    }
    void ShowErrorBox(std::u16string_view text) override { boxes.emplace_back(text); }

    std::vector<std::u16string> SentPaths() const
    {
        std::vector<std::u16string> paths;
        for (const Sent& s : sent)
            paths.push_back(s.path);
        return paths;
    }
};

std::vector<std::uint8_t> ExpectedReport(std::uint8_t mode)
{
    std::vector<std::uint8_t> bytes{0x07, 0x04, 0, 0, 0, 0, 0, 0, mode};
    bytes.resize(72, 0);
    return bytes;
}

TEST(TestModeReport, BytesForStartAndStop)
{
    const TestModeReport start = BuildTestModeReport(kTestModeStart);
    const TestModeReport stop = BuildTestModeReport(kTestModeStop);
    EXPECT_EQ(std::vector<std::uint8_t>(start.begin(), start.end()), ExpectedReport(4));
    EXPECT_EQ(std::vector<std::uint8_t>(stop.begin(), stop.end()), ExpectedReport(8));
}

TEST(TestModeCommand, EveryDeviceFoundReceivesTheReportWithFullLength)
{
    FakeBridge bridge;
    bridge.count = 2;
    bridge.answers = {u"\\\\?\\hid#one", u"\\\\?\\hid#two"};
    NotifyDevicesTestMode(bridge, bridge, kTestModeStart);

    ASSERT_EQ(bridge.sent.size(), 2u);
    EXPECT_EQ(bridge.SentPaths(), (std::vector<std::u16string>{u"\\\\?\\hid#one", u"\\\\?\\hid#two"}));
    for (const Sent& s : bridge.sent)
        EXPECT_EQ(s.report, ExpectedReport(4));
    EXPECT_TRUE(bridge.boxes.empty());

    // The count first (no buffer), then each index with the buffer; always
    // the maker's vendor, any product, the vendor usage page, any usage.
    ASSERT_EQ(bridge.finds.size(), 3u);
    for (std::size_t i = 0; i < bridge.finds.size(); ++i) {
        const FindCall& f = bridge.finds[i];
        EXPECT_EQ(f.vendorId, MakerVendorId);
        EXPECT_EQ(f.productId, 0);
        EXPECT_EQ(f.usagePage, 0xFFA7);
        EXPECT_EQ(f.usage, 0);
        EXPECT_EQ(f.index, static_cast<std::int32_t>(i) - 1);
        EXPECT_EQ(f.withBuffer, i != 0);
    }
}

TEST(CollectPaths, ListRules)
{
    struct Case {
        const char* name;
        std::int32_t count;
        std::vector<const char16_t*> answers;
        std::vector<std::u16string> expected;
    };
    const Case cases[] = {
        {"count 3, two distinct paths", 3, {u"\\\\?\\hid#a", u"\\\\?\\hid#b", u"\\\\?\\HID#A"},
         {u"\\\\?\\hid#a", u"\\\\?\\hid#b"}},
        {"a device gone meanwhile", 3, {u"\\\\?\\hid#a", nullptr, u"\\\\?\\hid#c"}, {u"\\\\?\\hid#a", u"\\\\?\\hid#c"}},
        {"an empty answer", 2, {u"", u"\\\\?\\hid#b"}, {u"\\\\?\\hid#b"}},
        {"no library", -1, {u"\\\\?\\hid#a"}, {}},
        {"no device", 0, {u"\\\\?\\hid#a"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeBridge bridge;
        bridge.count = c.count;
        bridge.answers = c.answers;
        std::vector<std::u16string> paths;
        EXPECT_EQ(CollectDevicePaths(bridge, 0, 0xFFA7, 0, paths), c.count);
        EXPECT_EQ(paths, c.expected);
        EXPECT_EQ(bridge.finds.size(), 1u + static_cast<std::size_t>(std::max(c.count, 0)));

        // The commands send to exactly the collected paths, and nothing else
        // happens.
        NotifyDevicesTestMode(bridge, bridge, kTestModeStop);
        EXPECT_EQ(bridge.SentPaths(), c.expected);
        EXPECT_TRUE(bridge.boxes.empty());
    }
}

TEST(CollectPaths, BufferIsClearedBeforeEachIndex)
{
    // A device that vanishes after index 0 must not be reported again with
    // the previous index's path still in the buffer.
    FakeBridge bridge;
    bridge.count = 2;
    bridge.answers = {u"\\\\?\\hid#longer-first-path", nullptr};
    std::vector<std::u16string> paths;
    (void)CollectDevicePaths(bridge, 0, 0xFFA7, 0, paths);
    EXPECT_EQ(paths, std::vector<std::u16string>{u"\\\\?\\hid#longer-first-path"});
}

TEST(CollectPaths, PathAtTheLibrarysBoundFitsTheBuffer)
{
    FakeBridge bridge;
    bridge.count = 1;
    const std::u16string longest(kDevicePathBufferUnits - 1, u'p');
    bridge.answers = {longest.c_str()};
    std::vector<std::u16string> paths;
    (void)CollectDevicePaths(bridge, 0, 0xFFA7, 0, paths);
    EXPECT_EQ(paths, std::vector<std::u16string>{longest});
}

TEST(TestModeCommand, RefusingFirstDeviceShowsOneBoxAndStops)
{
    FakeBridge bridge;
    bridge.count = 2;
    bridge.answers = {u"\\\\?\\hid#first", u"\\\\?\\hid#second"};
    bridge.refusing = {{u"\\\\?\\hid#first", 5}};
    NotifyDevicesTestMode(bridge, bridge, kTestModeStart);

    EXPECT_EQ(bridge.SentPaths(), std::vector<std::u16string>{u"\\\\?\\hid#first"});
    EXPECT_EQ(bridge.messagesAskedFor, std::vector<std::uint32_t>{5});
    EXPECT_EQ(bridge.boxes, std::vector<std::u16string>{u"Access is denied"});
}

TEST(TestModeCommand, RefusalLaterInTheListStopsThere)
{
    FakeBridge bridge;
    bridge.count = 3;
    bridge.answers = {u"\\\\?\\hid#a", u"\\\\?\\hid#b", u"\\\\?\\hid#c"};
    bridge.refusing = {{u"\\\\?\\hid#b", 1167}};  // a code the system has no text for here
    NotifyDevicesTestMode(bridge, bridge, kTestModeStop);
    EXPECT_EQ(bridge.SentPaths(), (std::vector<std::u16string>{u"\\\\?\\hid#a", u"\\\\?\\hid#b"}));
    EXPECT_EQ(bridge.boxes, std::vector<std::u16string>{u""});
}

TEST(TestModeCommand, DeviceChangeSendsStopThenStartToEveryDevice)
{
    // What the main window does on every device-change message.
    FakeBridge bridge;
    bridge.count = 2;
    bridge.answers = {u"\\\\?\\hid#a", u"\\\\?\\hid#b"};
    NotifyDevicesTestMode(bridge, bridge, kTestModeStop);
    NotifyDevicesTestMode(bridge, bridge, kTestModeStart);

    ASSERT_EQ(bridge.sent.size(), 4u);
    const std::u16string order[] = {u"\\\\?\\hid#a", u"\\\\?\\hid#b", u"\\\\?\\hid#a", u"\\\\?\\hid#b"};
    const std::uint8_t modes[] = {8, 8, 4, 4};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(bridge.sent[i].path, order[i]);
        EXPECT_EQ(bridge.sent[i].report, ExpectedReport(modes[i]));
    }
}

TEST(SystemMessageText, TrailingNoiseRemoved)
{
    struct Case {
        std::u16string in, out;
    };
    const Case cases[] = {
        {u"Access is denied.\r\n", u"Access is denied"},
        {u"The device is not ready. . \t\r\n", u"The device is not ready"},
        {u"A device attached to the system is not functioning.", u"A device attached to the system is not functioning"},
        {u"No trailing noise", u"No trailing noise"},
        {u"v1.0 driver", u"v1.0 driver"},  // inner full stops stay
        {u"...\r\n", u""},
        {u"", u""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TrimSystemMessage(c.in), c.out) << std::string(c.out.begin(), c.out.end());
}

}  // namespace
}  // namespace cpk
