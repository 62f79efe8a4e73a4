#include "bridge.h"

#include "unique_handle.h"

namespace cpk {

namespace {

// Entry types: the C calling convention, arguments as the library declares
// them. Boolean results are read as one byte, the only part defined.
using InitialEntry = void(__cdecl*)(HWND);
using CloseQueryEntry = void(__cdecl*)();
using FindEntry = std::int32_t(__cdecl*)(std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t, std::int32_t,
                                          wchar_t*);
using SetFeatureEntry = unsigned char(__cdecl*)(const wchar_t*, const std::uint8_t*, std::uint32_t);
using RegisterEntry = HANDLE(__cdecl*)(HWND);

// The one library module of the process, null while not loaded.
UniqueModule& Library()
{
    static UniqueModule library;
    return library;
}

// Puts the thread's last-error code back as it was, so that the bridge's own
// calls (a failed load, a missing entry) leave no trace in it.
class LastErrorKeeper {
public:
    LastErrorKeeper() noexcept : saved_(GetLastError()) {}
    ~LastErrorKeeper() { SetLastError(saved_); }
    LastErrorKeeper(const LastErrorKeeper&) = delete;
    LastErrorKeeper& operator=(const LastErrorKeeper&) = delete;

private:
    DWORD saved_;
};

// The entry's address in the loaded library, or null; asked afresh at every
// call and not kept.
template <typename Entry>
Entry FindEntryPoint(const char* name)
{
    if (!Library())
        return nullptr;
    LastErrorKeeper keep;
    const FARPROC address = GetProcAddress(Library().get(), name);
    // Through the generic function type, which converts to every other.
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(address));
}

}  // namespace

void LoadDeviceLibrary(const std::wstring& libraryPath)
{
    if (Library())
        return;
    LastErrorKeeper keep;
    // The library's own dependencies may come from the system folder only:
    // the Documents folder it lives in, and the working folder, are writable
    // by anyone who can plant a DLL there.
    Library().reset(LoadLibraryExW(libraryPath.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

void FreeDeviceLibrary()
{
    LastErrorKeeper keep;
    Library().reset();
}

bool IsDeviceLibraryLoaded()
{
    return static_cast<bool>(Library());
}

void CallInitial(HWND window)
{
    if (const auto entry = FindEntryPoint<InitialEntry>("Initial"))
        entry(window);
}

void CallCloseQuery()
{
    if (const auto entry = FindEntryPoint<CloseQueryEntry>("CloseQuery"))
        entry();
}

void OpenDeviceLibrary(HWND window, const std::wstring& libraryPath)
{
    LoadDeviceLibrary(libraryPath);
    CallInitial(window);
}

void CloseDeviceLibrary()
{
    CallCloseQuery();
    FreeDeviceLibrary();
}

std::int32_t FindCustomHidDevice(std::uint16_t vendorId, std::uint16_t productId, std::uint16_t usagePage,
                                 std::uint16_t usage, std::int32_t index, wchar_t* pathBuffer)
{
    const auto entry = FindEntryPoint<FindEntry>("GetHidDeviceFromCustomHidList");
    if (!entry)
        return -1;
    return entry(vendorId, productId, usagePage, usage, index, pathBuffer);
}

bool SetDeviceFeatureReport(const wchar_t* path, const std::uint8_t* data, std::uint32_t length)
{
    const auto entry = FindEntryPoint<SetFeatureEntry>("HidSetFeatureReport");
    if (!entry)
        return false;
    return (entry(path, data, length) & 0xFFu) != 0;
}

void RegisterDeviceArrivalNotification(HWND window)
{
    if (const auto entry = FindEntryPoint<RegisterEntry>("RegisterDeviceNotification_ArrivalRemove"))
        (void)entry(window);
}

}  // namespace cpk
