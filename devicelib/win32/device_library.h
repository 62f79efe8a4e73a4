/* The entries of the device library resource.dll.
 *
 * Every entry is a plain C function (__cdecl), exported under its own name
 * without decoration, keeps no state between calls, raises nothing and shows
 * nothing. Boolean results are one byte (DEVLIB_BOOL8): non-zero is success;
 * only those 8 bits are defined. After a failure the thread's last-error
 * code is the one the failing system call left (closing a device after a
 * failed transfer does not change it); where an entry rejects an argument
 * itself (a null path or buffer) it sets ERROR_INVALID_PARAMETER, and when
 * memory runs out ERROR_NOT_ENOUGH_MEMORY.
 *
 * Strings are zero-terminated UTF-16. No entry takes an output buffer
 * length: every string an entry writes is cut to DEVLIB_TEXT_LIMIT units
 * including the terminator, so a buffer of DEVLIB_TEXT_LIMIT wchar_t is
 * never overrun. A null output pointer is never written through.
 *
 * List entries follow the count-and-index protocol: each call enumerates
 * afresh and returns the number of matches; with a negative index nothing
 * else happens; with an index from 0 to count - 1 the index-th match is also
 * written; with an index at or past the count the outputs are left as they
 * were. A list that cannot be enumerated counts 0.
 *
 * In the HID selections, 0 in the vendor ID, product ID, usage page or usage
 * matches every device.
 */
#ifndef CPK_DEVICE_LIBRARY_H
#define CPK_DEVICE_LIBRARY_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define DEVLIB_TEXT_LIMIT 1024
#define DEVLIB_API __cdecl
typedef unsigned char DEVLIB_BOOL8;

/* ---- HID device lists ---- */

/* Paths of the HID interfaces matching the selection; path may be null when
 * the index is negative. */
INT32 DEVLIB_API GetHidDeviceFromCustomHidList(WORD vendorId, WORD productId, WORD usagePage, WORD usage,
                                               INT32 index, WCHAR* path);
/* As above, but usage page and usage are compared as 32-bit values: one
 * above 0xFFFF matches no device. */
INT32 DEVLIB_API GetHidDeviceName(WORD vendorId, WORD productId, DWORD usagePage, DWORD usage, INT32 index,
                                  WCHAR* path);
/* The same function as GetHidDeviceName under a second name. */
INT32 DEVLIB_API xEnumHidDevice(WORD vendorId, WORD productId, DWORD usagePage, DWORD usage, INT32 index,
                                WCHAR* path);
/* Devices whose top-level collection has usage page 0xFFA0 and usage 0xA5. */
INT32 DEVLIB_API GetHidDeviceFromHidList(WORD vendorId, WORD productId, INT32 index, WCHAR* path);
/* Every present HID interface, opened or not; the first two arguments are
 * not used. */
INT32 DEVLIB_API GetUSBDeviceInterfacePath(DWORD unused1, DWORD unused2, INT32 index, WCHAR* path);

/* ---- HID device identification ---- */

/* Vendor and product ID, usage page and usage of the device; each output may
 * be null; nothing is written on failure. */
DEVLIB_BOOL8 DEVLIB_API GetHidIDs(const WCHAR* path, WORD* vendorId, WORD* productId, WORD* usagePage,
                                  WORD* usage);
/* True when the path names a HID interface (the class GUID in lower case)
 * whose top-level collection has usage page 0xFFA0 and usage 0xA5. */
DEVLIB_BOOL8 DEVLIB_API isID4Device(const WCHAR* path);
/* The hexadecimal digits after the first "pid_" (letter case ignored), at
 * most four; without "pid_", those from the fourth character on. Never
 * fails; 0 when there are none. Leaves the last-error code alone. */
WORD DEVLIB_API GetPID_OfID4Path(const WCHAR* path);

/* ---- HID report transfer ---- */

/* Open the path for reading and writing, make one transfer, close. The
 * report's byte 0 is its report ID; length counts the whole buffer. */
DEVLIB_BOOL8 DEVLIB_API HidSetFeatureReport(const WCHAR* path, BYTE* report, DWORD length);
DEVLIB_BOOL8 DEVLIB_API HidGetFeatureReport(const WCHAR* path, BYTE* report, DWORD length);
DEVLIB_BOOL8 DEVLIB_API HidSetOutputReport(const WCHAR* path, BYTE* report, DWORD length);
/* One transfer on a handle the caller holds and closes. */
DEVLIB_BOOL8 DEVLIB_API xHidD_SetFeature(HANDLE device, BYTE* report, DWORD length);
DEVLIB_BOOL8 DEVLIB_API xHidD_GetFeature(HANDLE device, BYTE* report, DWORD length);
DEVLIB_BOOL8 DEVLIB_API xHidD_SetOutputReport(HANDLE device, BYTE* report, DWORD length);
/* Reads an input report. */
DEVLIB_BOOL8 DEVLIB_API xHidD_GetOutputReport(HANDLE device, BYTE* report, DWORD length);
/* The index-th interface of the class, opened overlapped for reading and
 * writing; null (not INVALID_HANDLE_VALUE) on failure. The caller closes it. */
HANDLE DEVLIB_API GetDeviceViaInterfaceGUID(const GUID* interfaceClass, DWORD index);

/* ---- Device notifications ---- */

/* Registers the window for arrivals and removals of USB devices, HID
 * interfaces, mice and keyboards; returns the keyboard registration's handle
 * (null when that one failed). The other three stay until the window goes. */
HANDLE DEVLIB_API RegisterDeviceNotification_ArrivalRemove(HWND window);
/* Tells the window when the open device is about to be removed. */
HANDLE DEVLIB_API RegisterDeviceNotification_QueryRemove(HWND window, HANDLE device);
/* UnregisterDeviceNotification's result. */
BOOL DEVLIB_API UnregisterDeviceNotification_ArrivalRemove(HANDLE notification);

/* ---- USB hub tree and ports ----
 * A hub name is given and written without the "\\.\" prefix; a port is the
 * 1-based connection index. Vendor and product ID 0 match every device. */

/* Devices (not hubs) on hub ports: hub name and port of the index-th. */
INT32 DEVLIB_API GetUsbDeviceFromHub(WORD vendorId, WORD productId, INT32 index, WCHAR* hubName, DWORD* port);
DEVLIB_BOOL8 DEVLIB_API isDeviceExist(const WCHAR* hubName, DWORD port);
DEVLIB_BOOL8 DEVLIB_API GetUsbDeviceVIDPIDFromHub(const WCHAR* hubName, DWORD port, WORD* vendorId,
                                                  WORD* productId);
DEVLIB_BOOL8 DEVLIB_API GetUsbDeviceVIDPIDSNFromHub(const WCHAR* hubName, DWORD port, WORD* vendorId,
                                                    WORD* productId, WORD* releaseNumber);
/* A standard GET_DESCRIPTOR request to the device on the port. Read copies
 * length bytes (zero where the device sent less), ReadEx the bytes received
 * and their count, Write nothing. */
DEVLIB_BOOL8 DEVLIB_API Read(const WCHAR* hubName, DWORD port, WORD value, WORD index, WORD length, BYTE* data);
DEVLIB_BOOL8 DEVLIB_API ReadEx(const WCHAR* hubName, DWORD port, WORD value, WORD index, WORD length, BYTE* data,
                               WORD* received);
DEVLIB_BOOL8 DEVLIB_API Write(const WCHAR* hubName, DWORD port, WORD value, WORD index, WORD length);

/* ---- HID device to USB port ---- */

DEVLIB_BOOL8 DEVLIB_API GetUsbDeviceFromHidDevice(const WCHAR* path, WCHAR* hubName, DWORD* port);
INT32 DEVLIB_API GetUsbDeviceFromHidList(WORD vendorId, WORD productId, INT32 index, WCHAR* hubName, DWORD* port);

/* ---- USB device restart ---- */

/* Restarts the first present USB device with the IDs through its class
 * installer; false when none matches or the system wants a restart. */
DEVLIB_BOOL8 DEVLIB_API UsbReset(WORD vendorId, WORD productId);

#ifdef __cplusplus
}
#endif

#endif
