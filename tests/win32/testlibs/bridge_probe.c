/* A stand-in device library for the bridge tests: it exports the five
 * entries the bridge calls, including "Initial" and "CloseQuery", records
 * every call, and answers as the test sets it up through the Probe* entries
 * (which the bridge never calls). */
#include <windows.h>

#include <stdint.h>

static volatile LONG initialCalls;
static volatile LONG closeQueryCalls;
static HWND initialWindow;
static HWND registeredWindow;

static int32_t findCount;
static const wchar_t* findPaths[8];
static volatile LONG findCalls;
static uint16_t findArgs[4];
static int32_t findIndex;

static uint32_t setResult = 1;
static DWORD setError;
static DWORD setFailures = 0;  /* bit i: the i-th distinct path refuses */
static volatile LONG setCalls;
static wchar_t setPaths[8][128];
static uint8_t setReports[8][72];
static uint32_t setLengths[8];

__declspec(dllexport) void __cdecl Initial(HWND window)
{
    InterlockedIncrement(&initialCalls);
    initialWindow = window;
}

__declspec(dllexport) void __cdecl CloseQuery(void)
{
    InterlockedIncrement(&closeQueryCalls);
}

__declspec(dllexport) int32_t __cdecl GetHidDeviceFromCustomHidList(uint16_t vendorId, uint16_t productId,
                                                                   uint16_t usagePage, uint16_t usage, int32_t index,
                                                                   wchar_t* path)
{
    InterlockedIncrement(&findCalls);
    findArgs[0] = vendorId;
    findArgs[1] = productId;
    findArgs[2] = usagePage;
    findArgs[3] = usage;
    findIndex = index;
    if (index >= 0 && index < findCount && index < 8 && findPaths[index] && path)
        lstrcpyW(path, findPaths[index]);
    return findCount;
}

/* Returns the full 32-bit value the test chose: only its low byte counts. */
__declspec(dllexport) uint32_t __cdecl HidSetFeatureReport(const wchar_t* path, const uint8_t* report, uint32_t length)
{
    LONG n = InterlockedIncrement(&setCalls) - 1;
    if (n < 8) {
        lstrcpynW(setPaths[n], path, 128);
        setLengths[n] = length;
        CopyMemory(setReports[n], report, length < 72 ? length : 72);
    }
    if (n < 32 && (setFailures & (1u << n))) {
        SetLastError(setError);
        return 0;
    }
    if (setResult == 0 || (setResult & 0xFF) == 0)
        SetLastError(setError);
    return setResult;
}

__declspec(dllexport) HANDLE __cdecl RegisterDeviceNotification_ArrivalRemove(HWND window)
{
    registeredWindow = window;
    return (HANDLE)(uintptr_t)0x4321;
}

/* ---- set-up and inspection, for the tests only ---- */

__declspec(dllexport) void __cdecl ProbeReset(void)
{
    initialCalls = closeQueryCalls = findCalls = setCalls = 0;
    initialWindow = registeredWindow = NULL;
    findCount = 0;
    ZeroMemory((void*)findPaths, sizeof findPaths);
    setResult = 1;
    setError = 0;
    setFailures = 0;
}

__declspec(dllexport) void __cdecl ProbeSetDevices(int32_t count, const wchar_t* const* paths, int32_t pathCount)
{
    findCount = count;
    for (int32_t i = 0; i < 8; ++i)
        findPaths[i] = i < pathCount ? paths[i] : NULL;
}

__declspec(dllexport) void __cdecl ProbeSetFeatureResult(uint32_t result, DWORD error, DWORD failingSends)
{
    setResult = result;
    setError = error;
    setFailures = failingSends;
}

__declspec(dllexport) LONG __cdecl ProbeInitialCalls(void) { return initialCalls; }
__declspec(dllexport) LONG __cdecl ProbeCloseQueryCalls(void) { return closeQueryCalls; }
__declspec(dllexport) HWND __cdecl ProbeInitialWindow(void) { return initialWindow; }
__declspec(dllexport) HWND __cdecl ProbeRegisteredWindow(void) { return registeredWindow; }
__declspec(dllexport) LONG __cdecl ProbeFindCalls(void) { return findCalls; }
__declspec(dllexport) const uint16_t* __cdecl ProbeFindArgs(void) { return findArgs; }
__declspec(dllexport) LONG __cdecl ProbeSetCalls(void) { return setCalls; }
__declspec(dllexport) const wchar_t* __cdecl ProbeSetPath(int32_t n) { return setPaths[n]; }
__declspec(dllexport) const uint8_t* __cdecl ProbeSetReport(int32_t n) { return setReports[n]; }
__declspec(dllexport) uint32_t __cdecl ProbeSetLength(int32_t n) { return setLengths[n]; }
