/* A helper library that bridge_dependent imports. It sits beside it in the
 * test folder, where the bridge must not look for a library's imports. */
#include <windows.h>

__declspec(dllexport) int __cdecl SideValue(void)
{
    return 7;
}
