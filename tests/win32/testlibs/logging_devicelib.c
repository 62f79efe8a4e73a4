/* A stand-in device library for end-to-end runs of the whole tool: copied
 * into the Documents folder as resource.dll before the tool starts (the tool
 * uses a library it finds there as found), it pretends that some of the
 * maker's devices are present and appends one line per call to a log.
 *
 * Environment (inherited by the tool from whoever starts it):
 *   CPK_DEVICE_LOG      log file; default device-calls.log beside this DLL
 *   CPK_FAKE_DEVICES    number of devices present, 0 to 8; default 2
 *   CPK_FAKE_REFUSE     1-based number of the device that refuses every
 *                       report, with ERROR_GEN_FAILURE; default none
 *
 * Devices are named \\?\hid#logdev_1, \\?\hid#logdev_2, ... Log lines:
 *   find <vid> <pid> <usage page> <usage> <index> -> <count>
 *   set <path> <length> <report bytes in hex> -> <0|1>
 *   register
 * with the numbers in hexadecimal (vid, pid, page, usage) or decimal. */
#include <windows.h>

#include <stdint.h>

static HMODULE self;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        self = instance;
    return TRUE;
}

static int EnvNumber(const wchar_t* name, int fallback)
{
    wchar_t text[16];
    DWORD n = GetEnvironmentVariableW(name, text, 16);
    if (n == 0 || n >= 16)
        return fallback;
    int value = 0;
    for (DWORD i = 0; i < n; ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return fallback;
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

static void Log(const char* line)
{
    wchar_t path[MAX_PATH + 32];
    DWORD n = GetEnvironmentVariableW(L"CPK_DEVICE_LOG", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        n = GetModuleFileNameW(self, path, MAX_PATH);
        while (n > 0 && path[n - 1] != L'\\' && path[n - 1] != L'/')
            --n;
        lstrcpyW(path + n, L"device-calls.log");
    }
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
}

static int DeviceCount(void)
{
    int count = EnvNumber(L"CPK_FAKE_DEVICES", 2);
    return count > 8 ? 8 : count;
}

static void DevicePath(int number, wchar_t* out)
{
    wsprintfW(out, L"\\\\?\\hid#logdev_%d", number);
}

__declspec(dllexport) int32_t __cdecl GetHidDeviceFromCustomHidList(uint16_t vendorId, uint16_t productId,
                                                                   uint16_t usagePage, uint16_t usage, int32_t index,
                                                                   wchar_t* path)
{
    const int count = DeviceCount();
    if (index >= 0 && index < count && path)
        DevicePath(index + 1, path);
    char line[128];
    wsprintfA(line, "find %04x %04x %04x %04x %d -> %d", vendorId, productId, usagePage, usage, index, count);
    Log(line);
    return count;
}

__declspec(dllexport) uint8_t __cdecl HidSetFeatureReport(const wchar_t* path, const uint8_t* report, uint32_t length)
{
    const int refuse = EnvNumber(L"CPK_FAKE_REFUSE", 0);
    wchar_t refused[64] = L"";
    if (refuse > 0)
        DevicePath(refuse, refused);
    const uint8_t ok = !(refuse > 0 && path && lstrcmpW(path, refused) == 0);

    char line[400];
    int at = wsprintfA(line, "set %ls %u ", path ? path : L"(null)", length);
    for (uint32_t i = 0; i < length && i < 128 && report; ++i)
        at += wsprintfA(line + at, "%02x", report[i]);
    wsprintfA(line + at, " -> %d", ok);
    Log(line);

    if (!ok)
        SetLastError(ERROR_GEN_FAILURE);
    return ok;
}

__declspec(dllexport) HANDLE __cdecl RegisterDeviceNotification_ArrivalRemove(HWND window)
{
    (void)window;
    Log("register");
    return (HANDLE)(uintptr_t)1;
}
