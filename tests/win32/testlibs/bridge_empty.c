/* A library that loads but exports none of the entries the bridge calls. */
#include <windows.h>

__declspec(dllexport) int __cdecl UnrelatedEntry(void)
{
    return 42;
}
