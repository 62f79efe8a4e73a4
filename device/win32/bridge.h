// The program's only way into the device library.
#pragma once

#include <windows.h>

#include <string>

namespace cpk {

void OpenDeviceLibrary(HWND window, const std::wstring& libraryPath);
void CloseDeviceLibrary();
void RegisterDeviceArrivalNotification(HWND window);

}  // namespace cpk
