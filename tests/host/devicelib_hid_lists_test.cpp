// HID lists and identification of the device library against the fake
// system: selections, the count-and-index protocol, devices that cannot be
// queried, the output bound, and the path-text helpers.
#include "devicelib_fake_system.h"
#include "hid_devices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cpk::devicelib {
namespace {

using testing::FakeSystem;

const std::u16string kHidSuffix = u"#{4d1e55b2-f16f-11cf-88cb-001111000030}";

std::u16string HidPath(const std::u16string& middle)
{
    return u"\\\\?\\hid#" + middle + kHidSuffix;
}

// Four interfaces that differ in one field at a time.
class SelectionFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        sys.Add(HidPath(u"vid_1111&pid_0001&col01"), 0x1111, 0x0001, 0xFFA7, 0x01);  // A
        sys.Add(HidPath(u"vid_1111&pid_0002"), 0x1111, 0x0002, 0x0001, 0x02);        // B
        sys.Add(HidPath(u"vid_2222&pid_0001"), 0x2222, 0x0001, 0xFFA7, 0x01);        // C
        sys.Add(HidPath(u"vid_1111&pid_0001&col02"), 0x1111, 0x0001, 0xFFA0, 0xA5);  // D
    }

    // Every path of a list entry, fetched one index at a time.
    template <typename Entry>
    std::vector<std::u16string> Fetch(Entry entry)
    {
        std::vector<std::u16string> paths;
        const std::int32_t count = entry(-1, nullptr);
        for (std::int32_t i = 0; i < count; ++i) {
            std::u16string buffer(kOutputTextLimit, u'\0');
            EXPECT_EQ(entry(i, buffer.data()), count);
            paths.emplace_back(buffer.c_str());
        }
        return paths;
    }

    std::vector<std::u16string> Paths(std::initializer_list<int> indexes)
    {
        std::vector<std::u16string> paths;
        for (int i : indexes)
            paths.push_back(sys.hid[static_cast<std::size_t>(i)].path);
        return paths;
    }

    FakeSystem sys;
};

TEST_F(SelectionFixture, CustomListMatchesEveryNonZeroField)
{
    struct Case {
        const char* name;
        std::uint16_t vid, pid, page, usage;
        std::initializer_list<int> expected;
    };
    const Case cases[] = {
        {"zeros match all", 0, 0, 0, 0, {0, 1, 2, 3}},
        {"vendor", 0x1111, 0, 0, 0, {0, 1, 3}},
        {"product", 0, 0x0001, 0, 0, {0, 2, 3}},
        {"usage page", 0, 0, 0xFFA7, 0, {0, 2}},
        {"usage", 0, 0, 0, 0xA5, {3}},
        {"all four", 0x1111, 0x0001, 0xFFA7, 0x01, {0}},
        {"each field right but not together", 0x2222, 0x0002, 0xFFA0, 0x01, {}},
        {"vendor nobody has", 0x3333, 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto paths = Fetch([&](std::int32_t index, char16_t* out) {
            return GetHidDeviceFromCustomHidList(sys, c.vid, c.pid, c.page, c.usage, index, out);
        });
        EXPECT_EQ(paths, Paths(c.expected));
    }
    EXPECT_TRUE(sys.AllReleased());
}

TEST_F(SelectionFixture, WideUsagePageIsCutBySixteenBitEntryOnly)
{
    // The same 32-bit value, 0xFFA7 with bit 16 set, handed to both entries:
    // the custom-list entry's parameter is 16 bits wide and keeps 0xFFA7,
    // the name entry compares all 32 bits and finds nothing.
    const std::uint32_t page = 0x1FFA7;
    auto viaCustomList = [&](std::int32_t index, char16_t* out) {
        return GetHidDeviceFromCustomHidList(sys, 0, 0, static_cast<std::uint16_t>(page), 0, index, out);
    };
    auto viaName = [&](std::int32_t index, char16_t* out) { return GetHidDeviceName(sys, 0, 0, page, 0, index, out); };
    EXPECT_EQ(Fetch(viaCustomList), Paths({0, 2}));
    EXPECT_EQ(Fetch(viaName), Paths({}));
    EXPECT_EQ(GetHidDeviceName(sys, 0, 0, 0xFFA7, 0, -1, nullptr), 2);
}

TEST_F(SelectionFixture, Id4ListUsesFixedUsageAndCallersIds)
{
    auto id4 = [&](std::uint16_t vid, std::uint16_t pid) {
        return Fetch([&](std::int32_t index, char16_t* out) { return GetHidDeviceFromHidList(sys, vid, pid, index, out); });
    };
    EXPECT_EQ(id4(0, 0), Paths({3}));
    EXPECT_EQ(id4(0x1111, 0x0001), Paths({3}));
    EXPECT_EQ(id4(0x2222, 0), Paths({}));
}

TEST_F(SelectionFixture, CountAndIndexProtocol)
{
    // Index -1 with no buffer: only the count.
    EXPECT_EQ(GetHidDeviceFromCustomHidList(sys, 0x1111, 0, 0, 0, -1, nullptr), 3);
    EXPECT_EQ(GetHidDeviceFromCustomHidList(sys, 0x1111, 0, 0, 0, -7, nullptr), 3);

    // An index at or past the count leaves the buffer as it was.
    for (std::int32_t index : {3, 4, 1000}) {
        std::u16string buffer(16, u'x');
        EXPECT_EQ(GetHidDeviceFromCustomHidList(sys, 0x1111, 0, 0, 0, index, buffer.data()), 3);
        EXPECT_EQ(buffer, std::u16string(16, u'x')) << index;
    }

    // A valid index with no buffer writes nothing and does not fail.
    EXPECT_EQ(GetHidDeviceFromCustomHidList(sys, 0x1111, 0, 0, 0, 0, nullptr), 3);
    EXPECT_TRUE(sys.AllReleased());
}

TEST_F(SelectionFixture, FetchingNPathsCostsNPlusOneEnumerations)
{
    const auto paths = Fetch([&](std::int32_t index, char16_t* out) {
        return GetHidDeviceFromCustomHidList(sys, 0, 0, 0xFFA7, 0, index, out);
    });
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(sys.classDevsCalls, 3);
    // Every enumeration opens every interface once, query-only.
    ASSERT_EQ(sys.opens.size(), 3u * sys.hid.size());
    for (const auto& open : sys.opens) {
        EXPECT_EQ(open.access, 0u);
        EXPECT_EQ(open.share, kFileShareRead | kFileShareWrite);
        EXPECT_EQ(open.disposition, kOpenExisting);
        EXPECT_EQ(open.flags, kFileFlagOverlapped);
    }
    for (std::uint32_t flags : sys.classDevsFlags)
        EXPECT_EQ(flags, 0x12u);
    for (std::uint32_t header : sys.detailHeaderSizes)
        EXPECT_EQ(header, kDetailHeaderSize);
    EXPECT_TRUE(sys.AllReleased());
}

TEST(HidCollect, DeviceThatCannotBeQueriedIsLeftOut)
{
    struct Case {
        const char* name;
        void (*spoil)(testing::FakeHid&);
    };
    const Case cases[] = {
        {"open fails", [](testing::FakeHid& d) { d.openError = testing::kErrorAccessDenied; }},
        {"attributes fail", [](testing::FakeHid& d) { d.attributesFail = true; }},
        {"preparsed data fails", [](testing::FakeHid& d) { d.preparsedFails = true; }},
        {"capabilities fail", [](testing::FakeHid& d) { d.capsFail = true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystem sys;
        sys.Add(HidPath(u"a"), 1, 1, 1, 1);
        c.spoil(sys.Add(HidPath(u"b"), 1, 1, 1, 1));
        sys.Add(HidPath(u"c"), 1, 1, 1, 1);
        EXPECT_EQ(CollectHidDevices(sys, {}), (std::vector<std::u16string>{HidPath(u"a"), HidPath(u"c")}));
        EXPECT_TRUE(sys.AllReleased());
    }
}

TEST(HidCollect, UnreadableInterfaceEndsTheWalk)
{
    struct Case {
        const char* name;
        void (*spoil)(testing::FakeHid&);
    };
    const Case cases[] = {
        {"detail cannot be read", [](testing::FakeHid& d) { d.detailFails = true; }},
        {"size query succeeds", [](testing::FakeHid& d) { d.sizeQuerySucceeds = true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystem sys;
        sys.Add(HidPath(u"a"), 1, 1, 1, 1);
        c.spoil(sys.Add(HidPath(u"b"), 1, 1, 1, 1));
        sys.Add(HidPath(u"c"), 1, 1, 1, 1);
        EXPECT_EQ(CollectHidDevices(sys, {}), std::vector<std::u16string>{HidPath(u"a")});
        std::u16string buffer(4, u'x');
        EXPECT_EQ(GetUSBDeviceInterfacePath(sys, 1, buffer.data()), 1);
        EXPECT_EQ(buffer, u"xxxx");
        EXPECT_TRUE(sys.AllReleased());
    }
}

TEST(HidCollect, SetThatCannotBeOpenedGivesZero)
{
    FakeSystem sys;
    sys.Add(HidPath(u"a"), 1, 1, 1, 1);
    sys.classDevsFails = true;
    std::u16string buffer(4, u'x');
    EXPECT_EQ(GetHidDeviceFromCustomHidList(sys, 0, 0, 0, 0, 0, buffer.data()), 0);
    EXPECT_EQ(GetUSBDeviceInterfacePath(sys, 0, buffer.data()), 0);
    EXPECT_EQ(buffer, u"xxxx");
    EXPECT_TRUE(sys.opens.empty());
}

TEST(HidCollect, SamePathTwiceIsListedOnce)
{
    FakeSystem sys;
    sys.Add(HidPath(u"a"), 1, 1, 1, 1);
    sys.Add(HidPath(u"a"), 1, 1, 1, 1);
    sys.Add(HidPath(u"A"), 1, 1, 1, 1);  // differs in case: a different entry
    EXPECT_EQ(CollectHidDevices(sys, {}), (std::vector<std::u16string>{HidPath(u"a"), HidPath(u"A")}));
    std::u16string buffer(kOutputTextLimit, u'\0');
    EXPECT_EQ(GetUSBDeviceInterfacePath(sys, 1, buffer.data()), 2);
    EXPECT_EQ(std::u16string(buffer.c_str()), HidPath(u"A"));
    EXPECT_TRUE(sys.AllReleased());
}

TEST(HidCollect, InterfacePathsListedWithoutOpeningOrSelection)
{
    FakeSystem sys;
    sys.Add(HidPath(u"a"), 1, 1, 1, 1).openError = testing::kErrorAccessDenied;
    sys.Add(HidPath(u"b"), 2, 2, 2, 2).capsFail = true;
    EXPECT_EQ(GetUSBDeviceInterfacePath(sys, -1, nullptr), 2);
    EXPECT_TRUE(sys.opens.empty());
}

TEST(OutputText, WritesNeverPassTheBound)
{
    // Lengths in UTF-16 units of the path, not counting the terminator.
    struct Case {
        const char* name;
        std::size_t length;
        std::size_t written;
    };
    const Case cases[] = {
        {"short", 40, 40},
        {"exactly at the bound", kOutputTextLimit - 1, kOutputTextLimit - 1},
        {"one over", kOutputTextLimit, kOutputTextLimit - 1},
        {"far over", 5 * kOutputTextLimit, kOutputTextLimit - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystem sys;
        const std::u16string path = u"\\\\?\\hid#" + std::u16string(c.length - 8, u'p');
        ASSERT_EQ(path.size(), c.length);
        sys.Add(path, 1, 1, 1, 1);

        constexpr std::size_t kGuard = 64;
        std::u16string buffer(kOutputTextLimit + kGuard, u'#');
        EXPECT_EQ(GetHidDeviceFromCustomHidList(sys, 0, 0, 0, 0, 0, buffer.data()), 1);
        EXPECT_EQ(std::u16string(buffer.c_str()), path.substr(0, c.written));
        EXPECT_EQ(buffer.substr(kOutputTextLimit), std::u16string(kGuard, u'#'));
        if (c.written + 1 < kOutputTextLimit) {
            EXPECT_EQ(buffer[c.written + 1], u'#');  // nothing past the terminator
        }
    }
}

TEST(PathText, ProductIdFromPath)
{
    struct Case {
        std::u16string path;
        std::uint16_t pid;
    };
    const Case cases[] = {
        {u"\\\\?\\hid#vid_1234&pid_12g4#7&1a&0&0000" + kHidSuffix, 0x12},
        {u"\\\\?\\HID#VID_1234&PID_00AB#7&1A&0&0000#{4D1E55B2-F16F-11CF-88CB-001111000030}", 0xAB},
        {u"\\\\?\\hid#vid_1234&pid_beef&mi_00" + kHidSuffix, 0xBEEF},
        {u"pid_12345", 0x1234},           // four digits at most
        {u"x&pid_7", 0x7},                // path ends before four
        {u"x&pid_", 0},                   // nothing follows
        {u"\\\\?\\hid#vid_1234#7&1a" + kHidSuffix, 0},  // no marker: from the fourth character, a '\'
        {u"abc12345", 0x1234},            // no marker: from the fourth character
        {u"abc", 0},                      // shorter than four
        {u"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetPidOfId4Path(c.path), c.pid) << std::string(c.path.begin(), c.path.end());
}

TEST(PathText, HexDigitsRun)
{
    struct Case {
        std::u16string text;
        std::uint32_t value;
    };
    const Case cases[] = {
        {u"", 0},          {u"g1", 0},
        {u"aB3z", 0xAB3},  {u"00ab", 0xAB},
        {u"ffffffff", 0xFFFFFFFFu},
        {u"123456789", 0x12345678u},  // eight digits at most
        {u"9:", 9},        {u"F@", 0xF},  // the characters either side of the digit ranges
        {u"`a", 0},        {u"/1", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseHexDigits(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

TEST(PathText, GuidAsLowerText)
{
    EXPECT_EQ(GuidToLowerText(testing::kHidGuid), u"4d1e55b2-f16f-11cf-88cb-001111000030");
    EXPECT_EQ(GuidToLowerText(kUsbDeviceInterface), u"a5dcbf10-6530-11d2-901f-00c04fb951ed");
}

TEST(HidIdentify, Id4DeviceByCollectionAndGuidText)
{
    FakeSystem sys;
    const std::u16string id4 = HidPath(u"vid_1111&pid_0001&col02");
    const std::u16string upper = u"\\\\?\\HID#VID_1111&PID_0001#{4D1E55B2-F16F-11CF-88CB-001111000030}";
    const std::u16string noGuid = u"\\\\?\\usb#vid_1111&pid_0001#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
    const std::u16string otherUsage = HidPath(u"vid_1111&pid_0001&col01");
    const std::u16string unopenable = HidPath(u"vid_1111&pid_0001&col03");
    sys.Add(id4, 0x1111, 1, 0xFFA0, 0xA5);
    sys.Add(upper, 0x1111, 1, 0xFFA0, 0xA5);
    sys.Add(noGuid, 0x1111, 1, 0xFFA0, 0xA5);
    sys.Add(otherUsage, 0x1111, 1, 0xFFA0, 0x01);
    sys.Add(unopenable, 0x1111, 1, 0xFFA0, 0xA5).openError = testing::kErrorAccessDenied;

    EXPECT_TRUE(IsId4Device(sys, id4.c_str()));
    EXPECT_FALSE(IsId4Device(sys, otherUsage.c_str()));
    EXPECT_FALSE(IsId4Device(sys, unopenable.c_str()));
    const std::size_t opensSoFar = sys.opens.size();
    EXPECT_FALSE(IsId4Device(sys, upper.c_str()));
    EXPECT_FALSE(IsId4Device(sys, noGuid.c_str()));
    EXPECT_EQ(sys.opens.size(), opensSoFar);  // neither was opened
    EXPECT_FALSE(IsId4Device(sys, nullptr));
    EXPECT_TRUE(sys.AllReleased());
}

TEST(HidIdentify, IdsWrittenOnlyThroughGivenPointersAndOnlyOnSuccess)
{
    FakeSystem sys;
    const std::u16string good = HidPath(u"good");
    const std::u16string noCaps = HidPath(u"nocaps");
    sys.Add(good, 0x1234, 0x5678, 0xFFA7, 0x0042);
    sys.Add(noCaps, 0x1234, 0x5678, 0xFFA7, 0x0042).capsFail = true;

    std::uint16_t vid = 0, pid = 0, page = 0, usage = 0;
    EXPECT_TRUE(GetHidIDs(sys, good.c_str(), &vid, &pid, &page, &usage));
    EXPECT_EQ(vid, 0x1234);
    EXPECT_EQ(pid, 0x5678);
    EXPECT_EQ(page, 0xFFA7);
    EXPECT_EQ(usage, 0x0042);

    std::uint16_t onlyPage = 0;
    EXPECT_TRUE(GetHidIDs(sys, good.c_str(), nullptr, nullptr, &onlyPage, nullptr));
    EXPECT_EQ(onlyPage, 0xFFA7);

    std::uint16_t untouched = 0xEEEE;
    EXPECT_FALSE(GetHidIDs(sys, noCaps.c_str(), &untouched, &untouched, &untouched, &untouched));
    EXPECT_EQ(untouched, 0xEEEE);
    EXPECT_FALSE(GetHidIDs(sys, u"\\\\?\\gone", &untouched, nullptr, nullptr, nullptr));
    EXPECT_EQ(sys.lastError, testing::kErrorFileNotFound);
    EXPECT_EQ(untouched, 0xEEEE);
    EXPECT_TRUE(sys.AllReleased());
}

}  // namespace
}  // namespace cpk::devicelib
