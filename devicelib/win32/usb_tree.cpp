// USB hub tree, HID-to-port mapping and USB restart entries. Not yet
// implemented: each fails with ERROR_CALL_NOT_IMPLEMENTED, a list counts 0,
// and no output is written.
#include "device_library.h"

namespace {

DEVLIB_BOOL8 NotImplemented()
{
    SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
    return 0;
}

}  // namespace

extern "C" {

INT32 DEVLIB_API GetUsbDeviceFromHub(WORD, WORD, INT32, WCHAR*, DWORD*) { return NotImplemented(); }
DEVLIB_BOOL8 DEVLIB_API isDeviceExist(const WCHAR*, DWORD) { return NotImplemented(); }
DEVLIB_BOOL8 DEVLIB_API GetUsbDeviceVIDPIDFromHub(const WCHAR*, DWORD, WORD*, WORD*) { return NotImplemented(); }
DEVLIB_BOOL8 DEVLIB_API GetUsbDeviceVIDPIDSNFromHub(const WCHAR*, DWORD, WORD*, WORD*, WORD*) { return NotImplemented(); }
DEVLIB_BOOL8 DEVLIB_API Read(const WCHAR*, DWORD, WORD, WORD, WORD, BYTE*) { return NotImplemented(); }
DEVLIB_BOOL8 DEVLIB_API ReadEx(const WCHAR*, DWORD, WORD, WORD, WORD, BYTE*, WORD*) { return NotImplemented(); }
DEVLIB_BOOL8 DEVLIB_API Write(const WCHAR*, DWORD, WORD, WORD, WORD) { return NotImplemented(); }
DEVLIB_BOOL8 DEVLIB_API GetUsbDeviceFromHidDevice(const WCHAR*, WCHAR*, DWORD*) { return NotImplemented(); }
INT32 DEVLIB_API GetUsbDeviceFromHidList(WORD, WORD, INT32, WCHAR*, DWORD*) { return NotImplemented(); }
DEVLIB_BOOL8 DEVLIB_API UsbReset(WORD, WORD) { return NotImplemented(); }

}  // extern "C"
