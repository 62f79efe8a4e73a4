// Report transfer, interface-class opens and notification registration of
// the device library against the fake system.
#include "devicelib_fake_system.h"
#include "hid_devices.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace cpk::devicelib {
namespace {

using testing::FakeSystem;
using testing::ReportCall;

const std::u16string kPath = u"\\\\?\\hid#vid_1111&pid_0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";

struct PathEntry {
    const char* name;
    PathTransfer kind;
    ReportCall call;
};
const PathEntry kPathEntries[] = {
    {"set feature", PathTransfer::SetFeature, ReportCall::SetFeature},
    {"get feature", PathTransfer::GetFeature, ReportCall::GetFeature},
    {"set output", PathTransfer::SetOutputReport, ReportCall::SetOutput},
};

std::array<std::uint8_t, 72> TestModeReport()
{
    std::array<std::uint8_t, 72> report{};
    report[0] = 7;
    report[1] = 4;
    report[8] = 4;
    return report;
}

TEST(PathTransfer, OpensSynchronouslyForReadWriteAndPassesBytesUnchanged)
{
    for (const PathEntry& e : kPathEntries) {
        SCOPED_TRACE(e.name);
        FakeSystem sys;
        sys.Add(kPath, 0x1111, 1, 0xFFA7, 0);
        auto report = TestModeReport();
        EXPECT_TRUE(TransferByPath(sys, e.kind, kPath.c_str(), report.data(), 72));

        ASSERT_EQ(sys.opens.size(), 1u);
        EXPECT_EQ(sys.opens[0].path, kPath);
        EXPECT_EQ(sys.opens[0].access, kGenericRead | kGenericWrite);
        EXPECT_EQ(sys.opens[0].share, kFileShareRead | kFileShareWrite);
        EXPECT_EQ(sys.opens[0].disposition, kOpenExisting);
        EXPECT_EQ(sys.opens[0].flags, 0u);
        ASSERT_EQ(sys.transfers.size(), 1u);
        EXPECT_EQ(sys.transfers[0].kind, e.call);
        EXPECT_EQ(sys.transfers[0].length, 72u);
        EXPECT_EQ(sys.transfers[0].bytes, std::vector<std::uint8_t>(report.begin(), report.end()));
        EXPECT_TRUE(sys.AllReleased());
    }
}

TEST(PathTransfer, FailureLeavesTheFailingCallsError)
{
    for (const PathEntry& e : kPathEntries) {
        SCOPED_TRACE(e.name);
        FakeSystem sys;
        sys.Add(kPath, 0x1111, 1, 0xFFA7, 0).transferError = testing::kErrorGenFailure;
        const std::u16string locked = kPath + u"locked";
        sys.Add(locked, 0x1111, 1, 0xFFA7, 0).openError = testing::kErrorAccessDenied;
        auto report = TestModeReport();

        // Gone: the open's error, and no transfer attempted.
        EXPECT_FALSE(TransferByPath(sys, e.kind, u"\\\\?\\hid#gone", report.data(), 72));
        EXPECT_EQ(sys.lastError, testing::kErrorFileNotFound);
        EXPECT_FALSE(TransferByPath(sys, e.kind, locked.c_str(), report.data(), 72));
        EXPECT_EQ(sys.lastError, testing::kErrorAccessDenied);
        EXPECT_TRUE(sys.transfers.empty());

        // Refused: the transfer's error survives the close.
        EXPECT_FALSE(TransferByPath(sys, e.kind, kPath.c_str(), report.data(), 72));
        EXPECT_EQ(sys.lastError, testing::kErrorGenFailure);
        EXPECT_TRUE(sys.AllReleased());

        // No path or no buffer: rejected before anything is opened.
        const std::size_t opens = sys.opens.size();
        EXPECT_FALSE(TransferByPath(sys, e.kind, nullptr, report.data(), 72));
        EXPECT_EQ(sys.lastError, kErrorInvalidParameter);
        EXPECT_FALSE(TransferByPath(sys, e.kind, kPath.c_str(), nullptr, 72));
        EXPECT_EQ(sys.opens.size(), opens);
    }
}

TEST(PathTransfer, FeatureReadFillsCallersBuffer)
{
    FakeSystem sys;
    sys.Add(kPath, 0x1111, 1, 0xFFA7, 0).feature = {7, 1, 2, 3};
    std::array<std::uint8_t, 4> report{7, 0, 0, 0};
    EXPECT_TRUE(TransferByPath(sys, PathTransfer::GetFeature, kPath.c_str(), report.data(), 4));
    EXPECT_EQ(report, (std::array<std::uint8_t, 4>{7, 1, 2, 3}));
}

TEST(HandleTransfer, EachEntryMakesItsOneCallOnTheCallersHandle)
{
    struct Case {
        const char* name;
        bool (*entry)(SystemCalls&, SysHandle, void*, std::uint32_t);
        ReportCall call;
    };
    const Case cases[] = {
        {"set feature", HandleSetFeature, ReportCall::SetFeature},
        {"get feature", HandleGetFeature, ReportCall::GetFeature},
        {"set output", HandleSetOutputReport, ReportCall::SetOutput},
        {"get output reads input", HandleGetOutputReport, ReportCall::GetInput},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSystem sys;
        auto& device = sys.Add(kPath, 0x1111, 1, 0xFFA7, 0);
        device.input = {3, 0xAA};
        device.feature = {3, 0xFF};
        const SysHandle handle = sys.OpenDirectly(kPath);
        std::array<std::uint8_t, 2> report{3, 0};
        EXPECT_TRUE(c.entry(sys, handle, report.data(), 2));
        ASSERT_EQ(sys.transfers.size(), 1u);
        EXPECT_EQ(sys.transfers[0].kind, c.call);
        EXPECT_EQ(sys.transfers[0].path, kPath);
        EXPECT_EQ(sys.transfers[0].length, 2u);
        EXPECT_EQ(sys.opens.size(), 1u);  // the entry opened nothing itself
        EXPECT_EQ(sys.OpenFiles(), 1u);   // nor closed the caller's handle
        if (c.call == ReportCall::GetInput) {
            EXPECT_EQ(report[1], 0xAA);
        }
    }
}

TEST(InterfaceOpen, IndexedInterfaceOpenedOverlappedOrNull)
{
    FakeSystem sys;
    sys.Add(kPath, 0x1111, 1, 0xFFA7, 0);
    const Guid hid = testing::kHidGuid;

    const SysHandle handle = GetDeviceViaInterfaceGuid(sys, &hid, 0);
    ASSERT_NE(handle, 0u);
    ASSERT_NE(handle, kInvalidHandle);
    EXPECT_EQ(sys.PathOf(handle), kPath);
    EXPECT_EQ(sys.opens.back().access, kGenericRead | kGenericWrite);
    EXPECT_EQ(sys.opens.back().share, kFileShareRead | kFileShareWrite);
    EXPECT_EQ(sys.opens.back().flags, kFileFlagOverlapped | kFileAttributeNormal);
    EXPECT_EQ(sys.OpenSets(), 0u);
    sys.CloseHandle(handle);  // the caller owns it

    // Past the last interface, an open that fails, no set, no class: null.
    EXPECT_EQ(GetDeviceViaInterfaceGuid(sys, &hid, 1), 0u);
    sys.otherInterfaces = {u"\\\\?\\usb#unopenable"};
    EXPECT_EQ(GetDeviceViaInterfaceGuid(sys, &kUsbDeviceInterface, 0), 0u);
    EXPECT_EQ(sys.lastError, testing::kErrorFileNotFound);
    EXPECT_EQ(GetDeviceViaInterfaceGuid(sys, nullptr, 0), 0u);
    sys.classDevsFails = true;
    EXPECT_EQ(GetDeviceViaInterfaceGuid(sys, &hid, 0), 0u);
    EXPECT_TRUE(sys.AllReleased());
}

TEST(Notifications, FourClassesInOrderAndTheLastHandleReturned)
{
    FakeSystem sys;
    const WindowHandle window = 0x1234;
    EXPECT_EQ(RegisterArrivalRemove(sys, window), 0x503u);
    ASSERT_EQ(sys.registrations.size(), 4u);
    const Guid expected[] = {kUsbDeviceInterface, testing::kHidGuid, kMouseInterface, kKeyboardInterface};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(sys.registrations[i].window, window);
        EXPECT_FALSE(sys.registrations[i].forHandle);
        EXPECT_TRUE(sys.registrations[i].classGuid == expected[i]) << i;
    }
}

TEST(Notifications, OnlyTheLastRegistrationDecidesTheResult)
{
    FakeSystem early;
    early.refusedRegistrations = {0, 1, 2};
    EXPECT_NE(RegisterArrivalRemove(early, 1), 0u);
    EXPECT_EQ(early.registrations.size(), 4u);

    FakeSystem last;
    last.refusedRegistrations = {3};
    EXPECT_EQ(RegisterArrivalRemove(last, 1), 0u);
}

}  // namespace
}  // namespace cpk::devicelib
