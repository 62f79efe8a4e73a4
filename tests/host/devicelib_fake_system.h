// A scripted stand-in for the setup services, HID library and kernel calls
// of the device library: it lists HID interfaces with their attributes and
// capabilities, fails the calls a test chooses, keeps the last-error code as
// the system would, and checks that every set, handle and preparsed data it
// hands out is released exactly once.
#pragma once

#include "system_calls.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace cpk::devicelib::testing {

inline constexpr Guid kHidGuid{0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorGenFailure = 31;
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t kErrorNoMoreItems = 259;
inline constexpr std::uint32_t kErrorInvalidUserBuffer = 1784;

struct FakeHid {
    std::u16string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;

    // Failures of the calls made on this device.
    bool detailFails = false;
    bool sizeQuerySucceeds = false;
    std::uint32_t openError = 0;  // non-zero: CreateFile fails with it
    bool attributesFail = false;
    bool preparsedFails = false;
    bool capsFail = false;
    std::uint32_t transferError = 0;  // non-zero: every report call fails with it

    // What the device answers to report reads.
    std::vector<std::uint8_t> feature;
    std::vector<std::uint8_t> input;
};

struct OpenCall {
    std::u16string path;
    std::uint32_t access;
    std::uint32_t share;
    std::uint32_t disposition;
    std::uint32_t flags;
};

enum class ReportCall { SetFeature, GetFeature, SetOutput, GetInput };

struct TransferCall {
    ReportCall kind;
    std::u16string path;  // of the handle the call was made on
    std::vector<std::uint8_t> bytes;  // as the caller passed them in
    std::uint32_t length;
};

struct RegistrationCall {
    WindowHandle window;
    bool forHandle;
    Guid classGuid;
    SysHandle device;
};

class FakeSystem final : public SystemCalls {
public:
    std::vector<FakeHid> hid;                    // interfaces of the HID class, in order
    std::vector<std::u16string> otherInterfaces; // interfaces of every other class
    bool classDevsFails = false;
    std::uint32_t capsStatusOnFailure = 0xC0110001u;  // HIDP_STATUS_INVALID_PREPARSED_DATA
    NotifyHandle nextNotification = 0x500;
    std::set<std::size_t> refusedRegistrations;  // 0-based numbers of failing registrations

    std::uint32_t lastError = 0;
    int classDevsCalls = 0;
    std::vector<std::uint32_t> classDevsFlags;
    std::vector<OpenCall> opens;
    std::vector<TransferCall> transfers;
    std::vector<RegistrationCall> registrations;
    std::vector<std::uint32_t> detailHeaderSizes;
    int badReleases = 0;  // releases of something not held

    // Counts of things still held.
    [[nodiscard]] std::size_t OpenSets() const { return sets_.size(); }
    [[nodiscard]] std::size_t OpenFiles() const { return files_.size(); }
    [[nodiscard]] std::size_t HeldPreparsed() const { return preparsed_.size(); }
    [[nodiscard]] bool AllReleased() const { return sets_.empty() && files_.empty() && preparsed_.empty() && badReleases == 0; }

    FakeHid& Add(std::u16string path, std::uint16_t vid, std::uint16_t pid, std::uint16_t page, std::uint16_t usage)
    {
        FakeHid d;
        d.path = std::move(path);
        d.vendorId = vid;
        d.productId = pid;
        d.usagePage = page;
        d.usage = usage;
        hid.push_back(d);
        return hid.back();
    }

    Guid HidGuid() override { return kHidGuid; }

    InfoSet GetClassDevs(const Guid& classGuid, std::uint32_t flags) override
    {
        ++classDevsCalls;
        classDevsFlags.push_back(flags);
        if (classDevsFails) {
            lastError = kErrorInvalidUserBuffer;
            return kInvalidSet;
        }
        const InfoSet set = nextId_++;
        sets_[set] = classGuid;
        return set;
    }

    void DestroyDeviceInfoList(InfoSet set) override
    {
        if (sets_.erase(set) != 1)
            ++badReleases;
    }

    bool EnumDeviceInterfaces(InfoSet set, const Guid& classGuid, std::uint32_t index, InterfaceRef& out) override
    {
        if (sets_.count(set) == 0 || index >= InterfaceCount(classGuid)) {
            lastError = kErrorNoMoreItems;
            return false;
        }
        std::memcpy(out.bytes, &index, sizeof index);
        const bool isHid = classGuid == kHidGuid;
        std::memcpy(out.bytes + 4, &isHid, sizeof isHid);
        return true;
    }

    bool GetDeviceInterfaceDetail(InfoSet set, const InterfaceRef& iface, std::byte* buffer, std::uint32_t size,
                                  std::uint32_t& required) override
    {
        if (sets_.count(set) == 0) {
            lastError = 6;  // ERROR_INVALID_HANDLE
            return false;
        }
        std::uint32_t index;
        bool isHid;
        std::memcpy(&index, iface.bytes, sizeof index);
        std::memcpy(&isHid, iface.bytes + 4, sizeof isHid);
        const std::u16string& path = isHid ? hid[index].path : otherInterfaces[index];
        const auto need = static_cast<std::uint32_t>(kDetailPathOffset + (path.size() + 1) * sizeof(char16_t));
        if (buffer == nullptr) {
            required = need;
            if (isHid && hid[index].sizeQuerySucceeds)
                return true;
            lastError = kErrorInsufficientBuffer;
            return false;
        }
        std::uint32_t header;
        std::memcpy(&header, buffer, sizeof header);
        detailHeaderSizes.push_back(header);
        if ((isHid && hid[index].detailFails) || header != kDetailHeaderSize || size < need) {
            lastError = kErrorInvalidUserBuffer;
            return false;
        }
        std::memcpy(buffer + kDetailPathOffset, path.c_str(), (path.size() + 1) * sizeof(char16_t));
        return true;
    }

    SysHandle OpenDevice(const char16_t* path, std::uint32_t access, std::uint32_t share, std::uint32_t disposition,
                         std::uint32_t flags) override
    {
        opens.push_back({path, access, share, disposition, flags});
        const FakeHid* device = Find(path);
        if (device == nullptr || device->openError != 0) {
            lastError = device ? device->openError : kErrorFileNotFound;
            return kInvalidHandle;
        }
        const SysHandle h = nextId_++;
        files_[h] = device->path;
        return h;
    }

    void CloseHandle(SysHandle handle) override
    {
        // Closing a valid handle leaves the last-error code alone.
        if (files_.erase(handle) != 1)
            ++badReleases;
    }

    bool GetAttributes(SysHandle device, HidAttributes& out) override
    {
        const FakeHid* d = Held(device);
        if (d == nullptr || d->attributesFail) {
            lastError = kErrorGenFailure;
            return false;
        }
        out.vendorId = d->vendorId;
        out.productId = d->productId;
        return true;
    }

    bool GetPreparsedData(SysHandle device, PreparsedData& out) override
    {
        const FakeHid* d = Held(device);
        if (d == nullptr || d->preparsedFails) {
            lastError = kErrorGenFailure;
            return false;
        }
        out = nextId_++;
        preparsed_[out] = d->path;
        return true;
    }

    void FreePreparsedData(PreparsedData data) override
    {
        if (preparsed_.erase(data) != 1)
            ++badReleases;
    }

    std::uint32_t GetCaps(PreparsedData data, HidCaps& out) override
    {
        auto it = preparsed_.find(data);
        const FakeHid* d = it == preparsed_.end() ? nullptr : Find(it->second.c_str());
        if (d == nullptr || d->capsFail)
            return capsStatusOnFailure;
        out.usagePage = d->usagePage;
        out.usage = d->usage;
        return kHidpStatusSuccess;
    }

    bool SetFeature(SysHandle device, void* report, std::uint32_t length) override
    {
        return Transfer(ReportCall::SetFeature, device, report, length);
    }
    bool GetFeature(SysHandle device, void* report, std::uint32_t length) override
    {
        return Transfer(ReportCall::GetFeature, device, report, length);
    }
    bool SetOutputReport(SysHandle device, void* report, std::uint32_t length) override
    {
        return Transfer(ReportCall::SetOutput, device, report, length);
    }
    bool GetInputReport(SysHandle device, void* report, std::uint32_t length) override
    {
        return Transfer(ReportCall::GetInput, device, report, length);
    }

    NotifyHandle RegisterInterfaceNotification(WindowHandle window, const Guid& classGuid) override
    {
        return Register({window, false, classGuid, 0});
    }
    NotifyHandle RegisterHandleNotification(WindowHandle window, SysHandle device) override
    {
        return Register({window, true, Guid{}, device});
    }
    std::int32_t UnregisterNotification(NotifyHandle notification) override { return notification != 0; }

    void SetLastError(std::uint32_t code) override { lastError = code; }

    // Handles as the test sees them, for the handle entries.
    SysHandle OpenDirectly(const std::u16string& path)
    {
        return OpenDevice(path.c_str(), kGenericRead | kGenericWrite, 3, kOpenExisting, 0);
    }
    [[nodiscard]] std::u16string PathOf(SysHandle handle) const
    {
        auto it = files_.find(handle);
        return it == files_.end() ? std::u16string() : it->second;
    }

private:
    std::uint32_t InterfaceCount(const Guid& classGuid) const
    {
        return static_cast<std::uint32_t>(classGuid == kHidGuid ? hid.size() : otherInterfaces.size());
    }

    FakeHid* Find(const char16_t* path)
    {
        for (FakeHid& d : hid)
            if (d.path == path)
                return &d;
        return nullptr;
    }

    const FakeHid* Held(SysHandle handle)
    {
        auto it = files_.find(handle);
        return it == files_.end() ? nullptr : Find(it->second.c_str());
    }

    bool Transfer(ReportCall kind, SysHandle handle, void* report, std::uint32_t length)
    {
        const FakeHid* d = Held(handle);
        const auto* bytes = static_cast<const std::uint8_t*>(report);
        transfers.push_back({kind, d ? d->path : u"", std::vector<std::uint8_t>(bytes, bytes + length), length});
        if (d == nullptr) {
            lastError = 6;  // ERROR_INVALID_HANDLE
            return false;
        }
        if (d->transferError != 0) {
            lastError = d->transferError;
            return false;
        }
        const std::vector<std::uint8_t>* answer =
            kind == ReportCall::GetFeature ? &d->feature : kind == ReportCall::GetInput ? &d->input : nullptr;
        if (answer != nullptr && !answer->empty())
            std::memcpy(report, answer->data(), std::min<std::size_t>(answer->size(), length));
        return true;
    }

    NotifyHandle Register(const RegistrationCall& call)
    {
        const std::size_t number = registrations.size();
        registrations.push_back(call);
        if (refusedRegistrations.count(number)) {
            lastError = 13;  // ERROR_INVALID_DATA
            return 0;
        }
        return nextNotification++;
    }

    std::uintptr_t nextId_ = 0x100;
    std::map<InfoSet, Guid> sets_;
    std::map<SysHandle, std::u16string> files_;
    std::map<PreparsedData, std::u16string> preparsed_;
};

}  // namespace cpk::devicelib::testing
