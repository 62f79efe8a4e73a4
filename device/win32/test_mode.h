// Test-mode commands to the maker's devices: the test-mode report with mode
// 4 at a test start and 8 at a stop, to every device the library finds, and
// on a refused send one error box with the system's text for the error.
#pragma once

namespace cpk {

void NotifyDevicesTestStart();
void NotifyDevicesTestStop();

}  // namespace cpk
