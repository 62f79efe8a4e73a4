// The program's only way into the device library. The bridge owns the one
// library module of the process, finds each entry by name at each call and
// turns a missing library or entry into a fixed, harmless result. It never
// changes the thread's last-error code itself: after a failed
// SetDeviceFeatureReport the code is the one the library left.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace cpk {

// LoadDeviceLibrary, then CallInitial.
void OpenDeviceLibrary(HWND window, const std::wstring& libraryPath);
// CallCloseQuery, then FreeDeviceLibrary.
void CloseDeviceLibrary();

// Loads the library once per process; its own imports come from the system
// folder only, never from the library's or the working folder.
void LoadDeviceLibrary(const std::wstring& libraryPath);
void FreeDeviceLibrary();
[[nodiscard]] bool IsDeviceLibraryLoaded();

void CallInitial(HWND window);
void CallCloseQuery();

// "GetHidDeviceFromCustomHidList": the library's count, or -1 without the
// library or the entry.
[[nodiscard]] std::int32_t FindCustomHidDevice(std::uint16_t vendorId, std::uint16_t productId,
                                               std::uint16_t usagePage, std::uint16_t usage, std::int32_t index,
                                               wchar_t* pathBuffer);
// "HidSetFeatureReport": true when the low byte of the library's result is
// non-zero; false without the library or the entry.
[[nodiscard]] bool SetDeviceFeatureReport(const wchar_t* path, const std::uint8_t* data, std::uint32_t length);
// "RegisterDeviceNotification_ArrivalRemove"; the result is not kept.
void RegisterDeviceArrivalNotification(HWND window);

}  // namespace cpk
