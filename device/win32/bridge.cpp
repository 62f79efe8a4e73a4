#include "bridge.h"

namespace cpk {

// Not loaded yet: every call gives its missing-result.
void OpenDeviceLibrary(HWND, const std::wstring&) {}
void CloseDeviceLibrary() {}
void RegisterDeviceArrivalNotification(HWND) {}

}  // namespace cpk
