// The real system-call table: setup services, HID library, kernel and
// device-notification calls of Windows.
#pragma once

#include "system_calls.h"

#include <windows.h>

namespace cpk::devicelib {

// One stateless table for the whole library.
[[nodiscard]] SystemCalls& WindowsSystem();

[[nodiscard]] inline GUID ToWindowsGuid(const Guid& g)
{
    GUID w;
    static_assert(sizeof w == sizeof g);
    w.Data1 = g.data1;
    w.Data2 = g.data2;
    w.Data3 = g.data3;
    for (int i = 0; i < 8; ++i)
        w.Data4[i] = g.data4[i];
    return w;
}

[[nodiscard]] inline Guid FromWindowsGuid(const GUID& w)
{
    Guid g;
    g.data1 = w.Data1;
    g.data2 = w.Data2;
    g.data3 = w.Data3;
    for (int i = 0; i < 8; ++i)
        g.data4[i] = w.Data4[i];
    return g;
}

[[nodiscard]] inline SysHandle FromHandle(HANDLE h) { return reinterpret_cast<SysHandle>(h); }
[[nodiscard]] inline HANDLE ToHandle(SysHandle h) { return reinterpret_cast<HANDLE>(h); }

}  // namespace cpk::devicelib
