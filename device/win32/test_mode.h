// Test-mode commands to the maker's devices.
#pragma once

namespace cpk {

void NotifyDevicesTestStart();
void NotifyDevicesTestStop();

}  // namespace cpk
