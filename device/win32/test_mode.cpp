#include "test_mode.h"

namespace cpk {

void NotifyDevicesTestStart() {}
void NotifyDevicesTestStop() {}

}  // namespace cpk
