/* A device library that imports from bridge_side.dll beside it. The bridge
 * loads a library's imports from the system folder only, so this one must
 * fail to load through it. */
#include <windows.h>

#include <stdint.h>

__declspec(dllimport) int __cdecl SideValue(void);

__declspec(dllexport) int32_t __cdecl GetHidDeviceFromCustomHidList(uint16_t vendorId, uint16_t productId,
                                                                   uint16_t usagePage, uint16_t usage, int32_t index,
                                                                   wchar_t* path)
{
    (void)vendorId;
    (void)productId;
    (void)usagePage;
    (void)usage;
    (void)index;
    (void)path;
    return SideValue();
}
