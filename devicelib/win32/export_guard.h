// The guard every exported entry of resource.dll runs its body under. No
// exception may cross the DLL boundary; what the bodies can throw is running
// out of memory, so any exception becomes the entry's failure value with
// ERROR_NOT_ENOUGH_MEMORY as the last error.
#pragma once

#include <windows.h>

namespace cpk::devicelib {

template <typename Result, typename Body>
Result Guarded(Result failure, Body&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return failure;
    }
}

}  // namespace cpk::devicelib
